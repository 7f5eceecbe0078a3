"""Small RTF writer for the built-in document templates.

The program fills these templates line by line: a placeholder such as [NUME] must stand
whole inside one line of the file, the header must end where the first "\\pard" begins,
and the last line of the file must end with the document's closing brace. This writer
keeps those rules by construction: every paragraph and every table row is one line, the
header never contains "\\pard", and text is escaped so that only our own braces count.
Text is Windows-1250 (declared with \\ansicpg1250 and Eastern European fonts); letters
outside the ASCII range are written as \\'hh escapes of that code page.
"""

import re

# Windows-1250 has only the cedilla forms of S and T; the comma-below letters typed on
# modern keyboards are written as those.
_COMMA_TO_CEDILLA = str.maketrans({"\u0218": "\u015e", "\u0219": "\u015f",
                                   "\u021a": "\u0162", "\u021b": "\u0163"})

TWIPS_PER_CM = 567


def esc(text):
    """Escapes plain text for RTF in Windows-1250. Brackets pass unchanged."""
    out = []
    for ch in text.translate(_COMMA_TO_CEDILLA):
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append("\\tab ")
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1250")[0])
            except UnicodeEncodeError:
                # A sign outside the code page (the check box): a Unicode escape with
                # "?" for readers that do not know it.
                code = ord(ch)
                out.append("\\u%d?" % (code - 65536 if code > 32767 else code))
    return "".join(out)


_MARKUP = re.compile(r"(\*\*.+?\*\*|\+\+.+?\+\+|~~.+?~~)")


def rich(text):
    """Escapes text with light markup: **bold**, ++underlined++, ~~italic~~."""
    parts = []
    for piece in _MARKUP.split(text):
        if not piece:
            continue
        if piece.startswith("**"):
            parts.append("{\\b " + rich(piece[2:-2]) + "}")
        elif piece.startswith("++"):
            parts.append("{\\ul " + rich(piece[2:-2]) + "}")
        elif piece.startswith("~~"):
            parts.append("{\\i " + rich(piece[2:-2]) + "}")
        else:
            parts.append(esc(piece))
    return "".join(parts)


class Document:
    """One RTF template. Paragraph and table methods append one line each."""

    def __init__(self, title, font="Times New Roman", size=12,
                 margins_cm=(2.5, 1.5, 1.5, 1.5)):
        self.title = title
        self.size = size
        self.font_index = 0 if font == "Times New Roman" else 1
        self.margins = margins_cm  # left, right, top, bottom
        self.lines = []

    # ----- paragraphs -------------------------------------------------------------
    def par(self, text="", align="j", bold=False, size=None, sb=0, sa=80,
            li=0.0, fi=0.0, keepn=False, tabs=None, caps=False):
        size = size or self.size
        fmt = ["\\pard\\plain\\q" + align,
               "\\sb%d\\sa%d" % (sb, sa)]
        if li:
            fmt.append("\\li%d" % round(li * TWIPS_PER_CM))
        if fi:
            fmt.append("\\fi%d" % round(fi * TWIPS_PER_CM))
        if keepn:
            fmt.append("\\keepn")
        for kind, pos in tabs or []:
            fmt.append("\\tq%s\\tx%d" % (kind, round(pos * TWIPS_PER_CM)) if kind != "l"
                       else "\\tx%d" % round(pos * TWIPS_PER_CM))
        fmt.append("\\f%d\\fs%d" % (self.font_index, size * 2))
        if bold:
            fmt.append("\\b")
        if caps:
            fmt.append("\\caps")
        self.lines.append("".join(fmt) + " " + rich(text) + "\\par")

    def raw(self, line):
        """A line of RTF written as given (used for the hidden marker)."""
        self.lines.append(line)

    def blank(self, n=1):
        for _ in range(n):
            self.par("", sa=0)

    def signatures(self, left, right, sb=360):
        """Two signature blocks side by side: lists of lines for each column."""
        width = self.text_width_cm()
        tabs = [("c", width * 0.25), ("c", width * 0.75)]
        for i in range(max(len(left), len(right))):
            a = left[i] if i < len(left) else ""
            b = right[i] if i < len(right) else ""
            self.par("\t" + a + "\t" + b, align="l", tabs=tabs, sb=sb if i == 0 else 0,
                     sa=0, bold=(i == 0))

    def text_width_cm(self):
        return 21.0 - self.margins[0] - self.margins[1]

    # ----- tables -----------------------------------------------------------------
    def row(self, cells, widths_cm, bold=False, header=False, size=None, borders=True,
            align=None):
        """One table row. cells: texts; widths_cm: column widths; align: per cell."""
        size = size or self.size
        parts = ["\\trowd\\trgaph70\\trleft0\\trqc"]
        if header:
            parts.append("\\trhdr")
        parts.append("\\trkeep")
        pos = 0.0
        for w in widths_cm:
            pos += w
            if borders:
                parts.append("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                             "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10")
            if header:
                parts.append("\\clcbpat2")
            parts.append("\\clvertalc\\cellx%d" % round(pos * TWIPS_PER_CM))
        line = "".join(parts)
        for i, text in enumerate(cells):
            a = (align[i] if align else ("c" if header else "l"))
            line += "\\pard\\plain\\intbl\\q%s\\f%d\\fs%d%s %s\\cell" % (
                a, self.font_index, size * 2, "\\b" if (bold or header) else "", rich(text))
        line += "\\pard\\plain\\intbl\\row"
        self.lines.append(line)

    # ----- output -----------------------------------------------------------------
    def header(self):
        left, right, top, bottom = (round(m * TWIPS_PER_CM) for m in self.margins)
        return [
            "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1048\\deflangfe1048",
            "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset238 Times New Roman;}"
            "{\\f1\\fswiss\\fprq2\\fcharset238 Arial;}}",
            "{\\colortbl;\\red0\\green0\\blue0;\\red230\\green230\\blue230;}",
            "{\\info{\\title " + esc(self.title) + "}}",
            "\\paperw11906\\paperh16838\\margl%d\\margr%d\\margt%d\\margb%d"
            "\\widowctrl\\ftnbj\\fet0\\formshade" % (left, right, top, bottom),
            "\\sectd\\pgwsxn11906\\pghsxn16838\\marglsxn%d\\margrsxn%d\\margtsxn%d"
            "\\margbsxn%d\\sbknone" % (left, right, top, bottom),
        ]

    def render(self):
        """The file's bytes: ASCII lines ended by CR LF; the last line closes the document."""
        body = list(self.lines)
        body[-1] = body[-1] + "}"
        text = "\r\n".join(self.header() + body) + "\r\n"
        assert "\\pard" not in "".join(self.header())
        return text.encode("ascii")

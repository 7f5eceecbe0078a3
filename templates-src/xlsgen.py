"""Writes the workbook templates as flat OpenDocument spreadsheets (.fods), which
LibreOffice then saves as Excel 97-2003 workbooks.

A sheet is described cell by cell in the Excel way (A1 references, formulas such as
"=SUM(E5:E5)"); this module turns that into the XML that LibreOffice reads: named cell
styles, column widths, row heights, merged areas, repeated title rows, A4 page setup
(portrait or landscape, fitted to the page width) and a page-number footer.
"""

import re
from xml.sax.saxutils import escape, quoteattr


def col_index(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n


def split_ref(ref):
    m = re.fullmatch(r"([A-Z]+)([0-9]+)", ref)
    return int(m.group(2)), col_index(m.group(1))


def col_letters(n):
    s = ""
    while n:
        n, r = divmod(n - 1, 26)
        s = chr(65 + r) + s
    return s


# Cell styles: name -> (bold, size, horizontal align, wrap, border, background, number format)
STYLES = {
    "text":   (False, 10, None, False, False, None, None),
    "wrap":   (False, 10, "justify", True, False, None, None),
    "bold":   (True, 10, None, False, False, None, None),
    "center": (False, 10, "center", True, False, None, None),
    "bcenter": (True, 10, "center", True, False, None, None),
    "title":  (True, 13, "center", True, False, None, None),
    "right":  (False, 10, "end", False, False, None, None),
    "hdr":    (True, 9, "center", True, True, "#d9d9d9", None),
    "hnum":   (False, 8, "center", False, True, "#f2f2f2", None),
    "cell":   (False, 9, None, True, True, None, None),
    "ccell":  (False, 9, "center", False, True, None, None),
    "num":    (False, 9, "end", False, True, None, "N2"),
    "int":    (False, 9, "center", False, True, None, "N0"),
    "date":   (False, 9, "center", False, True, None, "D1"),
    "tnum":   (True, 9, "end", False, True, "#f2f2f2", "N2"),
    "tint":   (True, 9, "center", False, True, "#f2f2f2", "N0"),
    "tlabel": (True, 9, "center", False, True, "#f2f2f2", None),
    "shade":  (False, 9, "center", False, True, "#bfbfbf", None),
    "marker": (False, 8, None, False, False, None, None),
    "today":  (False, 10, "start", False, False, None, "D1"),
    "sig":    (True, 10, "center", False, False, None, None),
    "signame": (False, 10, "center", False, False, None, None),
}


class Sheet:
    def __init__(self, name, landscape=False, widths=None, title_rows=None,
                 default_height=None):
        self.name = name
        self.landscape = landscape
        self.widths = widths or {}  # column letters -> cm
        self.title_rows = title_rows  # (first, last) rows repeated on every page
        self.cells = {}  # (row, col) -> (value, style, colspan, rowspan)
        self.heights = {}  # row -> cm
        self.default_height = default_height

    def set(self, ref, value, style="text", span=None, height=None):
        """Writes a cell. value: text, number, or a formula beginning with "=".
        span: the last cell of a merged area starting here (e.g. "D2")."""
        row, col = split_ref(ref)
        colspan = rowspan = 1
        if span:
            r2, c2 = split_ref(span)
            rowspan, colspan = r2 - row + 1, c2 - col + 1
        self.cells[(row, col)] = (value, style, colspan, rowspan)
        if height:
            self.heights[row] = height

    def row(self, ref, values, style="text"):
        """Writes values in consecutive cells of one row, starting at ref."""
        row, col = split_ref(ref)
        for i, v in enumerate(values):
            if v is not None:
                self.set(col_letters(col + i) + str(row), v, style)

    def height(self, row, cm):
        self.heights[row] = cm

    def value(self, ref):
        v = self.cells.get(split_ref(ref))
        return v[0] if v else None


class Workbook:
    def __init__(self, sheets):
        self.sheets = sheets

    def render(self):
        out = [_HEAD, "<office:automatic-styles>", _NUMBER_STYLES]
        for name, (bold, size, align, wrap, border, bg, fmt) in STYLES.items():
            attrs = ' style:data-style-name="%s"' % fmt if fmt else ""
            cell = ['style:vertical-align="middle"']
            if wrap:
                cell.append('fo:wrap-option="wrap"')
            if border:
                cell.append('fo:border="0.5pt solid #000000"')
            if bg:
                cell.append('fo:background-color="%s"' % bg)
            color = ' fo:color="#808080"' if name == "marker" else ""
            out.append('<style:style style:name="ce_%s" style:family="table-cell" '
                       'style:parent-style-name="Default"%s>'
                       '<style:table-cell-properties %s/>%s'
                       '<style:text-properties fo:font-size="%dpt" fo:font-weight="%s"%s/>'
                       '</style:style>' % (
                           name, attrs, " ".join(cell),
                           '<style:paragraph-properties fo:text-align="%s"/>' % align
                           if align else "",
                           size, "bold" if bold else "normal", color))
        widths = set()
        heights = set()
        for s in self.sheets:
            widths.update(s.widths.values())
            heights.update(s.heights.values())
            if s.default_height:
                heights.add(s.default_height)
        widths.add(2.26)
        for w in sorted(widths):
            out.append('<style:style style:name="co%s" style:family="table-column">'
                       '<style:table-column-properties fo:break-before="auto" '
                       'style:column-width="%.2fcm"/></style:style>' % (_key(w), w))
        for h in sorted(heights):
            out.append('<style:style style:name="ro%s" style:family="table-row">'
                       '<style:table-row-properties style:row-height="%.2fcm" '
                       'style:use-optimal-row-height="false" fo:break-before="auto"/>'
                       '</style:style>' % (_key(h), h))
        out.append('<style:style style:name="roauto" style:family="table-row">'
                   '<style:table-row-properties style:use-optimal-row-height="true" '
                   'fo:break-before="auto"/></style:style>')
        for orient in ("Portrait", "Landscape"):
            out.append('<style:style style:name="ta%s" style:family="table" '
                       'style:master-page-name="%s"><style:table-properties '
                       'table:display="true" style:writing-mode="lr-tb"/></style:style>'
                       % (orient, orient))
        out.append(_PAGE_LAYOUTS)
        out.append("</office:automatic-styles>")
        out.append(_MASTER_PAGES)
        out.append("<office:body><office:spreadsheet>")
        for s in self.sheets:
            out.append(self._sheet(s))
        out.append("</office:spreadsheet></office:body></office:document>")
        return "\n".join(out).encode("utf-8")

    def _sheet(self, s):
        rows = max([r + c[3] - 1 for (r, _), c in s.cells.items()] or [1])
        cols = max([c + v[2] - 1 for (_, c), v in s.cells.items()] +
                   [col_index(k) for k in s.widths] or [1])
        covered = set()
        for (r, c), (_, _, cs, rs) in s.cells.items():
            for rr in range(r, r + rs):
                for cc in range(c, c + cs):
                    if (rr, cc) != (r, c):
                        covered.add((rr, cc))
        out = ['<table:table table:name=%s table:style-name="ta%s">' % (
            quoteattr(s.name), "Landscape" if s.landscape else "Portrait")]
        for c in range(1, cols + 1):
            w = s.widths.get(col_letters(c), 2.26)
            out.append('<table:table-column table:style-name="co%s" '
                       'table:default-cell-style-name="Default"/>' % _key(w))
        for r in range(1, rows + 1):
            if s.title_rows and r == s.title_rows[0]:
                out.append("<table:table-header-rows>")
            h = s.heights.get(r, s.default_height)
            out.append('<table:table-row table:style-name="%s">' % (
                "ro" + _key(h) if h else "roauto"))
            for c in range(1, cols + 1):
                if (r, c) in covered:
                    out.append("<table:covered-table-cell/>")
                elif (r, c) in s.cells:
                    out.append(_cell(*s.cells[(r, c)]))
                else:
                    out.append("<table:table-cell/>")
            out.append("</table:table-row>")
            if s.title_rows and r == s.title_rows[1]:
                out.append("</table:table-header-rows>")
        out.append("</table:table>")
        return "".join(out)


def _key(x):
    return ("%.2f" % x).replace(".", "_")


def _cell(value, style, colspan, rowspan):
    attrs = ' table:style-name="ce_%s"' % style
    if colspan > 1:
        attrs += ' table:number-columns-spanned="%d"' % colspan
    if rowspan > 1:
        attrs += ' table:number-rows-spanned="%d"' % rowspan
    if isinstance(value, str) and value.startswith("="):
        # No cached result: LibreOffice computes the formula when it loads the file.
        return '<table:table-cell table:formula=%s%s/>' % (
            quoteattr("of:" + to_openformula(value)), attrs)
    if isinstance(value, (int, float)):
        return '<table:table-cell office:value-type="float" office:value="%s"%s>' \
               '<text:p>%s</text:p></table:table-cell>' % (value, attrs, value)
    if value == "":
        # A formatted cell with no value (borders of an empty column).
        return '<table:table-cell%s/>' % attrs
    paras = "".join("<text:p>%s</text:p>" % escape(p) for p in str(value).split("\n"))
    return '<table:table-cell office:value-type="string"%s>%s</table:table-cell>' % (
        attrs, paras)


_REF = re.compile(r"(?:'([^']+)'!)?(\$?[A-Z]{1,3}\$?[0-9]+)(?::(\$?[A-Z]{1,3}\$?[0-9]+))?")


def to_openformula(formula):
    """Excel-style formula -> OpenFormula: references in brackets, ";" between
    arguments. Only what the templates use (no text constants with commas)."""
    def ref(m):
        sheet = "$'%s'" % m.group(1) if m.group(1) else ""
        first = "[%s.%s" % (sheet, m.group(2))
        if m.group(3):
            return first + ":." + m.group(3) + "]"
        return first + "]"
    return _REF.sub(ref, formula).replace(",", ";")


_HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" \
xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" \
xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" \
xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" \
xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" \
xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" \
xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" \
xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" \
office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:font-face-decls><style:font-face style:name="Arial" svg:font-family="Arial" \
style:font-family-generic="swiss"/></office:font-face-decls>
<office:styles><style:style style:name="Default" style:family="table-cell">\
<style:text-properties style:font-name="Arial" fo:font-size="10pt"/></style:style>\
</office:styles>"""

_NUMBER_STYLES = """<number:number-style style:name="N0"><number:number \
number:decimal-places="0" number:min-integer-digits="1"/></number:number-style>
<number:number-style style:name="N2"><number:number number:decimal-places="2" \
number:min-decimal-places="2" number:min-integer-digits="1"/></number:number-style>
<number:date-style style:name="D1"><number:day number:style="long"/><number:text>.\
</number:text><number:month number:style="long"/><number:text>.</number:text>\
<number:year number:style="long"/></number:date-style>"""

_PAGE_LAYOUTS = "".join(
    '<style:page-layout style:name="pm%s"><style:page-layout-properties '
    'fo:page-width="%s" fo:page-height="%s" style:print-orientation="%s" '
    'fo:margin-top="1.2cm" fo:margin-bottom="1.2cm" fo:margin-left="1.5cm" '
    'fo:margin-right="1.2cm" style:scale-to-X="1" style:scale-to-Y="0" '
    'style:print-page-order="ttb" style:table-centering="horizontal"/>'
    '<style:footer-style><style:header-footer-properties fo:min-height="0.6cm"/>'
    '</style:footer-style></style:page-layout>'
    % (name, w, h, name.lower())
    for name, w, h in (("Portrait", "21cm", "29.7cm"), ("Landscape", "29.7cm", "21cm")))

_MASTER_PAGES = "<office:master-styles>" + "".join(
    '<style:master-page style:name="%s" style:page-layout-name="pm%s">'
    '<style:header style:display="false"/><style:footer><text:p>Pagina '
    '<text:page-number>1</text:page-number> din <text:page-count>1</text:page-count>'
    '</text:p></style:footer></style:master-page>' % (n, n)
    for n in ("Portrait", "Landscape")) + "</office:master-styles>"

#!/usr/bin/env python3
"""Regenerates the built-in templates of resources/files from the sources in this folder.

    python3 templates-src/build_templates.py [--out resources/files]

Needs LibreOffice (soffice) for the workbooks and the PDF files. The build of the program
never runs this script: it takes the committed files. Run it by hand after changing a
source and commit the files it writes.

  documents.py    the RTF templates (written directly, Windows-1250)
  workbooks.py    the workbook templates (flat OpenDocument -> Excel 97-2003 / 2007)
  legislation.py  the two legislation notes (RTF -> PDF)
  the application-form PDF is the full application form with its blanks left empty
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import documents    # noqa: E402
import legislation  # noqa: E402
import workbooks    # noqa: E402

# File of each RTF template -> the resource name the program looks it up by.
RTF_RESOURCES = {
    "Stabilire.rtf": "Stabilire", "Modificare.rtf": "Modificare",
    "Respingere.rtf": "Respingere", "Referat.rtf": "Referat", "ModCerere.rtf": "Cerere",
    "ModCerereS.rtf": "CerereS", "ModelAncheta2.rtf": "Ancheta", "TrezAnx3.rtf": "TrezAnx3",
}

LO_FILTERS = {"xls": "xls:MS Excel 97", "xlsx": "xlsx:Calc MS Excel 2007 XML",
              "pdf": "pdf"}


def soffice(src, fmt, outdir):
    """Converts one file with LibreOffice in a private profile (so that a running
    LibreOffice of the user is not disturbed)."""
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    try:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                        "--convert-to", LO_FILTERS[fmt], "--outdir", outdir, src],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    out = os.path.join(outdir, os.path.splitext(os.path.basename(src))[0] + "." + fmt)
    if not os.path.exists(out):
        raise SystemExit("LibreOffice did not convert " + src)
    return out


def model_trz():
    """The empty Visual FoxPro table of the treasury report: a 584-byte header (32 bytes
    of table data, nine 32-byte field descriptors, the 0x0D terminator and a 263-byte
    empty database-container link), then the end-of-file mark 0x1A."""
    fields = [("CODJUD", "C", 2, 0), ("CODFISC", "C", 10, 0), ("CNP", "C", 13, 0),
              ("CODAJUT", "C", 3, 0), ("NUMEPREN", "C", 60, 0), ("NRPERS", "N", 2, 0),
              ("SUMA", "N", 10, 2), ("DTPLATCRT", "D", 8, 0), ("DATA_PREL", "D", 8, 0)]
    head = struct.pack("<B3BIHH16xBB2x", 0x30, 0x08, 0x0B, 0x1B, 0, 584, 117, 0x00, 0x03)
    offset = 1
    for name, kind, length, dec in fields:
        head += struct.pack("<11ssIBBB13x", name.encode("ascii"), kind.encode("ascii"),
                            offset, length, dec, 0)
        offset += length
    assert offset == 117
    head += b"\x0d" + bytes(263)
    assert len(head) == 584
    return head + b"\x1a"


def blank_form(rtf):
    """The application form as a blank to print: boxes empty, every placeholder a dotted
    line, the hidden marker dropped."""
    text = rtf.decode("ascii")
    text = re.sub(r"\[\[[A-Za-z_]+\]\]", "[   ]", text)
    text = re.sub(r"\[[A-Za-z_0-9]+\]", "....................", text)
    return text.replace("{\\v " + documents.MARKER + "}", "").encode("ascii")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(HERE, "..", "resources", "files"))
    args = ap.parse_args()
    model_dir = os.path.join(args.out, "MODEL")
    law_dir = os.path.join(args.out, "LEGE")
    os.makedirs(model_dir, exist_ok=True)
    os.makedirs(law_dir, exist_ok=True)
    work = tempfile.mkdtemp(prefix="focaris-templates-")
    try:
        for file_name, build in documents.ALL.items():
            data = build().render()
            with open(os.path.join(model_dir, RTF_RESOURCES[file_name] + ".rtf"), "wb") as f:
                f.write(data)
            print("MODEL/%s.rtf" % RTF_RESOURCES[file_name])

        for name, (build, ext) in workbooks.ALL.items():
            src = os.path.join(work, name + ".fods")
            with open(src, "wb") as f:
                f.write(build().render())
            out = soffice(src, ext, work)
            shutil.copyfile(out, os.path.join(model_dir, name + "." + ext))
            print("MODEL/%s.%s" % (name, ext))

        with open(os.path.join(model_dir, "ModelTrz.dbf"), "wb") as f:
            f.write(model_trz())
        print("MODEL/ModelTrz.dbf")

        for name, build in legislation.ALL.items():
            src = os.path.join(work, name + ".rtf")
            with open(src, "wb") as f:
                f.write(build().render())
            shutil.copyfile(soffice(src, "pdf", work), os.path.join(law_dir, name + ".pdf"))
            print("LEGE/%s.pdf" % name)
        src = os.path.join(work, "CEREREPDF.rtf")
        with open(src, "wb") as f:
            f.write(blank_form(documents.mod_cerere().render()))
        shutil.copyfile(soffice(src, "pdf", work), os.path.join(law_dir, "CEREREPDF.pdf"))
        print("LEGE/CEREREPDF.pdf")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

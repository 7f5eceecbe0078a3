#!/usr/bin/python3
"""What the Windows computer of an office leaves behind, written without any of the
program's code, and the independent reading of what the program writes back.

The tables are written by python3-dbf as dBase III in code page 1250, with the upper-case
names the Windows installations leave (CERERI.DBF, OAMENI.DBF, LOG.DBF); the settings file
and the lists are Windows-1250 text with CR LF line ends; the archive is the save
container written with Python's zlib: a 32-bit little-endian member count, then for each
member the length of its name, the name in Windows-1250, the uncompressed size and one
zlib stream (level 9).

Usage:
  old_office.py folder current|old DATA PROGRAM   the data folder and the program folder's
                                                  list of rejection reasons; "old" writes
                                                  CERERI.DBF in the oldest layout
  old_office.py archive FOLDER OUT                the container of the folder's files
  old_office.py unpack ARCHIVE FOLDER             reads a container; prints one line per
                                                  member: NAME SIZE
  old_office.py rows TABLE                        a table read by dbfread and python3-dbf as
                                                  code page 1250, printed as JSON
  old_office.py append TABLE NAME                 python3-dbf appends a row with SUBSEMN NAME
                                                  (a Windows program writing after this one);
                                                  prints the rows dbfread then reads
  old_office.py text DOCUMENT                     the text of an RTF document (its escapes and
                                                  Windows-1250 bytes decoded) or of every cell
                                                  of a workbook (read by xlrd)
"""
import datetime
import json
import os
import struct
import sys
import zlib

import dbf

NOV, DEC = 2025 * 12 + 10, 2025 * 12 + 11  # the two earlier months, as month codes

# The layouts of the three tables, in creation order.
CERERI = ("NRCRT N(12,0); LUNADEC N(10,0); LUNACRT N(10,0); SUBSEMN C(32); CNP C(13); "
          "LOCALIT C(60); ADRESA C(60); NR_MEMBRI N(5,0); TVENIT N(10,2); VENITM N(10,2); "
          "ASOC C(60); NRCONT C(20); L416 C(1); ASF C(1); CUAJUT C(1); SUMAL N(10,2); "
          "TITG C(32); CNPG C(13); FURNG C(60); CODCLG C(20); PODG C(20); SUMAG N(10,2); "
          "TITE C(32); CNPE C(13); FURNE C(60); CODCLE C(20); PODE C(20); SUMAE N(10,2); "
          "TITT C(32); CNPT C(13); FURNT C(60); CODCLT C(20); SUMAT N(10,2); "
          "CUANTUM N(10,2); NR_LUNI N(5,0); TOTAL N(10,2); NR_DISP C(16); NR_CERE N(10,0); "
          "DATACERE D; DATADISP D; STATUT C(7); CUMODIF C(1); MOTIVR C(80); STCIV C(2); "
          "SITSCOL C(2); NRCAM N(6,0); TARIF N(10,4); VALMAX N(10,4); ASIG C(1); "
          "COPII14 N(6,0); COPII18 N(6,0); SITPROF C(24)")
# The oldest layout: the contract holder in TITULAR, no tariff, no holders of the
# supplements, no monthly aid.
OLD_DROPPED = {"TITG", "CNPG", "TITE", "CNPE", "TITT", "CNPT", "TARIF", "VALMAX"}
OAMENI = "NROM N(10,0); NRCRT N(12,0); TITULAR C(32); CNP C(13); VENIT N(10,2); CALITATE C(12)"
LOG = "IDLOG N(10,0); DATAL D; ORA C(12); ACTIUNE C(120); UTILIZATOR C(16)"


def day(text):
    return datetime.date(int(text[6:]), int(text[3:5]), int(text[:2]))


def application(nrcrt, month, name, cnp, locality, address, members, income, number, date,
                months=5, status="APROBAT", disposition="", reason="", since=None, **more):
    row = dict(NRCRT=nrcrt, LUNADEC=since or month, LUNACRT=month, SUBSEMN=name, CNP=cnp,
               LOCALIT=locality, ADRESA=address, NR_MEMBRI=members, TVENIT=income,
               VENITM=round(income / members, 2), NR_LUNI=months, NR_CERE=number,
               DATACERE=day(date), STATUT=status, NR_DISP=disposition, MOTIVR=reason,
               TITT=name, CNPT=cnp, STCIV="C", SITSCOL="M", NRCAM=2, CUANTUM=0, TOTAL=0,
               VALMAX=0, TARIF=0, SUMAL=0, SUMAG=0, SUMAE=0, SUMAT=0, COPII14=0, COPII18=0)
    if disposition:
        row["DATADISP"] = day(date) + datetime.timedelta(days=10)
    row.update(more)
    return row


# Two months of a commune: four applications in November (one rejected), the two that go
# on and a new one in December, and a December row the clerk deleted.
APPLICATIONS = [
    application(1, NOV, "ŞTEFĂNESCU ANDREEA", "2800305020012", "ŞIRIA", "STR. MĂRĂŞEŞTI NR. 7", 3, 1700,
                1, "03.11.2025", disposition="1", CUANTUM=60, SUMAL=20, SUMAE=30, TITE="ŞTEFĂNESCU ANDREEA",
                CNPE="2800305020012", FURNE="ENEL ENERGIE", CODCLE="E1001", PODE="RO005E100",
                COPII14=1, SITPROF="salariat"),
    application(2, NOV, "ŢURCANU ION", "1700712020024", "ŞIRIA", "STR. ŢARINII NR. 12", 1, 1500,
                2, "04.11.2025", disposition="2", CUANTUM=10, SUMAG=10, TITG="ŢURCANU ION",
                CNPG="1700712020024", FURNG="ENGIE ROMÂNIA", CODCLG="G2002", PODG="DEG0017", STCIV="V",
                SITPROF="pensionar"),
    application(3, NOV, "COSTĂCHESCU DUMITRU", "1591111020048", "ŞIRIA", "STR. LUNCII NR. 3", 2, 5200,
                3, "05.11.2025", status="RESPINS", disposition="3", reason="venitul depăşeşte limita legală"),
    application(4, NOV, "PĂUN VIORICA", "2650614020057", "GALŞA", "STR. PRINCIPALĂ NR. 101", 2, 1300,
                4, "06.11.2025", disposition="4", CUANTUM=60, SUMAL=20, SITPROF="casnică"),
    application(5, DEC, "ŞTEFĂNESCU ANDREEA", "2800305020012", "ŞIRIA", "STR. MĂRĂŞEŞTI NR. 7", 3, 1700,
                1, "03.11.2025", months=4, disposition="1", since=NOV, CUANTUM=60, SUMAL=20, SUMAE=30,
                TITE="ŞTEFĂNESCU ANDREEA", CNPE="2800305020012", FURNE="ENEL ENERGIE", CODCLE="E1001",
                PODE="RO005E100", COPII14=1, SITPROF="salariat"),
    application(6, DEC, "ŢURCANU ION", "1700712020024", "ŞIRIA", "STR. ŢARINII NR. 12", 1, 1500,
                2, "04.11.2025", months=4, disposition="2", since=NOV, CUANTUM=10, SUMAG=10,
                TITG="ŢURCANU ION", CNPG="1700712020024", FURNG="ENGIE ROMÂNIA", CODCLG="G2002",
                PODG="DEG0017", STCIV="V", SITPROF="pensionar"),
    application(7, DEC, "DRĂGHICI ŞERBAN", "1810410020091", "ŞIRIA", "BL. A2 SC. B AP. 14", 2, 2000,
                5, "02.12.2025", months=4, disposition="5", CUAJUT="X", CUANTUM=40, FURNT="TERMOSIS ŞIRIA",
                CODCLT="T77", TARIF=350, VALMAX=183.4, TOTAL=733.6, SUMAT=10, ASOC="ASOCIAŢIA BLOC A2",
                NRCONT="C14", SUMAL=None, SUMAE=None, COPII14=None, COPII18=None),
    application(8, DEC, "DRĂGHICI ŞERBAN", "1810410020091", "ŞIRIA", "BL. A2 SC. B AP. 14", 2, 2000,
                6, "02.12.2025", months=4),
]
DELETED = {8}

MEMBERS = [
    (1, 1, "ŞTEFĂNESCU ANDREEA", "2800305020012", 800, "beneficiar"),
    (2, 1, "ŞTEFĂNESCU CĂTĂLIN", "1810203020036", 900, "partener"),
    (3, 1, "ŞTEFĂNESCU ILINCA", "6150302020018", 0, "copil"),
    (4, 2, "ŢURCANU ION", "1700712020024", 1500, "beneficiar"),
    (5, 3, "COSTĂCHESCU DUMITRU", "1591111020048", 3000, "beneficiar"),
    (6, 3, "COSTĂCHESCU ŞTEFANIA", "2971209020081", 2200, "partener"),
    (7, 4, "PĂUN VIORICA", "2650614020057", 600, "beneficiar"),
    (8, 4, "PĂUN ŞERBAN", "1760901020065", 700, "partener"),
    (9, 5, "ŞTEFĂNESCU ANDREEA", "2800305020012", 800, "beneficiar"),
    (10, 5, "ŞTEFĂNESCU CĂTĂLIN", "1810203020036", 900, "partener"),
    (11, 5, "ŞTEFĂNESCU ILINCA", "6150302020018", 0, "copil"),
    (12, 6, "ŢURCANU ION", "1700712020024", 1500, "beneficiar"),
    (13, 7, "DRĂGHICI ŞERBAN", "1810410020091", 1200, "beneficiar"),
    (14, 7, "DRĂGHICI ÎNGRID", "2460119020103", 800, "partener"),
]

LOG_ROWS = [
    (1, "03.11.2025", "09:12:40", "Adaugare Cerere 1 ŞTEFĂNESCU ANDREEA"),
    (2, "04.11.2025", "10:01:05", "Adaugare Cerere 2 ŢURCANU ION"),
    (3, "05.11.2025", "11:30:00", "Adaugare Cerere 3 COSTĂCHESCU DUMITRU"),
    (4, "06.11.2025", "08:45:13", "Adaugare Cerere 4 PĂUN VIORICA"),
    (5, "20.11.2025", "14:00:00", "Numerotare Dispozitii."),
    (6, "01.12.2025", "08:30:00", "Adaugare Cereri din luna 11.2025"),
    (7, "02.12.2025", "09:15:00", "Adaugare Cerere 5 DRĂGHICI ŞERBAN"),
]

# The shared settings as the Windows program leaves them: key=value, no blanks, the
# sections in the order they were first written.
SETTINGS = [
    ("94", [("VER", "1.0029")]),
    ("CONST", [("Lansat", "NU"), ("LASTPACK", "6500"), ("PERSTAT", "decembrie 2025")]),
    ("SERVER", [("Versiune", "1.0029")]),
    ("SETARI", [("UAT", "Comuna"), ("PRIMARIA", "ŞIRIA"), ("SIRUES", "3519925"), ("JUDET", "ARAD"),
                ("CODJUD", "02"), ("PRIMAR", "Ştefan Bălăşoiu"), ("VICEPRIMAR", "Ioana Ţurcanu"),
                ("CONTABIL", "Mărioara Câmpeanu"), ("INTOCMIT", "Adina Pătraşcu"),
                ("DIRECTOR", "Ion Dârjan"), ("TIPLOC", "0")]
     + [("Lim%d" % (i + 1), str(v)) for i, v in enumerate([200, 320, 440, 560, 680, 920, 1040, 1160, 1280, 1386, 2053])]
     + [("Cu%d" % (i + 1), str(v)) for i, v in enumerate([100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 10])]
     + [("IndL", "20"), ("IndG", "10"), ("IndT", "10"), ("IndE", "30"), ("IndE2", "70"),
        ("CL1", "0.82"), ("CL2", "1.31"), ("CL3", "1.7"), ("CL4", "2.37")]),
    ("INIT", [("WIN", "")]),
    ("VARIABILE", [("LUNA_LUCRU", "12.2025")]),
    ("CONSTANTE", [("LunaI", "0"), ("AnulI", "2026"), ("PerI", "3")]),
    ("DISPCUM", [("PERIOADA", "noiembrie 2025 - martie 2026"), ("TRIBUNAL", "Arad")]),
    ("INDEX", [("NRCRT", "9"), ("NROM", "15"), ("IDLOG", "8"), ("NR_CERE", "7"), ("ACTUALIZARE", "2")]),
]


def crlf_text(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp1250")


def write_table(path, fields, rows, deleted=()):
    table = dbf.Table(path, fields, codepage="cp1250", dbf_type="db3")
    table.open(mode=dbf.READ_WRITE)
    names = table.field_names
    for row in rows:
        table.append(tuple(row.get(n.upper(), None) if isinstance(row, dict) else row[i]
                           for i, n in enumerate(names)))
    for i, row in enumerate(rows):
        if isinstance(row, dict) and row["NRCRT"] in deleted:
            dbf.delete(table[i])
    table.close()


def write_statement_template(path):
    """The payment statement as the office keeps it, saved by another spreadsheet program:
    three sheets (all, with aid, with supplements), the markers of the program's own
    template, titles with diacritics and a total formula under the data row."""
    import xlwt
    book = xlwt.Workbook(encoding="utf-8")
    for title in ("Toti", "Ajutor", "Suplimente"):
        sheet = book.add_sheet(title)
        sheet.write(0, 0, "ROMÂNIA - JUDEŢUL ARAD")
        sheet.write(1, 0, "#Primaria")
        sheet.write(2, 0, "SITUAŢIE PLĂŢI - %s" % title.upper())
        sheet.write(3, 0, "#Luna")
        for c, head in enumerate(["Nr.", "Titular", "CNP", "Adresa", "Lemne", "Gaze", "Semnătura"]):
            sheet.write(5, c, head)
        for c, marker in enumerate(["%NRCRT", "#Titular", "#CNP", "#ADRESA", "#SUMAL", "#SUMAG"]):
            sheet.write(6, c, marker)
        sheet.write(6, 7, "#DBF")
        sheet.write(7, 3, "TOTAL")
        sheet.write(7, 4, xlwt.Formula("SUM(E7:E7)"))
        sheet.write(7, 5, xlwt.Formula("SUM(F7:F7)"))
        sheet.write(9, 1, "#P1")
        sheet.write(10, 1, "#PRIMAR")
    book.save(path)


def write_folder(layout, data, program):
    os.makedirs(data, exist_ok=True)
    os.makedirs(program, exist_ok=True)
    fields = CERERI
    rows = APPLICATIONS
    if layout == "old":
        kept = [f for f in CERERI.split("; ") if f.split()[0] not in OLD_DROPPED]
        kept.insert(kept.index("FURNT C(60)"), "TITULAR C(32)")
        fields = "; ".join(kept)
        rows = [dict(r, TITULAR=r["TITT"] if r["NRCRT"] != 2 else None) for r in APPLICATIONS]
    write_table(os.path.join(data, "CERERI.DBF"), fields, rows, DELETED)
    # The Windows engine attached a production index to the applications table.
    with open(os.path.join(data, "CERERI.DBF"), "r+b") as table:
        table.seek(28)
        table.write(b"\x01")
    open(os.path.join(data, "CERERI.MDX"), "wb").write(b"\x02" + bytes(511))
    write_table(os.path.join(data, "OAMENI.DBF"), OAMENI, MEMBERS)
    write_table(os.path.join(data, "LOG.DBF"), LOG,
                [(i, day(d), t, a, "BIROU - Asistenţă"[:16]) for i, d, t, a in LOG_ROWS])
    lines = []
    for section, keys in SETTINGS:
        lines.append("[%s]" % section)
        lines += ["%s=%s" % kv for kv in keys]
    open(os.path.join(data, "FOCARIS.SET"), "wb").write(crlf_text(lines))
    open(os.path.join(data, "LUNI.LST"), "wb").write(crlf_text(["12.2025", "11.2025"]))
    write_statement_template(os.path.join(data, "STAT.XLS"))
    # A note the clerk kept in the data folder, its name with diacritics.
    open(os.path.join(data, "Notă şefă.txt"), "wb").write(crlf_text(["De verificat dosarul Păun."]))
    open(os.path.join(program, "MOTIVE.LST"), "wb").write(
        crlf_text(["venitul depăşeşte limita legală", "nu locuieşte la adresă"]))


def write_archive(folder, out):
    members = []
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if os.path.isfile(path) and os.path.getsize(path) > 0:
            members.append((name, open(path, "rb").read()))
    blob = struct.pack("<i", len(members))
    for name, data in members:
        encoded = name.encode("cp1250")
        blob += struct.pack("<i", len(encoded)) + encoded + struct.pack("<i", len(data))
        blob += zlib.compress(data, 9)
    open(out, "wb").write(blob)


def unpack(archive, folder):
    blob = open(archive, "rb").read()
    (count,) = struct.unpack_from("<i", blob, 0)
    at = 4
    os.makedirs(folder, exist_ok=True)
    for _ in range(count):
        (length,) = struct.unpack_from("<i", blob, at)
        name = blob[at + 4:at + 4 + length].decode("cp1250")
        at += 4 + length
        (size,) = struct.unpack_from("<i", blob, at)
        at += 4
        inflater = zlib.decompressobj()
        data = inflater.decompress(blob[at:])
        if not inflater.eof or len(data) != size:
            raise SystemExit("member %s: stream damaged or of the wrong size" % name)
        at = len(blob) - len(inflater.unused_data)
        if "/" in name or "\\" in name or name in ("", ".", ".."):
            raise SystemExit("member name with a folder: %r" % name)
        open(os.path.join(folder, name), "wb").write(data)
        print(name, size)
    if at != len(blob):
        raise SystemExit("%d bytes after the last member" % (len(blob) - at))


def plain(v):
    if isinstance(v, (datetime.date, datetime.datetime)):
        return v.strftime("%d.%m.%Y")
    if isinstance(v, str):
        return v.rstrip()
    return v


def rows(path):
    import dbfread
    table = dbfread.DBF(path, encoding="cp1250", char_decode_errors="strict")
    out = {"ldid": table.header.language_driver,
           "fields": [f.name for f in table.fields],
           "rows": [[plain(v) for v in r.values()] for r in table]}
    # python3-dbf must open it too, and take the same code page from its header.
    other = dbf.Table(path)
    other.open(mode=dbf.READ_ONLY)
    out["codepage"] = other.codepage.name
    out["dbfRows"] = sum(1 for r in other if not dbf.is_deleted(r))
    other.close()
    print(json.dumps(out, ensure_ascii=False))


def append(path, name):
    import dbfread
    table = dbf.Table(path)
    table.open(mode=dbf.READ_WRITE)
    table.append({"subsemn": name, "nrcrt": 999})
    table.close()
    print(len(dbfread.DBF(path, encoding="cp1250", char_decode_errors="strict")))


def text(path):
    if path.lower().endswith(".xls"):
        import xlrd
        book = xlrd.open_workbook(path)
        for sheet in book.sheets():
            for r in range(sheet.nrows):
                print("\t".join(str(v) for v in sheet.row_values(r)))
        return
    import re
    raw = open(path, "rb").read()
    # \uN takes one fallback character after it (the documents use \uc1); \'hh is one
    # byte of the document's code page.
    raw = re.sub(rb"\\u(-?[0-9]+) ?(\\'[0-9a-fA-F]{2}|[^\\{}])",
                 lambda m: chr(int(m.group(1)) % 65536).encode("cp1250", "replace"), raw)
    raw = re.sub(rb"\\'([0-9a-fA-F]{2})", lambda m: bytes([int(m.group(1), 16)]), raw)
    sys.stdout.write(raw.decode("cp1250", "replace"))


def main():
    command = sys.argv[1]
    if command == "folder":
        write_folder(sys.argv[2], sys.argv[3], sys.argv[4])
    elif command == "archive":
        write_archive(sys.argv[2], sys.argv[3])
    elif command == "unpack":
        unpack(sys.argv[2], sys.argv[3])
    elif command == "rows":
        rows(sys.argv[2])
    elif command == "append":
        append(sys.argv[2], sys.argv[3])
    elif command == "text":
        text(sys.argv[2])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()

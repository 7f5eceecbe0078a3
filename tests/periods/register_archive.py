#!/usr/bin/python3
"""Writes a register archive for the import tests without any of the program's code.

The tables are written with python3-dbf (dBase III, code page 1250); the archive is the
save container: a 32-bit little-endian member count, then for each member the length of
its name, the name in Windows-1250, the uncompressed size and one zlib stream (level 9).

Usage: register_archive.py TABLES.json OUT
TABLES.json: {"tables": [{"name": "Cereri.dbf", "fields": "IDCERERE N(10,0); NUME C(40)",
                   "rows": [[1, "POPESCU"], ...]}],
       "cut": N (optional: keep only the first N bytes of the archive)}
Dates are given as "YYYY-MM-DD"; null is a blank field.
"""
import datetime
import json
import os
import struct
import sys
import tempfile
import zlib

import dbf


def value(v):
    if isinstance(v, str) and len(v) == 10 and v[4] == '-' and v[7] == '-':
        return datetime.date(int(v[:4]), int(v[5:7]), int(v[8:]))
    return v


def write_table(folder, table_def):
    path = os.path.join(folder, table_def["name"])
    table = dbf.Table(path, table_def["fields"], codepage="cp1250", dbf_type="db3")
    table.open(mode=dbf.READ_WRITE)
    for row in table_def["rows"]:
        table.append(tuple(value(v) for v in row))
    table.close()
    # python-dbf may write the name in another case or add a memo file: take what is there.
    return path


def main():
    wanted = json.load(open(sys.argv[1], encoding="utf-8"))
    out = sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        members = []
        for t in wanted["tables"]:
            write_table(folder, t)
        for name in sorted(os.listdir(folder)):
            data = open(os.path.join(folder, name), "rb").read()
            members.append((name, data))
        blob = struct.pack("<i", len(members))
        for name, data in members:
            encoded = name.encode("cp1250")
            blob += struct.pack("<i", len(encoded)) + encoded + struct.pack("<i", len(data))
            blob += zlib.compress(data, 9)
        if "cut" in wanted:
            blob = blob[: wanted["cut"]]
        open(out, "wb").write(blob)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
# Writes the ".T21" archives under tests/data/{good,broken}/archive with an implementation
# of the format separate from the program's own (Python's struct and zlib), the way the
# Windows installations lay them out: little-endian counts, Windows-1250 names, one zlib
# stream per member at level 9. Run it again only to regenerate those files.
import os, struct, zlib

here = os.path.dirname(os.path.abspath(__file__))
good = os.path.join(here, '..', 'data', 'good', 'archive')
broken = os.path.join(here, '..', 'data', 'broken', 'archive')


def member(name, data, size=None, stream=None):
    raw = name.encode('cp1250') if isinstance(name, str) else name
    if stream is None:
        stream = zlib.compress(data, 9)
    return struct.pack('<i', len(raw)) + raw + struct.pack('<i', len(data) if size is None else size) + stream


def archive(path, members, count=None):
    with open(path, 'wb') as f:
        f.write(struct.pack('<i', len(members) if count is None else count))
        for m in members:
            f.write(m)


table = bytes([0x03, 0x7C, 0x0C, 0x09]) + b'\x00' * 24 + b'\x01' + b'\xc8' + bytes(2) + b'CERERI TABLE ' * 300
archive(os.path.join(good, 'windows_names.T21'), [
    member('CERERI.DBF', table),
    member('Şablon ţară.rtf', '{\\rtf1 Dispoziţie}'.encode('cp1250')),
    member('Focaris.set', b'[CONST]\r\nLUNA_LUCRU=01.2024\r\n'),
    member('Gol.txt', b''),
])
archive(os.path.join(good, 'repeated_names.T21'), [
    member('Luni.lst', b'first'),
    member('LUNI.LST', b'second, the later one'),
])

ok = member('Bun.txt', b'good member ' * 50)
archive(os.path.join(broken, 'truncated_stream.T21'), [ok, member('Taiat.dbf', os.urandom(4000))[:-700]])
archive(os.path.join(broken, 'size_larger_than_data.T21'), [ok, member('Mare.txt', b'x' * 100, size=5000)])
archive(os.path.join(broken, 'size_smaller_than_data.T21'), [ok, member('Mic.txt', b'y' * 5000, size=100)])
archive(os.path.join(broken, 'huge_size_claim.T21'), [member('Urias.txt', b'z' * 10, size=0x7FFFFFFF)])
archive(os.path.join(broken, 'negative_size.T21'), [member('Neg.txt', b'abc', size=-5)])
archive(os.path.join(broken, 'huge_count.T21'), [ok], count=0x7FFFFFFF)
archive(os.path.join(broken, 'huge_name_length.T21'), [struct.pack('<i', 0x7FFFFFF0) + b'abc'])
archive(os.path.join(broken, 'damaged_stream.T21'),
        [ok, member('Stricat.txt', b'q' * 3000, stream=zlib.compress(b'q' * 3000, 9)[:6] + b'\xff' * 20)])
archive(os.path.join(broken, 'names_with_folders.T21'), [
    member('..\\..\\evil_back.txt', b'backslashes'),
    member('../../evil_slash.txt', b'slashes'),
    member('/tmp/evil_absolute.txt', b'absolute'),
    member('C:\\Windows\\evil_drive.txt', b'drive'),
    member('sub/dir.txt', b'folder part'),
])
archive(os.path.join(broken, 'name_dotdot_only.T21'), [ok, member('..', b'nothing left')])

#!/usr/bin/python3
# Writes the damaged workbooks of this folder from a small workbook made by python3-xlwt,
# each named after its defect. The engine must refuse each with a clear error (or, where
# the damage is harmless, read it) and never crash, hang or allocate without bound.
import io
import struct
import sys

import xlwt

out = sys.argv[1] if len(sys.argv) > 1 else '.'
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('Foaie')
for r in range(20):
    ws.write(r, 0, 'text %d' % r)
    ws.write(r, 1, r * 1.5)
buf = io.BytesIO()
wb.save(buf)
good = bytearray(buf.getvalue())

SECTOR = 512


def sector_offset(s):
    return (s + 1) * SECTOR


def directory_entries(data):
    start = struct.unpack_from('<I', data, 48)[0]
    off = sector_offset(start)
    return [off + 128 * i for i in range(SECTOR // 128)]


def workbook_entry(data):
    for e in directory_entries(data):
        name = data[e:e + 16].decode('utf-16-le', 'ignore')
        if name.startswith('Workbook'):
            return e
    raise SystemExit('no Workbook entry')


def workbook_offset(data):
    return sector_offset(struct.unpack_from('<I', data, workbook_entry(data) + 116)[0])


def fat_offset(data):
    return sector_offset(struct.unpack_from('<I', data, 76)[0])


def write(name, data):
    open('%s/%s' % (out, name), 'wb').write(bytes(data))


# The Workbook stream's first sector points back to itself.
d = bytearray(good)
first = struct.unpack_from('<I', d, workbook_entry(d) + 116)[0]
struct.pack_into('<I', d, fat_offset(d) + 4 * first, first)
write('looping-sector-chain.xls', d)

# A record near the start claims more bytes than the stream holds.
d = bytearray(good)
wo = workbook_offset(d)
struct.pack_into('<H', d, wo + 4 + 16 + 2, 0xFFFF)  # the record after BOF
write('record-longer-than-stream.xls', d)

# The workbook globals say BIFF5 instead of BIFF8.
d = bytearray(good)
struct.pack_into('<H', d, workbook_offset(d) + 4, 0x0500)
write('biff5-version.xls', d)

# A FILEPASS record: the workbook is encrypted.
d = bytearray(good)
pos = workbook_offset(d)
while True:
    t, n = struct.unpack_from('<HH', d, pos)
    if t == 0x00E1 or t == 0x005C:  # INTERFACEHDR or WRITEACCESS
        struct.pack_into('<H', d, pos, 0x002F)
        break
    pos += 4 + n
write('encrypted-filepass.xls', d)


def sst_pos(data):
    pos = workbook_offset(data)
    while True:
        t, n = struct.unpack_from('<HH', data, pos)
        if t == 0x00FC:
            return pos
        pos += 4 + n


# The string table announces far more strings than it holds.
d = bytearray(good)
struct.pack_into('<II', d, sst_pos(d) + 4, 0x7FFFFFFF, 0x7FFFFFFF)
write('sst-count-too-high.xls', d)

# The string table announces fewer strings than the cells use.
d = bytearray(good)
struct.pack_into('<I', d, sst_pos(d) + 8, 3)
write('sst-count-too-low.xls', d)

# The file ends in the middle of its sectors.
write('truncated-file.xls', good[:len(good) // 2])

# Not a compound file at all.
write('not-a-compound-file.xls', b'ID;PWXL;N;E\r\nC;X1;Y1;K"text"\r\nE\r\n')

# A sector size the format does not allow.
d = bytearray(good)
struct.pack_into('<H', d, 30, 20)
write('bad-sector-size.xls', d)

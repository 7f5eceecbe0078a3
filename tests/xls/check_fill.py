#!/usr/bin/python3
# Prints what python3-xlrd sees of a filled workbook beyond cell values: for each sheet
# its merged areas, hyperlinks, conditional-format ranges and every formula's text, one
# fact per line, so that a test can compare them with what it expects.
import struct
import sys

import xlrd
from xlrd import formula as xf


def records(mem, pos):
    depth = 0
    while pos + 4 <= len(mem):
        t, n = struct.unpack_from('<HH', mem, pos)
        data = mem[pos + 4:pos + 4 + n]
        yield t, data
        pos += 4 + n
        if t == 0x0809:
            depth += 1
        elif t == 0x000A:
            depth -= 1
            if depth == 0:
                return


def main(path):
    bk = xlrd.open_workbook(path, formatting_info=True, on_demand=True)
    for i, name in enumerate(bk.sheet_names()):
        sh = bk.sheet_by_index(i)
        for (r1, r2, c1, c2) in sorted(sh.merged_cells):
            print('%s merged R%dC%d:R%dC%d' % (name, r1 + 1, c1 + 1, r2, c2))
        for h in sh.hyperlink_list:
            print('%s link R%dC%d %s' % (name, h.frowx + 1, h.fcolx + 1, h.url_or_path))
        for t, d in records(bk.mem, bk._sh_abs_posn[i]):
            if t == 0x01B0:
                n = struct.unpack_from('<H', d, 12)[0]
                for k in range(n):
                    r1, r2, c1, c2 = struct.unpack_from('<HHHH', d, 14 + 8 * k)
                    print('%s condfmt R%dC%d:R%dC%d' % (name, r1 + 1, c1 + 1, r2 + 1, c2 + 1))
            elif t == 0x0006:
                r, c = struct.unpack_from('<HH', d, 0)
                cce = struct.unpack_from('<H', d, 20)[0]
                try:
                    text = xf.decompile_formula(bk, d[22:22 + cce], cce, xf.FMLA_TYPE_CELL,
                                                r, c, 0, 0, 0)
                except Exception as e:
                    text = '?%s' % e
                print('%s formula R%dC%d %s' % (name, r + 1, c + 1, text))


if __name__ == '__main__':
    main(sys.argv[1])

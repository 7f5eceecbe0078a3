#!/usr/bin/python3
# Compares two .xls workbooks as python3-xlrd reads them: sheet names, every cell's type,
# value and format index, merged areas and hyperlinks. Prints the differences and exits
# with 1 when there are any, with 2 when a file cannot be read.
import math
import sys

import xlrd


def same(a, b):
    if isinstance(a, float) and isinstance(b, float) and math.isnan(a) and math.isnan(b):
        return True
    return a == b


def main(original, copy):
    try:
        a = xlrd.open_workbook(original, formatting_info=True)
        b = xlrd.open_workbook(copy, formatting_info=True)
    except Exception as e:  # xlrd raises many kinds
        print('cannot read: %s' % e)
        return 2
    diffs = []
    if a.sheet_names() != b.sheet_names():
        diffs.append('sheet names %r != %r' % (a.sheet_names(), b.sheet_names()))
    for i in range(min(a.nsheets, b.nsheets)):
        sa, sb = a.sheet_by_index(i), b.sheet_by_index(i)
        # Trailing blank cells may differ in how rows are padded; compare cell by cell.
        for r in range(max(sa.nrows, sb.nrows)):
            for c in range(max(sa.ncols, sb.ncols)):
                ca = sa.cell(r, c) if r < sa.nrows and c < sa.row_len(r) else None
                cb = sb.cell(r, c) if r < sb.nrows and c < sb.row_len(r) else None
                ka = (ca.ctype, ca.value, ca.xf_index) if ca else (0, '', None)
                kb = (cb.ctype, cb.value, cb.xf_index) if cb else (0, '', None)
                if ka[0] == 0 and kb[0] == 0 and (ka[2] is None or kb[2] is None):
                    continue
                if ka[0] != kb[0] or not same(ka[1], kb[1]) or ka[2] != kb[2]:
                    diffs.append('%s!R%dC%d %r != %r' % (sa.name, r + 1, c + 1, ka, kb))
        if sorted(sa.merged_cells) != sorted(sb.merged_cells):
            diffs.append('%s merged %r != %r' % (sa.name, sa.merged_cells, sb.merged_cells))
        la = [(h.frowx, h.fcolx, h.url_or_path) for h in sa.hyperlink_list]
        lb = [(h.frowx, h.fcolx, h.url_or_path) for h in sb.hyperlink_list]
        if la != lb:
            diffs.append('%s hyperlinks %r != %r' % (sa.name, la, lb))
    for d in diffs[:20]:
        print(d)
    return 1 if diffs else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))

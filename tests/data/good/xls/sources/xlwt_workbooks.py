#!/usr/bin/python3
# Test workbooks written by python3-xlwt (a writer other than the spreadsheet programs):
# formats, dates, merges, 3-D references, and a string table long enough to continue
# over several records with strings split between them.
import datetime
import sys

import xlwt

out = sys.argv[1] if len(sys.argv) > 1 else '.'

wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('Date')
bold = xlwt.easyxf('font: bold on; align: horiz center')
money = xlwt.easyxf(num_format_str='#,##0.00')
date = xlwt.easyxf(num_format_str='dd.mm.yyyy')
ws.write_merge(0, 0, 0, 3, 'Situație Țară', bold)
for r in range(1, 40):
    ws.write(r, 0, r)
    ws.write(r, 1, 'Nume %d ș' % r)
    ws.write(r, 2, r * 12.5, money)
    ws.write(r, 3, datetime.date(2023, 1 + r % 12, 1 + r % 28), date)
    ws.write(r, 4, xlwt.Formula('C%d*2' % (r + 1)))
ws.write(40, 2, xlwt.Formula('SUM(C2:C40)'), money)
ws.write(41, 0, True)
ws.row(5).height_mismatch = True
ws.row(5).height = 600
ws.col(1).width = 6000
other = wb.add_sheet('Alta foaie')
other.write(0, 0, xlwt.Formula("Date!C41+1"))
other.write(1, 0, xlwt.Formula("SUM(Date!C2:C40)"))
other.write(2, 0, 'text')
wb.save(out + '/xlwt-basic.xls')

wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('Siruri')
for r in range(800):
    # Mixed one-byte and two-byte strings of varying lengths.
    ws.write(r, 0, ('Șir %05d ' % r) + 'ă' * (r % 37) + 'x' * (r % 101))
    ws.write(r, 1, 'plain %d' % (r * 7))
ws.write(0, 3, 'y' * 9000)
wb.save(out + '/xlwt-many-strings.xls')

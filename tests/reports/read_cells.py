#!/usr/bin/python3
# Prints every non-empty cell of a workbook as SHEET|ROW|COLUMN|KIND|VALUE (rows, columns
# and sheets from 1; KIND s for text, n for a number), read by an independent reader:
# xlrd for .xls, openpyxl for .xlsx.
import sys

def number(v):
    return str(int(v)) if float(v).is_integer() else repr(float(v))

def main(path):
    if path.lower().endswith(".xlsx"):
        import openpyxl
        book = openpyxl.load_workbook(path)
        for si, ws in enumerate(book.worksheets, 1):
            for row in ws.iter_rows():
                for cell in row:
                    v = cell.value
                    if v is None or v == "":
                        continue
                    kind = "s" if isinstance(v, str) else "n"
                    text = v if kind == "s" else number(v)
                    print("%d|%d|%d|%s|%s" % (si, cell.row, cell.column, kind, text))
        return
    import xlrd
    book = xlrd.open_workbook(path)
    for si, sheet in enumerate(book.sheets(), 1):
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_TEXT and cell.value != "":
                    print("%d|%d|%d|s|%s" % (si, r + 1, c + 1, cell.value))
                elif cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
                    print("%d|%d|%d|n|%s" % (si, r + 1, c + 1, number(cell.value)))

main(sys.argv[1])

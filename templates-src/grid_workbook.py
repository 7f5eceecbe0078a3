"""Writes the empty workbook that the grid export fills (resources/files/GRILA/Grila.xls):
one sheet "Grila" whose first row is bold, for the column titles. python3-xlwt writes it
as an Excel 97-2003 workbook; run it again only when the layout should change."""

import os
import sys

import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    out = os.path.join(HERE, "..", "resources", "files", "GRILA", "Grila.xls")
    if len(sys.argv) > 1:
        out = sys.argv[1]
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Grila")
    sheet.row(0).set_style(xlwt.easyxf("font: bold on; pattern: pattern solid, fore_colour gray25"))
    # A cell is needed for the sheet to carry its dimensions; the export overwrites it.
    sheet.write(0, 0, "", xlwt.easyxf("font: bold on; pattern: pattern solid, fore_colour gray25"))
    book.save(out)


if __name__ == "__main__":
    main()

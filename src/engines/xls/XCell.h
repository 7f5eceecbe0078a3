// The workbook component: an Excel 97-2003 workbook (BIFF8 in a compound file) opened in
// memory, read and changed cell by cell, rows copied, and saved under a new name. What
// it does not change is written back as it was read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::xls {

struct CellValue {
    enum class Type { Empty, Text, Number, Bool, Error };
    Type type = Type::Empty;
    std::string text;     // Text; the error text (#DIV/0! ...) for Error
    double number = 0;    // Number; 1 or 0 for Bool
    bool formula = false; // the value is a formula's last result
};

struct CellEntry {
    int row = 0, col = 0; // 1-based
    CellValue value;
};

class XCell {
public:
    XCell();
    ~XCell();
    XCell(XCell &&) noexcept;
    XCell &operator=(XCell &&) noexcept;

    // Opens a workbook; throws XlsError with a message for the person when the file is
    // not a readable Excel 97-2003 workbook (encrypted, older format, damaged).
    static XCell open(const std::string &path);
    static XCell fromBytes(std::string_view file);

    // Sheets are numbered from 1.
    int sheetCount() const;
    std::string sheetName(int sheet) const;
    int activeSheet() const;
    // Makes `sheet` active when it exists; returns false otherwise.
    bool setActiveSheet(int sheet);

    // On the active sheet, rows and columns from 1. 0 when the sheet has no cell.
    int lastRow() const;
    int lastCol() const;
    CellValue value(int row, int col) const;
    // Every cell with a value (not blanks), rows then columns.
    std::vector<CellEntry> cells() const;

    // Writing keeps the cell's format; a new cell takes its row's or column's format.
    // Text is stored in the shared string table as Unicode. Empty text empties the cell.
    void setText(int row, int col, std::string_view utf8);
    void setNumber(int row, int col, double v);
    void setEmpty(int row, int col);

    // Inserts `count` copies of row `row` below it: rows below move down, the copies keep
    // the row's formats, height, merged cells and formulas (relative references follow
    // the row); formulas, names, merged areas, conditional formats, hyperlinks, notes and
    // page breaks that refer to the moved rows move, ranges that end at the row grow.
    void insertRowCopies(int row, int count);

    // The workbook as a file; `save` writes it to `path`.
    std::string toBytes() const;
    void save(const std::string &path) const;

    // Writes every sheet's cell table anew on saving, even when nothing changed (for
    // checking the writer against whole workbooks).
    void rewriteAll();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace focaris::xls

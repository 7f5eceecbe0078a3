// One sheet substream of a workbook: the records before and after its cell table kept as
// they are, and the cell table itself as rows of cells that can be read, written and
// moved. A sheet nobody changed is written back byte for byte.
#pragma once

#include "engines/xls/Records.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::xls {

// One cell record. MULRK and MULBLANK are split into RK and BLANK cells when read.
struct Cell {
    uint16_t type = 0;         // record type: LABELSST, NUMBER, RK, FORMULA ...
    uint16_t xf = 15;          // format index
    std::string payload;       // the record data after row, column and format
    std::vector<Record> extra; // records that belong to the cell: STRING, SHRFMLA, ARRAY ...
};

struct Row {
    std::string record; // data of the ROW record; empty when the file had none
    std::map<uint16_t, Cell> cells;
};

struct Sheet {
    std::string name;
    uint8_t kind = 0;              // 0 worksheet, 1 macro sheet, 2 chart, 6 module
    std::vector<Record> before;    // BOF up to the cell table
    std::vector<Record> after;     // after the cell table, up to and with EOF
    std::vector<bool> afterNested; // records of embedded substreams (charts) in `after`
    std::map<uint32_t, Row> rows;
    bool modified = false;

    // Reads the substream that starts at `start`, up to its matching EOF.
    void parse(std::string_view stream, std::size_t start);
    // The substream for the position `base` of the new stream.
    std::string serialize(std::size_t base) const;
    // Replaces shared formulas by ordinary ones, so that cells can be changed and moved
    // one by one; marks the sheet modified.
    void prepareEdit();

    int lastRow() const; // highest row with a cell, 1-based; 0 when none
    int lastCol() const;

private:
    std::string raw_;       // the original substream
    std::size_t start_ = 0; // its original position
    long indexAt_ = -1;     // position of the INDEX record in raw_
};

// Cached result of a FORMULA cell, and converting a formula into a plain value cell.
bool isFormulaText(const Cell &c);
Cell formulaToValue(const Cell &formula);

} // namespace focaris::xls

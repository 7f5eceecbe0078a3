// Moving the cell references inside formula expressions (BIFF8 parsed tokens) when rows
// are inserted or copied, and turning shared formulas into ordinary ones.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace focaris::xls {

// Rows inserted below row `at` (0-based): rows after `at` move down by `count`, ranges
// that reach row `at` from above or start at it grow by `count` (a total under a data
// row keeps summing every data row).
struct RowInsert {
    uint32_t at = 0;
    uint32_t count = 0;
    uint32_t row(uint32_t r) const { return r > at ? r + count : r; }
    uint32_t last(uint32_t r) const { return r >= at ? r + count : r; }
};

struct RefChange {
    const RowInsert *insert = nullptr;
    bool sameSheet = false;                  // 2-D references point to the changed sheet
    std::function<bool(uint16_t)> sheetOf3d; // whether a 3-D reference's sheet is it
    int copyOffset = 0;                      // rows added to row-relative references
    // Whether ranges ending at the insertion row grow. Formulas of the copied row itself
    // keep their ranges to one row (its copies sum their own row, not every copy).
    bool widen = true;
};

// Changes the references of the expression `rgce` in place. References pushed beyond the
// last row become #REF! references, as a spreadsheet does. Returns false, leaving the rest
// unchanged, at a token it does not know.
bool adjustFormula(std::string &rgce, const RefChange &change);

// Turns the expression of a shared formula (relative RefN/AreaN tokens) into the ordinary
// expression of the cell at (row, col).
bool sharedToCell(std::string &rgce, uint32_t row, uint16_t col);

} // namespace focaris::xls

// Feeds arbitrary bytes to the workbook component: open, read every sheet, write a cell,
// copy a row, save. Any outcome but a clean result or an XlsError is a bug.
#include "engines/xls/Bytes.h"
#include "engines/xls/XCell.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace focaris::xls;
    try {
        XCell book = XCell::fromBytes(std::string_view(reinterpret_cast<const char *>(data), size));
        for (int s = 1; s <= book.sheetCount(); ++s) {
            book.setActiveSheet(s);
            book.cells();
            book.sheetName(s);
        }
        book.setActiveSheet(1);
        book.setText(1, 1, "Ș");
        book.insertRowCopies(1 + int(size % 7), 3);
        const std::string out = book.toBytes();
        XCell again = XCell::fromBytes(out);
        again.cells();
    } catch (const XlsError &) {
    }
    return 0;
}

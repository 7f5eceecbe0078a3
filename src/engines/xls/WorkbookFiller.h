// The template filler: opens a workbook template, replaces markers, repeats the data row
// marked "#DBF" once per record of a query and saves the result under a new name. The
// template file itself is never written.
#pragma once

#include "engines/xls/RowSource.h"
#include "engines/xls/XCell.h"

#include <functional>
#include <memory>
#include <string>

namespace focaris::xls {

// A value written into a cell: text (empty text empties the cell) or a number.
struct XValue {
    bool isNumber = false;
    std::string text;
    double number = 0;
    static XValue Text(std::string t) { return XValue{false, std::move(t), 0}; }
    static XValue Number(double n) { return XValue{true, {}, n}; }
    // The value as text: numbers with "." and up to 15 significant digits.
    std::string asText() const;
};

class WorkbookFiller {
public:
    struct Hooks {
        std::function<std::string()> newOutputName;            // a file that does not exist yet
        std::function<void(const std::string &)> openDocument; // hands a file to the user
        std::function<void()> processEvents;                   // called after each filled record
    };
    explicit WorkbookFiller(Hooks hooks);

    // False when the template does not exist (nothing else changes). Throws XlsError when
    // it is not a readable Excel 97-2003 workbook. Asking for the spreadsheet application
    // uses the workbook component as well.
    bool OpenTemplate(const std::string &path, bool useApplication = false);
    void SelectSheet(int n);
    void ReplaceText(const std::string &marker, const XValue &value);
    void SetCell(int row, int col, const XValue &value);
    void InsertRowCopies(int row, int count);
    void FillRows(const RowSource *query);
    void CloseResult(bool show);

    // Written by FillRows instead of a numeric 0; the empty text after each OpenTemplate.
    XValue ZeroValue;

    const std::string &outputName() const { return output_; }
    XCell *workbook() { return book_.get(); }

private:
    XCell &book();
    Hooks hooks_;
    std::unique_ptr<XCell> book_;
    std::string output_;
};

} // namespace focaris::xls

// The template filler over the workbook component. Markers are compared with the letters
// a-z taken without regard to case and every other character exactly.
#include "engines/xls/WorkbookFiller.h"

#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"
#include "engines/xls/Bytes.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace focaris::xls {
namespace {

std::string trimmed(const std::string &s)
{
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

long daySerial(int year, int month, int day)
{
    // Days from 1 January of year 1 (proleptic Gregorian), then moved to 30 December 1899.
    static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const long y = year - 1;
    long days = y * 365 + y / 4 - y / 100 + y / 400 + before[(month - 1) % 12] + day - 1;
    if (month > 2 && isLeapYear(year))
        ++days;
    return days - 693593; // 693593 days from 1 January 1 to 30 December 1899
}

std::string XValue::asText() const
{
    if (!isNumber)
        return text;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", number);
    return buf;
}

WorkbookFiller::WorkbookFiller(Hooks hooks) : hooks_(std::move(hooks)) {}

XCell &WorkbookFiller::book()
{
    if (!book_)
        throw XlsError("no workbook is open");
    return *book_;
}

bool WorkbookFiller::OpenTemplate(const std::string &path, bool /*useApplication*/)
{
    const std::filesystem::path found = files::resolveCaseInsensitive(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(found, ec))
        return false;
    if (!hooks_.newOutputName)
        throw XlsError("no output name for the filled workbook");
    std::string output = hooks_.newOutputName();
    if (std::filesystem::equivalent(found, output, ec))
        throw XlsError("the filled workbook would overwrite its template");
    book_ = std::make_unique<XCell>(XCell::open(found.string()));
    book_->setActiveSheet(1);
    output_ = std::move(output);
    ZeroValue = XValue::Text({});
    return true;
}

void WorkbookFiller::SelectSheet(int n)
{
    book().setActiveSheet(n);
}

void WorkbookFiller::SetCell(int row, int col, const XValue &v)
{
    if (v.isNumber)
        book().setNumber(row, col, v.number);
    else
        book().setText(row, col, v.text);
}

void WorkbookFiller::ReplaceText(const std::string &marker, const XValue &value)
{
    XCell &x = book();
    if (marker.empty())
        return;
    const std::string upperMarker = text::asciiUpper(marker);
    const std::string replacement = value.asText();
    const int rows = x.lastRow(), cols = x.lastCol();
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            const CellValue v = x.value(r, c);
            if (v.type != CellValue::Type::Text || v.formula)
                continue;
            if (text::equalsIgnoreAsciiCase(v.text, marker)) {
                SetCell(r, c, value);
                continue;
            }
            // ASCII upper-casing keeps every byte's place, so positions carry over.
            std::string t = v.text, upper = text::asciiUpper(t);
            std::size_t from = 0, found;
            bool changed = false;
            while ((found = upper.find(upperMarker, from)) != std::string::npos) {
                t.replace(found, marker.size(), replacement);
                upper.replace(found, marker.size(), text::asciiUpper(replacement));
                from = found + replacement.size();
                changed = true;
            }
            if (changed)
                x.setText(r, c, t);
        }
}

void WorkbookFiller::InsertRowCopies(int row, int count)
{
    book().insertRowCopies(row, count);
}

void WorkbookFiller::FillRows(const RowSource *q)
{
    XCell &x = book();
    if (!q || !q->isOpen())
        return;
    const int rows = x.lastRow(), cols = x.lastCol();
    int dataRow = 0;
    for (int r = 1; r <= rows && !dataRow; ++r)
        for (int c = 1; c <= cols; ++c) {
            const CellValue v = x.value(r, c);
            if (v.type == CellValue::Type::Text && !v.formula && text::equalsIgnoreAsciiCase(trimmed(v.text), "#DBF")) {
                x.setEmpty(r, c);
                dataRow = r;
                break;
            }
        }
    if (!dataRow)
        return;

    // What each cell of the data row asks for; the copies hold the same markers.
    enum class Fill { Keep, Ordinal, Column };
    struct Slot {
        Fill fill = Fill::Keep;
        int column = -1;
    };
    std::vector<Slot> slots(std::size_t(cols) + 1);
    for (int c = 1; c <= cols; ++c) {
        const CellValue v = x.value(dataRow, c);
        if (v.type != CellValue::Type::Text || v.formula)
            continue;
        const std::string t = trimmed(v.text);
        if (text::equalsIgnoreAsciiCase(t, "%NRCRT")) {
            slots[c].fill = Fill::Ordinal;
        } else if (t.size() > 1 && t[0] == '#') {
            for (int k = 0; k < q->columnCount(); ++k)
                if (text::equalsIgnoreAsciiCase(t.substr(1), q->columnName(k))) {
                    slots[c] = Slot{Fill::Column, k};
                    break;
                }
        }
    }

    const std::size_t n = q->rowCount();
    if (n == 0) {
        for (int c = 1; c <= cols; ++c)
            if (x.value(dataRow, c).type != CellValue::Type::Empty)
                x.setEmpty(dataRow, c);
        return;
    }
    x.insertRowCopies(dataRow, int(n - 1));
    for (std::size_t k = 0; k < n; ++k) {
        const int row = dataRow + int(k);
        for (int c = 1; c <= cols; ++c) {
            const Slot &s = slots[c];
            if (s.fill == Fill::Ordinal) {
                x.setNumber(row, c, double(k + 1));
            } else if (s.fill == Fill::Column) {
                const FieldValue f = q->value(k, s.column);
                if (q->columnKind(s.column) == ColumnKind::Text) {
                    x.setText(row, c, f.kind == FieldValue::Kind::Null ? std::string() : f.text);
                    continue;
                }
                double v = 0;
                if (f.kind == FieldValue::Kind::Number || f.kind == FieldValue::Kind::Date) {
                    v = f.number;
                } else if (f.kind == FieldValue::Kind::Text) {
                    const std::string t = trimmed(f.text);
                    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
                    if (ec != std::errc() || p != t.data() + t.size() || !std::isfinite(v))
                        v = 0;
                }
                SetCell(row, c, v == 0 ? ZeroValue : XValue::Number(v));
            }
        }
        if (hooks_.processEvents)
            hooks_.processEvents();
    }
}

void WorkbookFiller::CloseResult(bool show)
{
    book().save(output_);
    book_.reset();
    if (show && hooks_.openDocument)
        hooks_.openDocument(output_);
}

} // namespace focaris::xls

// The workbook: the globals substream (sheet list, shared strings, names, external sheet
// references) and one Sheet per BOUNDSHEET record. Saving writes the globals with every
// stream position recomputed (BOUNDSHEET, EXTSST, the sheets' INDEX and DBCELL records).
#include "engines/xls/XCell.h"

#include "engines/xls/Bytes.h"
#include "engines/xls/CompoundFile.h"
#include "engines/xls/FormulaRefs.h"
#include "engines/xls/Records.h"
#include "engines/xls/SharedStrings.h"
#include "engines/xls/Sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>

namespace focaris::xls {
namespace {

constexpr uint32_t kRows = 65536;
constexpr uint16_t kCols = 256;

std::string readUnicodeString(std::string_view d, std::size_t at, std::size_t cchSize)
{
    const std::size_t cch = cchSize == 1 ? rd8(d, at) : rd16(d, at);
    const bool wide = rd8(d, at + cchSize) & 1;
    const std::size_t n = cch * (wide ? 2 : 1);
    if (at + cchSize + 1 + n > d.size())
        throw XlsError("workbook is damaged: a text is longer than its record");
    return utf16ToUtf8(d.substr(at + cchSize + 1, n), !wide);
}

std::string errorText(uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    default: return "#N/A";
    }
}

double readDouble(std::string_view d, std::size_t at)
{
    uint64_t bits = rd64(d, at);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

// The expression of a FORMULA cell (after its 16 bytes of value, flags and length).
bool formulaRgce(const Cell &c, std::string &rgce)
{
    if (c.type != rec::FORMULA || c.payload.size() < 16)
        return false;
    const std::size_t cce = rd16(c.payload, 14);
    if (16 + cce > c.payload.size())
        return false;
    rgce = c.payload.substr(16, cce);
    return true;
}

void setFormulaRgce(Cell &c, const std::string &rgce)
{
    const std::size_t cce = rd16(c.payload, 14);
    c.payload.replace(16, cce, rgce);
    put16(c.payload, 14, uint16_t(rgce.size()));
    put16(c.payload, 8, uint16_t(rd16(c.payload, 8) | 0x0001)); // recalculate on load
}

} // namespace

struct XCell::Impl {
    CompoundFile cf;
    std::string streamName;
    std::vector<Record> globals;
    long sstAt = -1;
    std::size_t sstEnd = 0;
    SharedStrings sst;
    std::vector<Sheet> sheets;
    int active = 0;
    bool rewrite = false;
    struct Xti {
        uint16_t book, first, last;
    };
    std::vector<Xti> xti;
    long selfBook = -1;

    void load(std::string_view file);
    CellValue decode(const Cell &c) const;
    Cell &slot(int row, int col);
    uint16_t defaultXf(const Sheet &s, const Row &row, uint16_t col) const;
    void moveSheetRecords(std::vector<Record> &records, std::vector<bool> *nested, const RowInsert &ins);
    void moveNames(int sheet, const RowInsert &ins);
};

namespace {

// A small evaluator of a formula's parsed tokens: numbers and references only, so that the
// totals of a filled workbook can be stored with the file. Any token it does not know ends
// the evaluation without a result.
class FormulaValues {
public:
    FormulaValues(std::vector<Sheet> &sheets, std::function<int(uint16_t)> sheetOfXti)
        : sheets_(sheets), sheetOfXti_(std::move(sheetOfXti))
    {
    }

    // The numeric result of the formula at (sheet, row, col), 0-based; false when it has none.
    bool result(int sheet, uint32_t row, uint16_t col, double &out)
    {
        const uint64_t key = (uint64_t(sheet) << 32) | (uint64_t(row) << 16) | col;
        if (auto it = done_.find(key); it != done_.end()) {
            out = it->second.value;
            return it->second.ok;
        }
        if (!busy_.insert(key).second || busy_.size() > 200)
            return false; // a circular reference, or a chain too deep to follow
        Outcome o;
        try {
            o.ok = evaluate(sheet, row, col, o.value);
        } catch (const XlsError &) {
            o.ok = false; // an expression cut short: the cell keeps the value it had
        }
        busy_.erase(key);
        done_[key] = o;
        out = o.value;
        return o.ok;
    }

private:
    struct Outcome {
        bool ok = false;
        double value = 0;
    };
    // A value on the evaluation stack: one number, or the numbers of a range.
    struct Item {
        bool range = false;
        double number = 0;
        std::vector<double> numbers;
    };

    const Cell *cellAt(int sheet, uint32_t row, uint16_t col) const
    {
        if (sheet < 0 || std::size_t(sheet) >= sheets_.size())
            return nullptr;
        const auto &rows = sheets_[std::size_t(sheet)].rows;
        const auto r = rows.find(row);
        if (r == rows.end())
            return nullptr;
        const auto c = r->second.cells.find(col);
        return c == r->second.cells.end() ? nullptr : &c->second;
    }

    // The number a cell holds: 0 for an empty cell; false for text and anything else.
    bool number(int sheet, uint32_t row, uint16_t col, double &out, bool &isNumber)
    {
        isNumber = false;
        out = 0;
        const Cell *c = cellAt(sheet, row, col);
        if (!c || c->type == rec::BLANK || c->type == rec::MULBLANK)
            return true;
        switch (c->type) {
        case rec::NUMBER:
            out = readDouble(c->payload, 0);
            isNumber = true;
            return true;
        case rec::RK:
            out = rkValue(rd32(c->payload, 0));
            isNumber = true;
            return true;
        case rec::FORMULA: isNumber = result(sheet, row, col, out); return isNumber;
        default: return false;
        }
    }

    // The numbers of a range (texts and empty cells are skipped, as SUM does).
    bool rangeNumbers(int sheet, uint32_t r1, uint32_t r2, uint16_t c1, uint16_t c2, std::vector<double> &out)
    {
        if (sheet < 0 || std::size_t(sheet) >= sheets_.size())
            return false;
        const auto &rows = sheets_[std::size_t(sheet)].rows;
        for (auto r = rows.lower_bound(r1); r != rows.end() && r->first <= r2; ++r)
            for (auto c = r->second.cells.lower_bound(c1); c != r->second.cells.end() && c->first <= c2; ++c) {
                double v = 0;
                bool isNumber = false;
                if (c->second.type == rec::FORMULA && !number(sheet, r->first, c->first, v, isNumber))
                    return false; // a formula inside the range that cannot be computed
                if (c->second.type != rec::FORMULA)
                    number(sheet, r->first, c->first, v, isNumber);
                if (isNumber)
                    out.push_back(v);
            }
        return true;
    }

    bool evaluate(int sheet, uint32_t row, uint16_t col, double &out)
    {
        const Cell *c = cellAt(sheet, row, col);
        std::string rgce;
        if (!c || !formulaRgce(*c, rgce))
            return false;
        std::vector<Item> stack;
        auto scalar = [](Item &i) {
            if (i.range) {
                if (i.numbers.size() != 1)
                    return false;
                i.number = i.numbers.front();
                i.range = false;
            }
            return true;
        };
        auto reference = [&](int s, uint32_t r, uint16_t col2) {
            double v = 0;
            bool isNumber = false;
            if (!number(s, r, col2, v, isNumber))
                return false;
            stack.push_back(Item{false, v, {}});
            return true;
        };
        std::size_t p = 0;
        while (p < rgce.size()) {
            const uint8_t ptg = uint8_t(rgce[p++]);
            const uint8_t base = ptg >= 0x20 ? uint8_t((ptg & 0x1F) | 0x20) : ptg;
            switch (base) {
            case 0x03:
            case 0x04:
            case 0x05:
            case 0x06: { // + - * /
                if (stack.size() < 2)
                    return false;
                Item b = stack.back();
                stack.pop_back();
                Item &a = stack.back();
                if (!scalar(a) || !scalar(b))
                    return false;
                if (base == 0x03)
                    a.number += b.number;
                else if (base == 0x04)
                    a.number -= b.number;
                else if (base == 0x05)
                    a.number *= b.number;
                else if (b.number == 0)
                    return false;
                else
                    a.number /= b.number;
                break;
            }
            case 0x12:
            case 0x13: // unary plus and minus
                if (stack.empty() || !scalar(stack.back()))
                    return false;
                if (base == 0x13)
                    stack.back().number = -stack.back().number;
                break;
            case 0x15: break; // parentheses
            case 0x19: {      // attributes: a one-argument SUM, spaces and the volatile mark
                const uint8_t flags = rd8(rgce, p);
                p += 3;
                if (flags & 0x0E)
                    return false; // IF, CHOOSE and jumps
                if (flags & 0x10) {
                    if (stack.empty())
                        return false;
                    Item &a = stack.back();
                    double sum = 0;
                    for (double v : a.range ? a.numbers : std::vector<double>{a.number})
                        sum += v;
                    a = Item{false, sum, {}};
                }
                break;
            }
            case 0x1E:
                stack.push_back(Item{false, double(rd16(rgce, p)), {}});
                p += 2;
                break;
            case 0x1F:
                stack.push_back(Item{false, readDouble(rgce, p), {}});
                p += 8;
                break;
            case 0x24: // a cell reference
                if (!reference(sheet, rd16(rgce, p), uint16_t(rd16(rgce, p + 2) & 0x3FFF)))
                    return false;
                p += 4;
                break;
            case 0x3A: { // a cell of another sheet
                const int s = sheetOfXti_(rd16(rgce, p));
                if (s < 0 || !reference(s, rd16(rgce, p + 2), uint16_t(rd16(rgce, p + 4) & 0x3FFF)))
                    return false;
                p += 6;
                break;
            }
            case 0x25:
            case 0x3B: { // a range, of this sheet or another
                int s = sheet;
                if (base == 0x3B) {
                    s = sheetOfXti_(rd16(rgce, p));
                    p += 2;
                }
                Item i{true, 0, {}};
                if (s < 0 || !rangeNumbers(s, rd16(rgce, p), rd16(rgce, p + 2), uint16_t(rd16(rgce, p + 4) & 0x3FFF),
                                           uint16_t(rd16(rgce, p + 6) & 0x3FFF), i.numbers))
                    return false;
                p += 8;
                stack.push_back(std::move(i));
                break;
            }
            case 0x21:
            case 0x22: { // a function: fixed or variable number of arguments
                std::size_t args = 0;
                if (base == 0x22)
                    args = rd8(rgce, p++);
                const uint16_t fn = rd16(rgce, p) & 0x7FFF;
                p += 2;
                if (base == 0x21)
                    args = fn == 27 ? 2 : 1; // ROUND takes two; ABS and INT one
                if (stack.size() < args || args == 0)
                    return false;
                std::vector<Item> given(stack.end() - long(args), stack.end());
                stack.resize(stack.size() - args);
                double v = 0;
                if (fn == 4 || fn == 6 || fn == 7) { // SUM, MIN, MAX
                    std::vector<double> all;
                    for (const Item &i : given)
                        for (double x : i.range ? i.numbers : std::vector<double>{i.number})
                            all.push_back(x);
                    if (fn == 4)
                        for (double x : all)
                            v += x;
                    else if (!all.empty())
                        v = fn == 6 ? *std::min_element(all.begin(), all.end())
                                    : *std::max_element(all.begin(), all.end());
                } else if (fn == 24 || fn == 25 || fn == 27) { // ABS, INT, ROUND
                    for (Item &i : given)
                        if (!scalar(i))
                            return false;
                    const double x = given[0].number;
                    if (fn == 24)
                        v = std::fabs(x);
                    else if (fn == 25)
                        v = std::floor(x);
                    else {
                        const double scale = std::pow(10.0, given[1].number);
                        v = std::round(x * scale) / scale;
                    }
                } else {
                    return false;
                }
                stack.push_back(Item{false, v, {}});
                break;
            }
            default: return false;
            }
        }
        if (stack.size() != 1 || !scalar(stack.back()) || !std::isfinite(stack.back().number))
            return false;
        out = stack.back().number;
        return true;
    }

    std::vector<Sheet> &sheets_;
    std::function<int(uint16_t)> sheetOfXti_;
    std::map<uint64_t, Outcome> done_;
    std::set<uint64_t> busy_;
};

} // namespace

void XCell::Impl::load(std::string_view file)
{
    cf = CompoundFile::parse(file);
    const std::string *wb = cf.stream("Workbook");
    streamName = "Workbook";
    if (!wb) {
        if (cf.stream("Book"))
            throw XlsError("Excel 5.0/95 workbooks are not supported: save it in the Excel "
                           "97-2003 format");
        throw XlsError("not an Excel workbook: the file has no Workbook stream");
    }
    const std::string &s = *wb;
    Record bof = readRecord(s, 0);
    if (bof.type != rec::BOF || bof.data.size() < 4 || rd16(bof.data, 0) != 0x0600)
        throw XlsError("the workbook is not in the Excel 97-2003 format (BIFF8)");
    if (rd16(bof.data, 2) != 0x0005)
        throw XlsError("workbook is damaged: it does not start with the workbook globals");

    std::size_t pos = 0;
    for (;;) {
        Record r = readRecord(s, pos);
        pos += 4 + r.data.size();
        if (r.type == rec::FILEPASS)
            throw XlsError("the workbook is protected by a password (encrypted); save it "
                           "without a password first");
        const bool end = r.type == rec::EOF_;
        globals.push_back(std::move(r));
        if (end)
            break;
    }

    std::vector<std::string_view> sstSegments;
    std::string externSheet;
    long books = 0;
    std::vector<std::pair<uint32_t, std::size_t>> starts; // position, sheet
    for (std::size_t i = 0; i < globals.size(); ++i) {
        const Record &r = globals[i];
        if (r.type == rec::SST && sstAt < 0) {
            sstAt = long(i);
            sstSegments.push_back(r.data);
            std::size_t j = i + 1;
            while (j < globals.size() && globals[j].type == rec::CONTINUE)
                sstSegments.push_back(globals[j++].data);
            sstEnd = j;
        } else if (r.type == rec::BOUNDSHEET) {
            Sheet sh;
            const uint32_t at = rd32(r.data, 0);
            if (at < pos || at >= s.size())
                throw XlsError("workbook is damaged: a sheet lies outside the workbook stream");
            sh.kind = rd8(r.data, 5);
            sh.name = readUnicodeString(r.data, 6, 1);
            starts.emplace_back(at, sheets.size());
            sheets.push_back(std::move(sh));
        } else if (r.type == rec::SUPBOOK) {
            if (r.data.size() >= 4 && rd16(r.data, 2) == 0x0401)
                selfBook = books;
            ++books;
        } else if (r.type == rec::EXTERNSHEET) {
            externSheet = r.data;
            for (std::size_t j = i + 1; j < globals.size() && globals[j].type == rec::CONTINUE; ++j)
                externSheet += globals[j].data;
        }
    }
    if (externSheet.size() >= 2) {
        const std::size_t n = std::min<std::size_t>(rd16(externSheet, 0), (externSheet.size() - 2) / 6);
        for (std::size_t k = 0; k < n; ++k)
            xti.push_back(
                Xti{rd16(externSheet, 2 + 6 * k), rd16(externSheet, 4 + 6 * k), rd16(externSheet, 6 + 6 * k)});
    }
    sst.parse(sstSegments);

    // Sheets must not overlap: each is read once, so a damaged sheet list cannot make
    // the engine read the same bytes again and again.
    std::sort(starts.begin(), starts.end());
    std::size_t end = pos;
    for (const auto &[at, index] : starts) {
        if (at < end)
            throw XlsError("workbook is damaged: two sheets share the same records");
        sheets[index].parse(s, at);
        end = at + sheets[index].serialize(at).size();
    }
    // Every text cell must point into the string table.
    for (const Sheet &sh : sheets)
        for (const auto &[r, row] : sh.rows)
            for (const auto &[c, cell] : row.cells)
                if (cell.type == rec::LABELSST)
                    sst.text(rd32(cell.payload, 0));
}

CellValue XCell::Impl::decode(const Cell &c) const
{
    CellValue v;
    switch (c.type) {
    case rec::LABELSST:
        v.type = CellValue::Type::Text;
        v.text = sst.text(rd32(c.payload, 0));
        break;
    case rec::LABEL:
    case rec::RSTRING:
        v.type = CellValue::Type::Text;
        v.text = readUnicodeString(c.payload, 0, 2);
        break;
    case rec::NUMBER:
        v.type = CellValue::Type::Number;
        v.number = readDouble(c.payload, 0);
        break;
    case rec::RK:
        v.type = CellValue::Type::Number;
        v.number = rkValue(rd32(c.payload, 0));
        break;
    case rec::BOOLERR:
        if (rd8(c.payload, 1)) {
            v.type = CellValue::Type::Error;
            v.text = errorText(rd8(c.payload, 0));
        } else {
            v.type = CellValue::Type::Bool;
            v.number = rd8(c.payload, 0) ? 1 : 0;
        }
        break;
    case rec::FORMULA: {
        v.formula = true;
        if (rd16(c.payload, 6) != 0xFFFF) {
            v.type = CellValue::Type::Number;
            v.number = readDouble(c.payload, 0);
            break;
        }
        const uint8_t kind = rd8(c.payload, 0);
        if (kind == 0 || kind == 3) {
            v.type = CellValue::Type::Text;
            for (const Record &x : c.extra)
                if (x.type == rec::STRING && kind == 0)
                    v.text = readUnicodeString(x.data, 0, 2);
        } else if (kind == 1) {
            v.type = CellValue::Type::Bool;
            v.number = rd8(c.payload, 2) ? 1 : 0;
        } else if (kind == 2) {
            v.type = CellValue::Type::Error;
            v.text = errorText(rd8(c.payload, 2));
        }
        break;
    }
    default: break;
    }
    return v;
}

uint16_t XCell::Impl::defaultXf(const Sheet &s, const Row &row, uint16_t col) const
{
    if (row.record.size() >= 16 && (rd16(row.record, 12) & 0x0080))
        return rd16(row.record, 14) & 0x0FFF;
    for (const Record &r : s.before)
        if (r.type == rec::COLINFO && r.data.size() >= 8 && col >= rd16(r.data, 0) && col <= rd16(r.data, 2))
            return rd16(r.data, 6);
    return 15;
}

Cell &XCell::Impl::slot(int row, int col)
{
    if (row < 1 || row > int(kRows) || col < 1 || col > kCols)
        throw XlsError("cell " + std::to_string(row) + "," + std::to_string(col) + " lies outside the sheet");
    if (sheets.empty())
        throw XlsError("the workbook has no sheet");
    Sheet &s = sheets[std::size_t(active)];
    s.prepareEdit();
    Row &r = s.rows[uint32_t(row - 1)];
    auto it = r.cells.find(uint16_t(col - 1));
    if (it == r.cells.end()) {
        Cell c;
        c.xf = defaultXf(s, r, uint16_t(col - 1));
        it = r.cells.emplace(uint16_t(col - 1), std::move(c)).first;
    }
    it->second.extra.clear();
    it->second.payload.clear();
    return it->second;
}

void XCell::Impl::moveSheetRecords(std::vector<Record> &records, std::vector<bool> *nested, const RowInsert &ins)
{
    std::vector<Record> out;
    std::vector<bool> outNested;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record r = std::move(records[i]);
        const bool inner = nested && (*nested)[i];
        auto keep = [&](Record &&x) {
            out.push_back(std::move(x));
            outNested.push_back(inner);
        };
        if (inner) {
            keep(std::move(r));
            continue;
        }
        std::string &d = r.data;
        switch (r.type) {
        case rec::MERGEDCELLS: {
            // A merge inside the copied row is copied with it; others move or grow.
            std::vector<std::string> refs;
            const std::size_t n = d.size() >= 2 ? std::min<std::size_t>(rd16(d, 0), (d.size() - 2) / 8) : 0;
            for (std::size_t k = 0; k < n; ++k) {
                std::string ref = d.substr(2 + 8 * k, 8);
                const uint16_t a = rd16(ref, 0), b = rd16(ref, 2);
                if (a == ins.at && b == ins.at) {
                    refs.push_back(ref);
                    for (uint32_t c = 1; c <= ins.count; ++c) {
                        put16(ref, 0, uint16_t(a + c));
                        put16(ref, 2, uint16_t(b + c));
                        refs.push_back(ref);
                    }
                    continue;
                }
                put16(ref, 0, uint16_t(std::min(ins.row(a), kRows - 1)));
                put16(ref, 2, uint16_t(std::min(ins.last(b), kRows - 1)));
                refs.push_back(ref);
            }
            for (std::size_t k = 0; k < refs.size() || k == 0; k += 1026) {
                Record m{rec::MERGEDCELLS, {}};
                const std::size_t take = std::min<std::size_t>(1026, refs.size() - k);
                app16(m.data, uint16_t(take));
                for (std::size_t j = 0; j < take; ++j)
                    m.data += refs[k + j];
                keep(std::move(m));
            }
            continue;
        }
        case rec::CONDFMT: {
            auto area = [&](std::size_t at) {
                put16(d, at, uint16_t(std::min(ins.row(rd16(d, at)), kRows - 1)));
                put16(d, at + 2, uint16_t(std::min(ins.last(rd16(d, at + 2)), kRows - 1)));
            };
            if (d.size() >= 14) {
                area(4);
                const std::size_t n = std::min<std::size_t>(rd16(d, 12), (d.size() - 14) / 8);
                for (std::size_t k = 0; k < n; ++k)
                    area(14 + 8 * k);
            }
            break;
        }
        case rec::HLINK:
            if (d.size() >= 4) {
                put16(d, 0, uint16_t(std::min(ins.row(rd16(d, 0)), kRows - 1)));
                put16(d, 2, uint16_t(std::min(ins.row(rd16(d, 2)), kRows - 1)));
            }
            break;
        case rec::NOTE:
            if (d.size() >= 2)
                put16(d, 0, uint16_t(std::min(ins.row(rd16(d, 0)), kRows - 1)));
            break;
        case rec::HPAGEBREAKS:
            if (d.size() >= 2) {
                const std::size_t n = std::min<std::size_t>(rd16(d, 0), (d.size() - 2) / 6);
                for (std::size_t k = 0; k < n; ++k)
                    put16(d, 2 + 6 * k, uint16_t(std::min(ins.row(rd16(d, 2 + 6 * k)), kRows - 1)));
            }
            break;
        default: break;
        }
        keep(std::move(r));
    }
    records = std::move(out);
    if (nested)
        *nested = std::move(outNested);
}

void XCell::Impl::moveNames(int sheet, const RowInsert &ins)
{
    RefChange change;
    change.insert = &ins;
    change.sheetOf3d = [&](uint16_t i) {
        return i < xti.size() && long(xti[i].book) == selfBook && xti[i].first <= sheet && sheet <= xti[i].last;
    };
    for (std::size_t i = 0; i < globals.size(); ++i) {
        Record &r = globals[i];
        if (r.type != rec::NAME || r.data.size() < 15)
            continue;
        if (i + 1 < globals.size() && globals[i + 1].type == rec::CONTINUE)
            continue;
        const std::size_t cch = rd8(r.data, 3), cce = rd16(r.data, 4);
        const std::size_t at = 15 + cch * ((rd8(r.data, 14) & 1) ? 2 : 1);
        if (at + cce > r.data.size())
            continue;
        std::string rgce = r.data.substr(at, cce);
        if (adjustFormula(rgce, change))
            r.data.replace(at, cce, rgce);
    }
}

XCell::XCell() : d(std::make_unique<Impl>()) {}
XCell::~XCell() = default;
XCell::XCell(XCell &&) noexcept = default;
XCell &XCell::operator=(XCell &&) noexcept = default;

XCell XCell::fromBytes(std::string_view file)
{
    XCell x;
    x.d->load(file);
    return x;
}

XCell XCell::open(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw XlsError("cannot open \"" + path + "\"");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw XlsError("cannot read \"" + path + "\"");
    return fromBytes(bytes);
}

int XCell::sheetCount() const
{
    return int(d->sheets.size());
}

std::string XCell::sheetName(int sheet) const
{
    if (sheet < 1 || sheet > sheetCount())
        throw XlsError("the workbook has no sheet " + std::to_string(sheet));
    return d->sheets[std::size_t(sheet - 1)].name;
}

int XCell::activeSheet() const
{
    return d->active + 1;
}

bool XCell::setActiveSheet(int sheet)
{
    if (sheet < 1 || sheet > sheetCount())
        return false;
    d->active = sheet - 1;
    return true;
}

int XCell::lastRow() const
{
    return d->sheets.empty() ? 0 : d->sheets[d->active].lastRow();
}
int XCell::lastCol() const
{
    return d->sheets.empty() ? 0 : d->sheets[d->active].lastCol();
}

CellValue XCell::value(int row, int col) const
{
    if (d->sheets.empty() || row < 1 || col < 1)
        return {};
    const Sheet &s = d->sheets[d->active];
    auto r = s.rows.find(uint32_t(row - 1));
    if (r == s.rows.end())
        return {};
    auto c = r->second.cells.find(uint16_t(col - 1));
    return c == r->second.cells.end() ? CellValue{} : d->decode(c->second);
}

std::vector<CellEntry> XCell::cells() const
{
    std::vector<CellEntry> out;
    if (d->sheets.empty())
        return out;
    for (const auto &[r, row] : d->sheets[d->active].rows)
        for (const auto &[c, cell] : row.cells) {
            CellValue v = d->decode(cell);
            if (v.type != CellValue::Type::Empty)
                out.push_back(CellEntry{int(r) + 1, int(c) + 1, std::move(v)});
        }
    return out;
}

void XCell::setText(int row, int col, std::string_view utf8)
{
    if (utf8.empty())
        return setEmpty(row, col);
    const uint32_t index = d->sst.add(utf8);
    Cell &c = d->slot(row, col);
    c.type = rec::LABELSST;
    app32(c.payload, index);
}

void XCell::setNumber(int row, int col, double v)
{
    Cell &c = d->slot(row, col);
    uint32_t rk;
    if (toRk(v, rk)) {
        c.type = rec::RK;
        app32(c.payload, rk);
    } else {
        c.type = rec::NUMBER;
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        app32(c.payload, uint32_t(bits));
        app32(c.payload, uint32_t(bits >> 32));
    }
}

void XCell::setEmpty(int row, int col)
{
    d->slot(row, col).type = rec::BLANK;
}

void XCell::insertRowCopies(int row, int count)
{
    if (count <= 0 || d->sheets.empty())
        return;
    Sheet &s = d->sheets[d->active];
    if (row < 1 || row > int(kRows))
        throw XlsError("row " + std::to_string(row) + " lies outside the sheet");
    const uint32_t last = s.rows.empty() ? 0 : s.rows.rbegin()->first;
    if (uint64_t(std::max<uint32_t>(last, uint32_t(row - 1))) + uint64_t(count) >= kRows)
        throw XlsError("the sheet cannot hold " + std::to_string(count) + " more rows");
    s.prepareEdit();
    RowInsert ins{uint32_t(row - 1), uint32_t(count)};
    const int sheetIndex = d->active;
    auto targets = [&](uint16_t i) {
        return i < d->xti.size() && long(d->xti[i].book) == d->selfBook && d->xti[i].first <= sheetIndex &&
               sheetIndex <= d->xti[i].last;
    };

    // Formulas of this sheet: references move; Exp tokens follow their moved anchor.
    for (auto &[r, rw] : s.rows)
        for (auto &[c, cell] : rw.cells) {
            std::string rgce;
            if (!formulaRgce(cell, rgce))
                continue;
            if (rgce.size() == 5 && uint8_t(rgce[0]) == 0x01) {
                put16(rgce, 1, uint16_t(ins.row(rd16(rgce, 1))));
                setFormulaRgce(cell, rgce);
            } else {
                RefChange change;
                change.insert = &ins;
                change.sameSheet = true;
                change.sheetOf3d = targets;
                change.widen = r != ins.at;
                const std::string before = rgce;
                if (adjustFormula(rgce, change) && rgce != before)
                    setFormulaRgce(cell, rgce);
            }
            for (Record &x : cell.extra) {
                if ((x.type == rec::ARRAY || x.type == rec::TABLE) && x.data.size() >= 4) {
                    put16(x.data, 0, uint16_t(ins.row(rd16(x.data, 0))));
                    put16(x.data, 2, uint16_t(ins.row(rd16(x.data, 2))));
                }
                if (x.type == rec::ARRAY && x.data.size() >= 14) {
                    const std::size_t cce = rd16(x.data, 12);
                    if (14 + cce <= x.data.size()) {
                        std::string a = x.data.substr(14, cce);
                        RefChange change;
                        change.insert = &ins;
                        change.sameSheet = true;
                        change.sheetOf3d = targets;
                        if (adjustFormula(a, change))
                            x.data.replace(14, cce, a);
                    }
                }
            }
        }

    // Rows below move down; the copies are made from the row as adjusted above.
    std::map<uint32_t, Row> moved;
    for (auto &[r, rw] : s.rows)
        moved.emplace_hint(moved.end(), ins.row(r), std::move(rw));
    auto src = moved.find(ins.at);
    if (src != moved.end()) {
        Row source = src->second;
        for (auto &[c, cell] : source.cells)
            if (cell.type == rec::FORMULA) {
                const bool partOfArray = cell.payload.size() > 16 && uint8_t(cell.payload[16]) == 0x01;
                const bool anchor = std::any_of(cell.extra.begin(), cell.extra.end(), [](const Record &x) {
                    return x.type == rec::ARRAY || x.type == rec::TABLE;
                });
                if (partOfArray || anchor)
                    cell = formulaToValue(cell); // array formulas are not copied
            }
        auto hint = std::next(src);
        for (uint32_t k = 1; k <= ins.count; ++k) {
            Row copy = source;
            for (auto &[c, cell] : copy.cells) {
                std::string rgce;
                if (!formulaRgce(cell, rgce))
                    continue;
                RefChange change;
                change.copyOffset = int(k);
                if (adjustFormula(rgce, change))
                    setFormulaRgce(cell, rgce);
                else
                    cell = formulaToValue(cell);
            }
            hint = std::next(moved.emplace_hint(hint, ins.at + k, std::move(copy)));
        }
    }
    s.rows = std::move(moved);
    d->moveSheetRecords(s.before, nullptr, ins);
    d->moveSheetRecords(s.after, &s.afterNested, ins);

    // Formulas of the other sheets that point into this one.
    for (std::size_t t = 0; t < d->sheets.size(); ++t) {
        if (int(t) == sheetIndex)
            continue;
        for (auto &[r, rw] : d->sheets[t].rows)
            for (auto &[c, cell] : rw.cells) {
                std::string rgce;
                if (!formulaRgce(cell, rgce))
                    continue;
                RefChange change;
                change.insert = &ins;
                change.sheetOf3d = targets;
                const std::string before = rgce;
                if (adjustFormula(rgce, change) && rgce != before) {
                    setFormulaRgce(cell, rgce);
                    d->sheets[t].modified = true;
                }
            }
    }
    d->moveNames(sheetIndex, ins);
}

std::string XCell::toBytes() const
{
    // The formulas of the changed sheets get their computed results as cached values, so
    // that a reader that does not recalculate (an agency's import, a phone's viewer) shows
    // the totals. Numeric formulas of numbers, references, + - * / and SUM, MIN, MAX, ABS,
    // INT, ROUND are computed; any other keeps the value it had. Sheets that were not
    // changed are written back as they were read.
    {
        Impl &m = *d;
        FormulaValues values(m.sheets, [&m](uint16_t i) {
            if (i >= m.xti.size() || long(m.xti[i].book) != m.selfBook || m.xti[i].first != m.xti[i].last)
                return -1;
            return int(m.xti[i].first);
        });
        for (std::size_t s = 0; s < m.sheets.size(); ++s) {
            Sheet &sheet = m.sheets[s];
            bool any = false;
            for (const auto &[r, row] : sheet.rows)
                for (const auto &[c, cell] : row.cells)
                    any = any || cell.type == rec::FORMULA;
            if (!any || !sheet.modified)
                continue;
            sheet.prepareEdit();
            for (auto &[r, row] : sheet.rows)
                for (auto &[c, cell] : row.cells) {
                    double v = 0;
                    if (cell.type != rec::FORMULA || cell.payload.size() < 8 || !values.result(int(s), r, c, v))
                        continue;
                    uint64_t bits;
                    std::memcpy(&bits, &v, 8);
                    put32(cell.payload, 0, uint32_t(bits));
                    put32(cell.payload, 4, uint32_t(bits >> 32));
                    // A text result's STRING record no longer belongs to the cell.
                    cell.extra.erase(std::remove_if(cell.extra.begin(), cell.extra.end(),
                                                    [](const Record &x) { return x.type == rec::STRING; }),
                                     cell.extra.end());
                }
        }
    }
    const Impl &m = *d;
    uint32_t total = 0;
    for (const Sheet &s : m.sheets)
        for (const auto &[r, row] : s.rows)
            for (const auto &[c, cell] : row.cells)
                total += cell.type == rec::LABELSST;

    std::string out;
    std::vector<std::size_t> sheetFields;
    auto writeSst = [&] {
        const uint16_t per = m.sst.stringsPerBucket();
        std::vector<SharedStrings::Bucket> buckets;
        std::vector<std::size_t> starts;
        for (const Record &r : m.sst.serialize(total, per, buckets)) {
            starts.push_back(out.size());
            appendRecord(out, r.type, r.data);
        }
        std::string ext;
        app16(ext, per);
        for (const auto &b : buckets) {
            app32(ext, uint32_t(starts[b.record] + b.offset));
            app16(ext, b.offset);
            app16(ext, 0);
        }
        appendRecord(out, rec::EXTSST, ext);
    };
    const bool newSst = m.sst.needsRewrite(total);
    for (std::size_t i = 0; i < m.globals.size(); ++i) {
        const Record &r = m.globals[i];
        if (newSst) {
            if (long(i) == m.sstAt) {
                writeSst();
                i = m.sstEnd - 1;
                continue;
            }
            if (r.type == rec::EXTSST)
                continue;
            if (m.sstAt < 0 && r.type == rec::EOF_)
                writeSst();
        }
        if (r.type == rec::BOUNDSHEET)
            sheetFields.push_back(out.size() + 4);
        appendRecord(out, r.type, r.data);
    }
    for (std::size_t i = 0; i < m.sheets.size(); ++i) {
        put32(out, sheetFields.at(i), uint32_t(out.size()));
        if (m.rewrite) {
            Sheet copy = m.sheets[i];
            copy.modified = true;
            out += copy.serialize(out.size());
        } else {
            out += m.sheets[i].serialize(out.size());
        }
    }
    // Spreadsheet programs keep the workbook out of the small-stream area.
    if (out.size() < 4096)
        out.resize(4096, '\0');
    CompoundFile file = m.cf;
    file.setStream(m.streamName, std::move(out));
    return file.serialize();
}

void XCell::save(const std::string &path) const
{
    const std::string bytes = toBytes();
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw XlsError("cannot create \"" + path + "\"");
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::remove(path.c_str());
        throw XlsError("cannot write \"" + path + "\"");
    }
}

void XCell::rewriteAll()
{
    d->rewrite = true;
}

} // namespace focaris::xls

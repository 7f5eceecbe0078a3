// Reading and writing a sheet substream. The cell table is written in blocks of up to 32
// rows: the ROW records of the block, then the cells of each row, then a DBCELL record
//
//   DBCELL  offset back to the block's first ROW record (4), then for each row the offset
//           of its first cell: the first from the end of the first ROW record, the others
//           from the previous row's first cell (2 each)
//   INDEX   reserved (4), first row (4), last row + 1 (4), position of DEFCOLWIDTH (4),
//           stream positions of the DBCELL records (4 each)
//   DIMENSIONS first row (4), last row + 1 (4), first column (2), last column + 1 (2), 0 (2)
#include "engines/xls/Sheet.h"

#include "engines/xls/Bytes.h"
#include "engines/xls/FormulaRefs.h"

#include <algorithm>

namespace focaris::xls {
namespace {

bool isTableRecord(uint16_t t)
{
    switch (t) {
    case rec::ROW:
    case rec::BLANK:
    case rec::NUMBER:
    case rec::LABEL:
    case rec::BOOLERR:
    case rec::RK:
    case rec::LABELSST:
    case rec::RSTRING:
    case rec::FORMULA:
    case rec::MULRK:
    case rec::MULBLANK:
    case rec::STRING:
    case rec::SHRFMLA:
    case rec::ARRAY:
    case rec::TABLE:
    case rec::DBCELL: return true;
    default: return false;
    }
}

std::string rowRecord(uint32_t r, const Row &row)
{
    std::string d = row.record;
    if (d.size() < 16) {
        // A row the file gave no ROW record: default height, default format.
        d.assign(16, '\0');
        put16(d, 6, 0x00FF);
        put16(d, 12, 0x0100);
        put16(d, 14, 0x000F);
    }
    put16(d, 0, uint16_t(r));
    if (!row.cells.empty()) {
        put16(d, 2, row.cells.begin()->first);
        put16(d, 4, uint16_t(row.cells.rbegin()->first + 1));
    }
    return d;
}

} // namespace

void Sheet::parse(std::string_view stream, std::size_t start)
{
    start_ = start;
    std::size_t pos = start;
    int depth = 0;
    int state = 0; // 0 before the cell table, 1 in it, 2 after it
    Cell *last = nullptr;
    bool lastWasTable = false;
    do {
        const std::size_t recStart = pos;
        Record r = readRecord(stream, pos);
        pos += 4 + r.data.size();
        if (recStart == start && r.type != rec::BOF)
            throw XlsError("workbook is damaged: a sheet does not start with BOF");
        if (r.type == rec::BOF)
            ++depth;
        const bool isEof = r.type == rec::EOF_;
        const bool table = depth == 1 && isTableRecord(r.type);
        if (table && state == 0)
            state = 1;
        else if (!table && state == 1 && r.type != rec::CONTINUE)
            state = 2;

        if (table) {
            lastWasTable = true;
            if (r.type == rec::DBCELL)
                continue;
            if (r.type == rec::STRING || r.type == rec::SHRFMLA || r.type == rec::ARRAY || r.type == rec::TABLE) {
                if (last)
                    last->extra.push_back(std::move(r));
                continue;
            }
            const uint32_t rw = rd16(r.data, 0);
            if (r.type == rec::ROW) {
                rows[rw].record = r.data;
                continue;
            }
            const uint16_t col = rd16(r.data, 2);
            if (col > 255)
                throw XlsError("workbook is damaged: a cell lies beyond column 256");
            if (r.type == rec::MULRK || r.type == rec::MULBLANK) {
                const std::size_t unit = r.type == rec::MULRK ? 6 : 2;
                if (r.data.size() < 6)
                    throw XlsError("workbook is damaged: a record ends too early");
                const std::size_t n = std::min<std::size_t>((r.data.size() - 6) / unit, 256 - col);
                for (std::size_t i = 0; i < n; ++i) {
                    Cell c;
                    c.type = r.type == rec::MULRK ? rec::RK : rec::BLANK;
                    c.xf = rd16(r.data, 4 + i * unit);
                    if (unit == 6)
                        c.payload = r.data.substr(6 + i * unit, 4);
                    last = &(rows[rw].cells[uint16_t(col + i)] = std::move(c));
                }
                continue;
            }
            Cell c;
            c.type = r.type;
            c.xf = rd16(r.data, 4);
            c.payload = r.data.substr(6);
            last = &(rows[rw].cells[col] = std::move(c));
            continue;
        }
        if (r.type == rec::CONTINUE && lastWasTable && last) {
            last->extra.push_back(std::move(r));
            continue;
        }
        lastWasTable = false;
        if (state == 0) {
            if (r.type == rec::INDEX && depth == 1)
                indexAt_ = long(recStart - start);
            before.push_back(std::move(r));
        } else {
            afterNested.push_back(depth > 1);
            after.push_back(std::move(r));
        }
        if (isEof)
            --depth;
    } while (depth > 0);
    if (state == 0) {
        // No cell table: keep the final EOF apart, so that cells written later go before it.
        after.push_back(std::move(before.back()));
        afterNested.push_back(false);
        before.pop_back();
    }
    raw_.assign(stream.substr(start, pos - start));
}

std::string Sheet::serialize(std::size_t base) const
{
    if (!modified) {
        std::string out = raw_;
        const long delta = long(base) - long(start_);
        if (indexAt_ >= 0 && delta != 0) {
            // The INDEX record holds stream positions: DEFCOLWIDTH's and the DBCELLs'.
            const std::size_t d0 = std::size_t(indexAt_) + 4;
            const std::size_t len = rd16(out, std::size_t(indexAt_) + 2);
            auto shift = [&](std::size_t at) {
                if (const uint32_t v = rd32(out, at))
                    put32(out, at, uint32_t(long(v) + delta));
            };
            if (len >= 16)
                shift(d0 + 12);
            for (std::size_t o = 16; o + 4 <= len; o += 4)
                shift(d0 + o);
        }
        return out;
    }

    // Rows in blocks of 32, as spreadsheet programs write them.
    std::vector<std::vector<uint32_t>> blocks;
    for (const auto &[r, row] : rows) {
        if (blocks.empty() || blocks.back().size() == 32)
            blocks.emplace_back();
        blocks.back().push_back(r);
    }

    std::string out;
    long indexPos = -1;
    long defColWidth = -1;
    for (const Record &r : before) {
        if (r.type == rec::INDEX) {
            indexPos = long(out.size());
            std::string d(16 + 4 * blocks.size(), '\0');
            if (!rows.empty()) {
                put32(d, 4, rows.begin()->first);
                put32(d, 8, rows.rbegin()->first + 1);
            }
            appendRecord(out, rec::INDEX, d);
            continue;
        }
        if (r.type == rec::DEFCOLWIDTH)
            defColWidth = long(out.size());
        if (r.type == rec::DIMENSIONS && r.data.size() >= 14) {
            std::string d = r.data;
            uint32_t r1 = 0, r2 = 0;
            uint16_t c1 = 0xFFFF, c2 = 0;
            for (const auto &[rw, row] : rows) {
                if (row.cells.empty())
                    continue;
                if (!r2)
                    r1 = rw;
                r2 = rw + 1;
                c1 = std::min(c1, row.cells.begin()->first);
                c2 = std::max<uint16_t>(c2, uint16_t(row.cells.rbegin()->first + 1));
            }
            put32(d, 0, r1);
            put32(d, 4, r2);
            put16(d, 8, r2 ? c1 : 0);
            put16(d, 10, c2);
            appendRecord(out, r.type, d);
            continue;
        }
        appendRecord(out, r.type, r.data);
    }

    std::vector<std::size_t> dbcells;
    for (const auto &block : blocks) {
        const std::size_t rowStart = out.size();
        for (uint32_t r : block)
            appendRecord(out, rec::ROW, rowRecord(r, rows.at(r)));
        std::vector<std::size_t> cellStarts;
        for (uint32_t r : block) {
            cellStarts.push_back(out.size());
            for (const auto &[c, cell] : rows.at(r).cells) {
                std::string d;
                app16(d, uint16_t(r));
                app16(d, c);
                app16(d, cell.xf);
                d += cell.payload;
                appendRecord(out, cell.type, d);
                for (const Record &x : cell.extra)
                    appendRecord(out, x.type, x.data);
            }
        }
        dbcells.push_back(out.size());
        std::string d;
        app32(d, uint32_t(out.size() - rowStart));
        for (std::size_t i = 0; i < cellStarts.size(); ++i)
            app16(d, uint16_t(i == 0 ? cellStarts[0] - (rowStart + 20) : cellStarts[i] - cellStarts[i - 1]));
        appendRecord(out, rec::DBCELL, d);
    }
    for (const Record &r : after)
        appendRecord(out, r.type, r.data);

    if (indexPos >= 0) {
        if (defColWidth >= 0)
            put32(out, std::size_t(indexPos) + 16, uint32_t(base + std::size_t(defColWidth)));
        for (std::size_t i = 0; i < dbcells.size(); ++i)
            put32(out, std::size_t(indexPos) + 20 + 4 * i, uint32_t(base + dbcells[i]));
    }
    return out;
}

void Sheet::prepareEdit()
{
    if (modified)
        return;
    modified = true;
    // Shared formulas: the expression lives in the SHRFMLA record after the first cell of
    // its range; the other cells point to that cell with an Exp token.
    struct Shared {
        std::string rgce, rgcb;
    };
    std::map<std::pair<uint32_t, uint16_t>, Shared> shared;
    for (auto &[r, row] : rows)
        for (auto &[c, cell] : row.cells)
            for (auto it = cell.extra.begin(); it != cell.extra.end();) {
                if (it->type == rec::SHRFMLA && it->data.size() >= 10) {
                    const std::size_t cce = rd16(it->data, 8);
                    if (10 + cce <= it->data.size())
                        shared[{rd16(it->data, 0), rd8(it->data, 4)}] =
                            Shared{it->data.substr(10, cce), it->data.substr(10 + cce)};
                    it = cell.extra.erase(it);
                } else {
                    ++it;
                }
            }
    if (shared.empty())
        return;
    for (auto &[r, row] : rows)
        for (auto &[c, cell] : row.cells) {
            if (cell.type != rec::FORMULA || cell.payload.size() < 21 || uint8_t(cell.payload[16]) != 0x01)
                continue;
            auto it = shared.find({rd16(cell.payload, 17), uint16_t(rd16(cell.payload, 19))});
            if (it == shared.end())
                continue;
            std::string rgce = it->second.rgce;
            if (!sharedToCell(rgce, r, c)) {
                cell = formulaToValue(cell);
                continue;
            }
            std::string p = cell.payload.substr(0, 14);
            put16(p, 8, uint16_t(rd16(p, 8) & ~0x0008));
            app16(p, uint16_t(rgce.size()));
            p += rgce;
            p += it->second.rgcb;
            cell.payload = std::move(p);
        }
}

int Sheet::lastRow() const
{
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (!it->second.cells.empty())
            return int(it->first) + 1;
    return 0;
}

int Sheet::lastCol() const
{
    int m = 0;
    for (const auto &[r, row] : rows)
        if (!row.cells.empty())
            m = std::max(m, int(row.cells.rbegin()->first) + 1);
    return m;
}

bool isFormulaText(const Cell &c)
{
    return c.type == rec::FORMULA && c.payload.size() >= 8 && rd16(c.payload, 6) == 0xFFFF &&
           uint8_t(c.payload[0]) == 0;
}

Cell formulaToValue(const Cell &f)
{
    Cell v;
    v.xf = f.xf;
    if (f.payload.size() < 8) {
        v.type = rec::BLANK;
    } else if (rd16(f.payload, 6) != 0xFFFF) {
        v.type = rec::NUMBER;
        v.payload = f.payload.substr(0, 8);
    } else {
        const uint8_t kind = uint8_t(f.payload[0]);
        if (kind == 0) {
            // The text result follows in a STRING record, in the LABEL layout.
            v.type = rec::LABEL;
            for (const Record &x : f.extra)
                if (x.type == rec::STRING)
                    v.payload = x.data;
            if (v.payload.size() < 3)
                v.type = rec::BLANK, v.payload.clear();
        } else if (kind == 1 || kind == 2) {
            v.type = rec::BOOLERR;
            v.payload = std::string{f.payload[2], char(kind == 2)};
        } else {
            v.type = rec::BLANK;
        }
    }
    return v;
}

} // namespace focaris::xls

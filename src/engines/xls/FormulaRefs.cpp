// Token walk over BIFF8 formula expressions. Reference tokens (class bits 0x20/0x40/0x60):
//
//   Ref    rw(2) col(2)                       col bit 14: column relative, 15: row relative
//   Area   rwFirst(2) rwLast(2) colFirst(2) colLast(2)
//   Ref3d  ixti(2) rw(2) col(2)               Area3d ixti(2) + Area
//   RefN / AreaN as Ref / Area, rows and columns as offsets from the formula's cell
//
// The other tokens are skipped by their sizes; an unknown one stops the walk.
#include "engines/xls/FormulaRefs.h"

#include "engines/xls/Bytes.h"

namespace focaris::xls {
namespace {

constexpr uint32_t kLastRow = 65535;

// Size of the token's data after its first byte, or -1 when unknown.
long tokenSize(std::string_view f, std::size_t pos)
{
    const uint8_t t = uint8_t(f[pos]);
    if (t >= 0x20) {
        switch (t & 0x1F) {
        case 0x00: return 7; // array constant
        case 0x01: return 2; // function
        case 0x02: return 3; // function with argument count
        case 0x03: return 4; // name
        case 0x04:
        case 0x0A:
        case 0x0C: return 4;
        case 0x05:
        case 0x0B:
        case 0x0D: return 8;
        case 0x06:
        case 0x07:
        case 0x08: return 6;
        case 0x09: return 2;
        case 0x19: return 6; // external name
        case 0x1A:
        case 0x1C: return 6;
        case 0x1B:
        case 0x1D: return 10;
        default: return -1;
        }
    }
    switch (t) {
    case 0x01:
    case 0x02: return 4; // shared/array/table reference
    case 0x17: {         // string constant
        if (pos + 2 >= f.size())
            return -1;
        const uint8_t cch = rd8(f, pos + 1);
        return 2 + long(cch) * ((rd8(f, pos + 2) & 1) ? 2 : 1);
    }
    case 0x19: { // attribute (IF, CHOOSE, SUM ...)
        if (pos + 3 >= f.size())
            return -1;
        const uint8_t flags = rd8(f, pos + 1);
        const uint16_t w = rd16(f, pos + 2);
        return 3 + ((flags & 0x04) ? (long(w) + 1) * 2 : 0);
    }
    case 0x1C:
    case 0x1D: return 1;
    case 0x1E: return 2;
    case 0x1F: return 8;
    default: return (t >= 0x03 && t <= 0x16) ? 0 : -1;
    }
}

template <typename Visit>
bool walk(std::string &f, Visit visit)
{
    std::size_t pos = 0;
    while (pos < f.size()) {
        const long size = tokenSize(f, pos);
        if (size < 0 || pos + 1 + std::size_t(size) > f.size())
            return false;
        visit(pos);
        pos += 1 + std::size_t(size);
    }
    return true;
}

// New row of a reference field, or -1 when it falls off the sheet.
long moved(uint32_t r, bool relative, bool isLast, bool inserting, const RefChange &c)
{
    long v = r;
    if (inserting)
        v = (isLast && c.widen) ? c.insert->last(r) : c.insert->row(r);
    if (relative)
        v += c.copyOffset;
    if (isLast && v > long(kLastRow) && r == kLastRow)
        v = kLastRow; // a whole column stays whole
    return (v < 0 || v > long(kLastRow)) ? -1 : v;
}

} // namespace

bool adjustFormula(std::string &f, const RefChange &c)
{
    return walk(f, [&](std::size_t pos) {
        const uint8_t t = uint8_t(f[pos]);
        if (t < 0x20)
            return;
        const uint8_t base = t & 0x1F;
        const bool is3d = base == 0x1A || base == 0x1B;
        if (base != 0x04 && base != 0x05 && !is3d)
            return;
        const bool inserting = c.insert && (is3d ? (c.sheetOf3d && c.sheetOf3d(rd16(f, pos + 1))) : c.sameSheet);
        const std::size_t p = pos + 1 + (is3d ? 2 : 0);
        bool lost = false;
        if (base == 0x04 || base == 0x1A) {
            const bool rel = rd16(f, p + 2) & 0x8000;
            const long r = moved(rd16(f, p), rel, false, inserting, c);
            if (r < 0)
                lost = true;
            else
                put16(f, p, uint16_t(r));
        } else {
            const bool rel1 = rd16(f, p + 4) & 0x8000, rel2 = rd16(f, p + 6) & 0x8000;
            const long r1 = moved(rd16(f, p), rel1, false, inserting, c);
            const long r2 = moved(rd16(f, p + 2), rel2, true, inserting, c);
            if (r1 < 0 || r2 < 0) {
                lost = true;
            } else {
                put16(f, p, uint16_t(r1));
                put16(f, p + 2, uint16_t(r2));
            }
        }
        // RefErr / AreaErr (and their 3-D forms) keep the token's size and class.
        if (lost)
            f[pos] = char((t & 0x60) | (is3d ? base + 2 : base + 6));
    });
}

bool sharedToCell(std::string &f, uint32_t row, uint16_t col)
{
    return walk(f, [&](std::size_t pos) {
        const uint8_t t = uint8_t(f[pos]);
        if (t < 0x20)
            return;
        const uint8_t base = t & 0x1F;
        if (base != 0x0C && base != 0x0D)
            return;
        // Relative fields hold signed offsets: 16 bits for rows, 8 bits for columns.
        auto fix = [&](std::size_t rowAt, std::size_t colAt) {
            uint16_t r = rd16(f, rowAt), cw = rd16(f, colAt);
            if (cw & 0x8000)
                r = uint16_t(row + int16_t(r));
            if (cw & 0x4000)
                cw = uint16_t((cw & 0xC000) | ((col + int8_t(cw & 0xFF)) & 0xFF));
            put16(f, rowAt, r);
            put16(f, colAt, cw);
        };
        if (base == 0x0C) {
            fix(pos + 1, pos + 3);
        } else {
            fix(pos + 1, pos + 5);
            fix(pos + 3, pos + 7);
        }
        f[pos] = char((t & 0x60) | (base - 8)); // RefN → Ref, AreaN → Area
    });
}

} // namespace focaris::xls

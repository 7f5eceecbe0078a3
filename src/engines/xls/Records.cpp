// Record framing and the RK number form.
#include "engines/xls/Records.h"

#include "engines/xls/Bytes.h"

#include <cmath>
#include <cstring>

namespace focaris::xls {

Record readRecord(std::string_view stream, std::size_t pos)
{
    Record r;
    r.type = rd16(stream, pos);
    const std::size_t len = rd16(stream, pos + 2);
    if (pos + 4 + len > stream.size())
        throw XlsError("workbook is damaged: a record is longer than the stream");
    r.data.assign(stream.substr(pos + 4, len));
    return r;
}

void appendRecord(std::string &out, uint16_t type, std::string_view data)
{
    app16(out, type);
    app16(out, uint16_t(data.size()));
    out.append(data);
}

double rkValue(uint32_t rk)
{
    double v;
    if (rk & 2) {
        v = double(int32_t(rk) >> 2);
    } else {
        uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 1) ? v / 100 : v;
}

bool toRk(double v, uint32_t &rk)
{
    // Whole numbers of 30 bits, or doubles whose low 34 bits are zero, fit as they are.
    if (v == std::floor(v) && v >= -536870912.0 && v <= 536870911.0) {
        rk = (uint32_t(int32_t(v)) << 2) | 2;
        return true;
    }
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = uint32_t(bits >> 32);
        return true;
    }
    return false;
}

} // namespace focaris::xls

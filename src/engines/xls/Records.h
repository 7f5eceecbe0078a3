// The records of a BIFF8 workbook stream: type, length, data. Record numbers the engine
// works with are named here once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace focaris::xls {

struct Record {
    uint16_t type = 0;
    std::string data;
};

namespace rec {
constexpr uint16_t FORMULA = 0x0006, EOF_ = 0x000A, CONTINUE = 0x003C, FILEPASS = 0x002F, NAME = 0x0018, NOTE = 0x001C,
                   HPAGEBREAKS = 0x001B, EXTERNSHEET = 0x0017, DEFCOLWIDTH = 0x0055, COLINFO = 0x007D,
                   BOUNDSHEET = 0x0085, MULRK = 0x00BD, MULBLANK = 0x00BE, RSTRING = 0x00D6, DBCELL = 0x00D7,
                   MERGEDCELLS = 0x00E5, SST = 0x00FC, LABELSST = 0x00FD, EXTSST = 0x00FF, SUPBOOK = 0x01AE,
                   CONDFMT = 0x01B0, HLINK = 0x01B8, DIMENSIONS = 0x0200, BLANK = 0x0201, NUMBER = 0x0203,
                   LABEL = 0x0204, BOOLERR = 0x0205, STRING = 0x0207, ROW = 0x0208, INDEX = 0x020B, ARRAY = 0x0221,
                   TABLE = 0x0236, RK = 0x027E, SHRFMLA = 0x04BC, BOF = 0x0809;
}

// The longest record data BIFF8 allows.
constexpr std::size_t kMaxRecordData = 8224;

// Reads one record at `pos` of the stream; throws XlsError when it runs past the end.
Record readRecord(std::string_view stream, std::size_t pos);
// Appends the record (header and data) to `out`.
void appendRecord(std::string &out, uint16_t type, std::string_view data);

// Value of a 30-bit RK number.
double rkValue(uint32_t rk);
// The RK form of v when it has one exactly.
bool toRk(double v, uint32_t &rk);

} // namespace focaris::xls

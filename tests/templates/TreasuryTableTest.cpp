// The empty treasury table is read by the State Treasury's own software, which expects
// this exact Visual FoxPro header; the check rebuilds it from the field table and compares
// byte for byte.
#include "TemplateFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace focaris::test;

namespace {

struct Field {
    const char *name;
    char type;
    uint32_t offset;
    uint8_t length, decimals;
};

const Field kFields[] = {
    {"CODJUD", 'C', 1, 2, 0},   {"CODFISC", 'C', 3, 10, 0},    {"CNP", 'C', 13, 13, 0},
    {"CODAJUT", 'C', 26, 3, 0}, {"NUMEPREN", 'C', 29, 60, 0},  {"NRPERS", 'N', 89, 2, 0},
    {"SUMA", 'N', 91, 10, 2},   {"DTPLATCRT", 'D', 101, 8, 0}, {"DATA_PREL", 'D', 109, 8, 0},
};

std::string expectedHeader()
{
    std::string h(584, '\0');
    h[0] = 0x30;                                    // Visual FoxPro table
    h[1] = 0x08, h[2] = 0x0B, h[3] = 0x1B;          // last update as shipped
    h[8] = char(584 & 0xFF), h[9] = char(584 >> 8); // header length
    h[10] = 117;                                    // record length
    h[29] = 0x03;                                   // Windows code page 1252
    for (int i = 0; i < 9; ++i) {
        const Field &f = kFields[i];
        const size_t at = 32 + 32 * i;
        h.replace(at, std::char_traits<char>::length(f.name), f.name);
        h[at + 11] = f.type;
        h[at + 12] = char(f.offset);
        h[at + 16] = char(f.length);
        h[at + 17] = char(f.decimals);
    }
    h[320] = 0x0D;
    return h;
}

} // namespace

TEST(TreasuryTable, HeaderIsTheTreasuryLayoutWithNoRecords)
{
    const std::string file = readFile(modelDir() / "ModelTrz.dbf");
    ASSERT_GE(file.size(), 584u);
    EXPECT_EQ(file.substr(0, 584), expectedHeader());
    // No record follows; only the end-of-file mark.
    EXPECT_EQ(file.substr(584), std::string("\x1a"));
    uint32_t fieldsLength = 1;
    for (const Field &f : kFields)
        fieldsLength += f.length;
    EXPECT_EQ(fieldsLength, 117u);
}

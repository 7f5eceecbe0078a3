// Damaged files and tables of other dBase levels.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace focaris::dbf;
using focaris::test::readFile;
using focaris::test::TempDir;
using focaris::test::writeFile;

// Every file of tests/data/broken/dbase is refused with an error that names the file.
TEST(DbfDamage, BrokenFilesGiveAClearErrorNamingTheFile)
{
    const auto folder = focaris::test::dataDir() / "broken" / "dbase";
    int seen = 0;
    for (const auto &e : std::filesystem::directory_iterator(folder)) {
        if (e.path().extension() != ".dbf")
            continue;
        ++seen;
        try {
            DbfTable t(e.path());
            t.readAll();
            ADD_FAILURE() << e.path() << " was accepted";
        } catch (const DbfError &err) {
            EXPECT_NE(std::string(err.what()).find(e.path().filename().string()), std::string::npos) << err.what();
        }
    }
    EXPECT_GE(seen, 6);
}

TEST(DbfDamage, MissingOrNonTableFilesAreErrors)
{
    TempDir dir;
    EXPECT_THROW(DbfTable(dir / "none.dbf"), DbfError);
    EXPECT_THROW(DbfTable(dir.path()), DbfError);
    writeFile(dir / "empty.dbf", "");
    EXPECT_THROW(DbfTable(dir / "empty.dbf"), DbfError);
}

TEST(DbfDamage, HugeHeaderCountDoesNotAllocateOrHang)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, {ColumnDef::charColumn("A", 1)});
    std::string bytes = readFile(file);
    bytes[4] = bytes[5] = bytes[6] = bytes[7] = '\xFF';
    writeFile(file, bytes);
    DbfTable t(file);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.readAll().size(), 0u);
}

// A dBase 7 table (48-byte descriptors, language-driver name) with an autoincrement, a
// character and a double field, built byte by byte.
TEST(DbfDamage, ReadsDbase7Tables)
{
    TempDir dir;
    const auto file = dir / "d7.dbf";
    std::string h(68 + 3 * 48 + 1, '\0');
    h[0] = '\x04';
    const int headerLength = int(h.size());
    h[8] = char(headerLength & 0xFF), h[9] = char(headerLength >> 8);
    h[10] = 1 + 4 + 5 + 8;
    h[4] = 2;
    std::memcpy(&h[32], "DB437US0", 8);
    auto field = [&](int i, const char *name, char type, int len) {
        char *d = &h[std::size_t(68 + 48 * i)];
        std::memcpy(d, name, std::strlen(name));
        d[32] = type;
        d[33] = char(len);
    };
    field(0, "ID", '+', 4);
    field(1, "Name", 'C', 5);
    field(2, "Length CM", 'O', 8);
    h.back() = '\x0D';
    // Autoincrement: big-endian with the sign bit flipped; doubles flipped the same way
    // when positive and wholly inverted when negative.
    const std::string r1 =
        std::string(" \x80\x00\x00\x07", 5) + "Ana  " + std::string("\xC0\x59\x00\x00\x00\x00\x00\x00", 8);
    const std::string r2 =
        std::string(" \x80\x00\x00\x08", 5) + "Ion  " + std::string("\x3F\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8);
    writeFile(file, h + r1 + r2 + "\x1A");
    DbfTable t(file);
    ASSERT_EQ(t.fields().size(), 3u);
    EXPECT_EQ(t.fields()[2].name, "Length CM");
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_DOUBLE_EQ(rs.number(0, 0), 7);
    EXPECT_EQ(rs.text(1, 1), "Ion");
    EXPECT_DOUBLE_EQ(rs.number(0, 2), 100.0);
    EXPECT_DOUBLE_EQ(rs.number(1, 2), -2.0);
    // This engine does not write dBase 7 tables.
    EXPECT_THROW(t.append({}), DbfError);
}

// Good files of other levels kept in tests/data/good/dbase.
TEST(DbfDamage, ReadsStoredTablesOfOtherLevels)
{
    const auto folder = focaris::test::dataDir() / "good" / "dbase";
    {
        DbfTable t(folder / "dbase2.dbf");
        EXPECT_EQ(t.versionByte(), 0x02);
        const RecordSet rs = t.readAll();
        ASSERT_EQ(rs.size(), 2u);
        EXPECT_EQ(rs.text(1, 0), "VASILE");
        EXPECT_DOUBLE_EQ(rs.number(1, 1), 12.5);
    }
    {
        // dBase IV with a memo file of 512-byte blocks and its own block headers.
        DbfTable t(folder / "dbase4memo.dbf");
        const RecordSet rs = t.readAll();
        ASSERT_EQ(rs.size(), 2u);
        EXPECT_EQ(rs.text(0, 1), "prima notă");
        EXPECT_TRUE(rs.isNull(1, 1));
        EXPECT_EQ(rs.kind(1, 2), ValueKind::Logical);
        EXPECT_TRUE(rs.logical(1, 2));
    }
}

// The header's record length against the fields: a length the file bears out (records
// padded after the last field) is read; one the file contradicts is refused, naming both
// lengths, instead of showing an empty table.
TEST(DbfDamage, RecordLengthMustAgreeWithTheFieldsOrTheFile)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, {ColumnDef::charColumn("NUME", 4), ColumnDef::decimalColumn("NR", 3, 0)});
    std::string bytes = readFile(file);
    const std::string header = bytes.substr(0, bytes.size() - 1);
    // Two records padded by three bytes each, the header saying 11 instead of 8.
    std::string padded = header;
    padded[4] = 2;
    padded[10] = 11;
    padded += std::string(" ANA   7xyz") + " ION  12xyz" + "\x1A";
    writeFile(file, padded);
    {
        DbfTable t(file);
        const RecordSet rs = t.readAll();
        ASSERT_EQ(rs.size(), 2u);
        EXPECT_EQ(rs.text(1, 0), "ION");
        EXPECT_DOUBLE_EQ(rs.number(1, 1), 12);
        t.append({Value::fromText("EVA"), Value::fromNumber(3)});
        EXPECT_EQ(DbfTable(file).readAll().text(2, 0), "EVA");
    }
    // The same header over records of the fields' own length: the file holds 24 bytes
    // of records where 33 are promised.
    std::string damaged = header;
    damaged[4] = 3;
    damaged[10] = 11;
    damaged += std::string(" ANA   7") + " ION  12" + " EVA   3" + "\x1A";
    writeFile(file, damaged);
    try {
        DbfTable t(file);
        t.readAll();
        ADD_FAILURE() << "accepted";
    } catch (const DbfError &e) {
        EXPECT_EQ(std::string(e.what()), file.string() + ": record length 11 disagrees with its fields, which take 8 "
                                                         "bytes with the deletion mark");
    }
    EXPECT_THROW(DbfTable::pack(file), DbfError);
}

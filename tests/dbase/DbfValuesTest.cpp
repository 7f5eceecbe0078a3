// What a table holds after values go in and come back out: rounding, widths, blanks, code
// pages, and the bytes of the header other programs read.
#include "CereriLayout.h"
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

using namespace focaris::dbf;
using focaris::test::readFile;
using focaris::test::TempDir;

namespace {

std::vector<ColumnDef> smallColumns()
{
    return {ColumnDef::charColumn("NUME", 10), ColumnDef::decimalColumn("SUMA", 8, 2), ColumnDef::dateColumn("DATA"),
            ColumnDef::decimalColumn("NR", 5, 0)};
}

std::string storedField(const std::filesystem::path &file, int record, int offset, int length)
{
    const std::string bytes = readFile(file);
    const int headerLength = (unsigned char)bytes[8] | ((unsigned char)bytes[9] << 8);
    const int recordLength = (unsigned char)bytes[10] | ((unsigned char)bytes[11] << 8);
    return bytes.substr(std::size_t(headerLength + (record - 1) * recordLength + offset), std::size_t(length));
}

} // namespace

TEST(DbfValues, NumbersAreRoundedHalfAwayFromZeroAndRightAligned)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, smallColumns());
    DbfTable t(file);
    const std::vector<std::pair<double, std::string>> cases = {{2.675, "    2.68"},
                                                               {-2.675, "   -2.68"},
                                                               {0.005, "    0.01"},
                                                               {-0.004, "    0.00"},
                                                               {9.995, "   10.00"},
                                                               {12345.5, "12345.50"},
                                                               {0, "    0.00"},
                                                               {-1234.56, "-1234.56"},
                                                               // Whole numbers, negative zero among them.
                                                               {7, "    7.00"},
                                                               {-7, "   -7.00"},
                                                               {-0.0, "    0.00"},
                                                               {99999, "99999.00"},
                                                               {-9999, "-9999.00"}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto n = t.append({Value::fromText("x"), Value::fromNumber(cases[i].first)});
        EXPECT_EQ(storedField(file, int(n), 11, 8), cases[i].second) << cases[i].first;
    }
    const RecordSet rs = t.readAll();
    EXPECT_DOUBLE_EQ(rs.number(0, 1), 2.68);
    EXPECT_DOUBLE_EQ(rs.number(3, 1), 0.0);
}

TEST(DbfValues, AsStoredGivesWhatAReaderGetsBack)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, smallColumns());
    DbfTable t(file);
    const Record in = {Value::fromText("Șerban Țăranul"), Value::fromNumber(2.675), Value::fromText("20240229"),
                       Value::fromText(" ")};
    const Record stored = t.asStored(in);
    t.append(in);
    EXPECT_EQ(stored, t.readAll().record(0));
    EXPECT_EQ(stored[0].text, "Şerban Ţăr"); // ten characters
    EXPECT_DOUBLE_EQ(stored[1].number, 2.68);
    EXPECT_EQ(stored[2].kind, ValueKind::Date);
    EXPECT_TRUE(stored[3].isNull());
    EXPECT_THROW(t.asStored({Value(), Value::fromNumber(1e6)}), DbfError);
}

TEST(DbfValues, NumberTooWideIsAnErrorNamingTableColumnAndValue)
{
    TempDir dir;
    const auto file = dir / "Cereri.dbf";
    DbfTable::create(file, smallColumns());
    DbfTable t(file);
    try {
        t.append({Value::fromText("x"), Value::fromNumber(123456.789)});
        FAIL() << "no error";
    } catch (const DbfError &e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("Cereri.dbf"), std::string::npos) << m;
        EXPECT_NE(m.find("SUMA"), std::string::npos) << m;
        EXPECT_NE(m.find("123456.789"), std::string::npos) << m;
    }
    EXPECT_THROW(t.append({Value(), Value(), Value(), Value::fromNumber(-99999)}), DbfError);
    EXPECT_THROW(t.append({Value(), Value::fromText("abc")}), DbfError);
    // Nothing was written by the failed appends.
    EXPECT_EQ(t.recordCount(), 0u);
}

TEST(DbfValues, TextIsCutBlankIsNullAndDatesRoundTrip)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, smallColumns());
    DbfTable t(file);
    t.append({Value::fromText("  ABCDEFGHIJKLMN"), Value::fromNumber(1), Value::fromDate(2024, 2, 29)});
    t.append({Value::fromText("   "), Value(), Value(), Value()});
    t.append({Value::fromText("x"), Value::fromText(" 7.5 "), Value::fromText("05.12.2023")});
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 3u);
    EXPECT_EQ(rs.text(0, 0), "  ABCDEFGH"); // leading blanks kept, cut to 10
    EXPECT_EQ(storedField(file, 1, 19, 8), "20240229");
    EXPECT_EQ(civilFromDays(rs.date(0, 2)), (Ymd{2024, 2, 29}));
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(rs.isNull(1, std::size_t(c))) << c;
    EXPECT_EQ(storedField(file, 2, 1, 27), std::string(27, ' '));
    EXPECT_DOUBLE_EQ(rs.number(2, 1), 7.5);
    EXPECT_EQ(civilFromDays(rs.date(2, 2)), (Ymd{2023, 12, 5}));
    EXPECT_THROW(t.append({Value(), Value(), Value::fromText("31.02.2023")}), DbfError);
}

// Trailing blanks are found many bytes at a time; every width and padding must come out
// right, also with the NUL padding some writers use and blanks inside the text.
TEST(DbfValues, TrailingPaddingIsTrimmedAtEveryLength)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, {ColumnDef::charColumn("T", 40), ColumnDef::decimalColumn("N", 20, 3)});
    std::vector<std::string> texts;
    {
        DbfTable t(file);
        for (int k = 0; k <= 40; ++k) {
            std::string text(std::size_t(k), 'x');
            for (int i = 1; i < k - 1; i += 3)
                text[std::size_t(i)] = ' ';
            texts.push_back(text);
            t.append({Value::fromText(text), Value::fromNumber(k * 1.5 - 20)});
        }
    }
    std::string bytes = readFile(file);
    DbfTable t(file);
    const std::size_t h = std::size_t(t.headerLength()), r = std::size_t(t.recordLength());
    for (std::size_t k = 1; k <= 40; k += 2) // NUL padding on every other record
        for (std::size_t i = k; i < 40; ++i)
            bytes[h + k * r + 1 + i] = '\0';
    focaris::test::writeFile(file, bytes);
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 41u);
    EXPECT_TRUE(rs.isNull(0, 0));
    for (std::size_t k = 1; k <= 40; ++k) {
        EXPECT_EQ(rs.text(k, 0), texts[k]) << k;
        EXPECT_DOUBLE_EQ(rs.number(k, 1), double(k) * 1.5 - 20) << k;
    }
}

TEST(DbfValues, RomanianLettersAreStoredInWindows1250WithCedillas)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    DbfTable::create(file, smallColumns());
    DbfTable t(file);
    t.append({Value::fromText("ȘȚșțĂâ")});
    // Ş Ţ ş ţ Ă â in Windows-1250.
    EXPECT_EQ(storedField(file, 1, 1, 6), "\xAA\xDE\xBA\xFE\xC3\xE2");
    EXPECT_EQ(t.readAll().text(0, 0), "ŞŢşţĂâ");
}

TEST(DbfValues, LanguageDriverNamesTheCodePage)
{
    TempDir dir;
    // The same byte 0xE2 read under each mark: â in 1250/1252, в in 1251, Ô in 852, Γ in 437.
    const std::vector<std::pair<std::uint8_t, std::string>> cases = {{0x00, "â"}, {0x57, "â"}, {0xC8, "â"}, {0x03, "â"},
                                                                     {0xC9, "в"}, {0x64, "Ô"}, {0x01, "Γ"}};
    for (const auto &[ldid, expected] : cases) {
        const auto file = dir / ("t" + std::to_string(ldid) + ".dbf");
        CreateOptions o;
        o.languageDriver = ldid;
        DbfTable::create(file, {ColumnDef::charColumn("A", 3)}, o);
        std::string bytes = readFile(file);
        bytes.pop_back();
        bytes += std::string(" \xE2  \x1A");
        bytes[4] = 1;
        focaris::test::writeFile(file, bytes);
        EXPECT_EQ(DbfTable(file).readAll().text(0, 0), expected) << int(ldid);
    }
}

TEST(DbfValues, NewTableHeaderHasTheLayoutOtherProgramsExpect)
{
    TempDir dir;
    const auto file = dir / "Cereri.dbf";
    DbfTable::create(file, sample::cereriColumns());
    std::string bytes = readFile(file);
    const std::size_t headerLength = 32 + 52 * 32 + 1;
    ASSERT_EQ(bytes.size(), headerLength + 1);
    EXPECT_EQ(bytes[0], '\x03');
    EXPECT_EQ(std::size_t((unsigned char)bytes[8] | ((unsigned char)bytes[9] << 8)), headerLength);
    EXPECT_EQ((unsigned char)bytes[29], 0xC8);
    EXPECT_EQ(bytes[28], '\0');
    EXPECT_EQ(bytes[headerLength - 1], '\x0D');
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes.substr(32, 11), std::string("NRCRT\0\0\0\0\0\0", 11));
    EXPECT_EQ(bytes[32 + 11], 'N');
    EXPECT_EQ(bytes[32 + 16], 12);

    DbfTable t(file);
    EXPECT_EQ(t.recordLength(), 1 + 982);
    ASSERT_EQ(t.fields().size(), 52u);
    EXPECT_EQ(t.fields()[38].name, "DATACERE");
    EXPECT_EQ(t.fields()[38].type, 'D');
    EXPECT_EQ(t.fields()[47].decimals, 4);
    // Creating it again is refused, whatever the case of the name.
    EXPECT_THROW(DbfTable::create(dir / "CERERI.DBF", sample::cereriColumns()), DbfError);
}

TEST(DbfValues, InvalidColumnDefinitionsAreRefused)
{
    TempDir dir;
    const std::vector<std::vector<ColumnDef>> bad = {
        {},
        {ColumnDef::charColumn("A", 0)},
        {ColumnDef::charColumn("A", 255)},
        {ColumnDef::charColumn("TOOLONGNAME1", 3)},
        {ColumnDef::charColumn("A", 3), ColumnDef::charColumn("a", 3)},
        {ColumnDef::decimalColumn("N", 5, 4)},
        {ColumnDef::decimalColumn("N", 21, 0)},
        {ColumnDef::charColumn("Ă", 3)},
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        EXPECT_THROW(DbfTable::create(dir / ("t" + std::to_string(i) + ".dbf"), bad[i]), DbfError) << i;
        EXPECT_FALSE(std::filesystem::exists(dir / ("t" + std::to_string(i) + ".dbf")));
    }
}

TEST(DbfValues, VisualFoxProTreasuryLayoutIsWrittenAsDescribed)
{
    TempDir dir;
    const auto file = dir / "01123456_05-12-2023.dbf";
    CreateOptions o;
    o.layout = Layout::VisualFoxPro;
    o.languageDriver = 0x03;
    DbfTable::create(file,
                     {ColumnDef::charColumn("CODJUD", 2), ColumnDef::charColumn("CODFISC", 10),
                      ColumnDef::charColumn("CNP", 13), ColumnDef::charColumn("CODAJUT", 3),
                      ColumnDef::charColumn("NUMEPREN", 60), ColumnDef::decimalColumn("NRPERS", 2, 0),
                      ColumnDef::decimalColumn("SUMA", 10, 2), ColumnDef::dateColumn("DTPLATCRT"),
                      ColumnDef::dateColumn("DATA_PREL")},
                     o);
    std::string bytes = readFile(file);
    ASSERT_EQ(bytes.size(), 584u + 1);
    EXPECT_EQ(bytes[0], '\x30');
    EXPECT_EQ((unsigned char)bytes[8] | ((unsigned char)bytes[9] << 8), 584);
    EXPECT_EQ((unsigned char)bytes[10], 117);
    EXPECT_EQ(bytes[29], '\x03');
    EXPECT_EQ(bytes[320], '\x0D');
    EXPECT_EQ(bytes.substr(321, 263), std::string(263, '\0'));
    // Offsets of the fields are in their descriptors: SUMA (7th) at 91.
    EXPECT_EQ((unsigned char)bytes[32 + 6 * 32 + 12], 91);

    DbfTable t(file);
    t.append({Value::fromText("1"), Value::fromText("123456"), Value::fromText("1800101400001"), Value::fromText("074"),
              Value::fromText("POPESCU ŞTEFAN"), Value::fromNumber(3), Value::fromNumber(320),
              Value::fromDate(2023, 12, 5), Value::fromDate(2023, 12, 5)});
    bytes = readFile(file);
    ASSERT_EQ(bytes.size(), 584u + 117 + 1);
    EXPECT_EQ(bytes[4], '\x01');
    EXPECT_EQ(bytes.substr(584 + 89, 12), " 3    320.00");
    EXPECT_EQ(bytes.back(), '\x1A');
    const RecordSet rs = t.readAll();
    EXPECT_EQ(rs.text(0, 3), "074");
    EXPECT_DOUBLE_EQ(rs.number(0, 6), 320.0);
}

// Numeric fields are read eight digits at a time where the record leaves room after them:
// hand-written field texts, with the digits of the next field right after, must read as
// the text says, and texts out of the ordinary must read as the general parser reads them.
TEST(DbfValues, NumberTextsReadAsWrittenWhateverFollowsThem)
{
    TempDir dir;
    const auto file = dir / "t.dbf";
    // N(10,2) followed by a digit-filled CHAR, and a last N(6,0) with no room after it.
    DbfTable::create(file, {ColumnDef::decimalColumn("A", 10, 2), ColumnDef::charColumn("D", 12),
                            ColumnDef::decimalColumn("B", 6, 0)});
    struct Case {
        const char *a; // 10 bytes
        bool null;
        double value;
    };
    const Case cases[] = {
        {"   1234.56", false, 1234.56},    {"      0.00", false, 0},         {"   -262.50", false, -262.5},
        {"1234567.89", false, 1234567.89}, {"         7", false, 7},         {"        7.", false, 7},
        {"    12.5  ", false, 12.5},       {"  12,5    ", false, 12.5},      {"   +3.25  ", false, 3.25},
        {"   -0.75  ", false, -0.75},      {"     .5   ", false, 0.5},       {"          ", true, 0},
        {"    1 2   ", true, 0},           {"    1e3   ", false, 1000},      {"   -      ", true, 0},
        {"12345678.9", false, 12345678.9}, {"123456789.", false, 123456789}, {"   12\0\0\0\0\0", false, 12},
    };
    std::string bytes = readFile(file);
    bytes.pop_back(); // the end mark
    for (const Case &c : cases)
        bytes += std::string(" ") + std::string(c.a, 10) + "987654321098" + "  4321";
    bytes += '\x1A';
    const std::uint32_t count = sizeof cases / sizeof cases[0];
    bytes[4] = char(count);
    focaris::test::writeFile(file, bytes);
    const RecordSet rs = DbfTable(file).readAll();
    ASSERT_EQ(rs.size(), std::size_t(count));
    for (std::size_t r = 0; r < rs.size(); ++r) {
        const Case &c = cases[r];
        EXPECT_EQ(rs.isNull(r, 0), c.null) << "'" << c.a << "'";
        if (!c.null) {
            EXPECT_EQ(rs.number(r, 0), c.value) << "'" << c.a << "'";
        }
        EXPECT_EQ(rs.number(r, 2), 4321);
    }
}

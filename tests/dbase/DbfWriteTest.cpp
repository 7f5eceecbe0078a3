// Writing records and rebuilding tables: what other readers find in the file afterwards.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace focaris::dbf;
using focaris::test::readFile;
using focaris::test::TempDir;
using focaris::test::writeFile;

namespace {

std::filesystem::path makeTable(const TempDir &dir, int rows, const std::string &name = "t.dbf")
{
    const auto file = dir / name;
    DbfTable::create(file, {ColumnDef::charColumn("NUME", 8), ColumnDef::decimalColumn("NR", 6, 0)});
    DbfTable t(file);
    for (int i = 1; i <= rows; ++i)
        t.append({Value::fromText("R" + std::to_string(i)), Value::fromNumber(i)});
    return file;
}

std::vector<std::string> names(DbfTable &t)
{
    std::vector<std::string> out;
    const RecordSet rs = t.readAll();
    for (std::size_t r = 0; r < rs.size(); ++r)
        out.emplace_back(rs.text(r, 0));
    return out;
}

std::uint32_t headerCount(const std::string &bytes)
{
    return std::uint32_t((unsigned char)bytes[4] | ((unsigned char)bytes[5] << 8) | ((unsigned char)bytes[6] << 16) |
                         ((unsigned char)bytes[7] << 24));
}

} // namespace

TEST(DbfWrite, EveryWriteKeepsCountDateAndEndMark)
{
    TempDir dir;
    const auto file = makeTable(dir, 0);
    std::string bytes = readFile(file);
    bytes[1] = 80, bytes[2] = 1, bytes[3] = 1; // an old date of last update
    writeFile(file, bytes);

    DbfTable t(file);
    EXPECT_EQ(t.append({Value::fromText("A"), Value::fromNumber(1)}), 1u);
    EXPECT_EQ(t.append({Value::fromText("B")}), 2u);
    bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 2u);
    EXPECT_EQ(bytes.size(), std::size_t(t.headerLength() + 2 * t.recordLength() + 1));
    EXPECT_EQ(bytes.back(), '\x1A');
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    EXPECT_EQ((unsigned char)bytes[1], tm.tm_year);
    EXPECT_EQ((unsigned char)bytes[2], tm.tm_mon + 1);

    t.overwrite(1, {Value::fromText("C"), Value::fromNumber(3)});
    t.markDeleted(2);
    bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 2u);
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes[std::size_t(t.headerLength() + t.recordLength())], '*');
}

TEST(DbfWrite, DeletedRecordsAreInvisibleAndNumbersStayStable)
{
    TempDir dir;
    const auto file = makeTable(dir, 5);
    DbfTable t(file);
    t.markDeleted(2);
    t.markDeleted(4);
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 3u);
    EXPECT_EQ(rs.recordNumber(0), 1u);
    EXPECT_EQ(rs.recordNumber(1), 3u);
    EXPECT_EQ(rs.recordNumber(2), 5u);
    EXPECT_FALSE(t.readRecord(2).has_value());
    EXPECT_TRUE(t.isDeleted(4));
    EXPECT_EQ((*t.readRecord(3))[0].text, "R3");
    EXPECT_EQ(t.recordCount(), 5u);

    // Overwriting keeps the deletion mark: a row deleted by someone else stays deleted.
    t.overwrite(2, {Value::fromText("X")});
    EXPECT_TRUE(t.isDeleted(2));
    t.markDeleted(2, false);
    EXPECT_EQ((*t.readRecord(2))[0].text, "X");
    EXPECT_THROW(t.overwrite(6, {}), DbfError);
    EXPECT_THROW(t.markDeleted(0), DbfError);
}

TEST(DbfWrite, FileShorterThanItsHeaderCountsOnlyCompleteRecords)
{
    TempDir dir;
    const auto file = makeTable(dir, 3);
    std::string bytes = readFile(file);
    bytes.resize(bytes.size() - 1 - 5); // the end mark and part of record 3 are gone
    writeFile(file, bytes);
    DbfTable t(file);
    EXPECT_EQ(t.recordCount(), 2u);
    EXPECT_EQ(names(t), (std::vector<std::string>{"R1", "R2"}));
    // The next append takes the torn slot and repairs the count.
    EXPECT_EQ(t.append({Value::fromText("N")}), 3u);
    EXPECT_EQ(names(t), (std::vector<std::string>{"R1", "R2", "N"}));
    EXPECT_EQ(headerCount(readFile(file)), 3u);
}

TEST(DbfWrite, PackRemovesDeletedRecordsAndOpenTablesFollow)
{
    TempDir dir;
    const auto file = makeTable(dir, 6);
    DbfTable reader(file);
    {
        DbfTable t(file);
        t.markDeleted(1);
        t.markDeleted(6);
    }
    const auto result = DbfTable::pack(file);
    EXPECT_EQ(result.kept, 4u);
    EXPECT_EQ(result.removed, 2u);
    const std::string bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 4u);
    EXPECT_EQ(bytes.size(), std::size_t(reader.headerLength() + 4 * reader.recordLength() + 1));
    // The table opened before the pack sees the new file, and appends go into it.
    EXPECT_EQ(names(reader), (std::vector<std::string>{"R2", "R3", "R4", "R5"}));
    EXPECT_EQ(reader.append({Value::fromText("R7")}), 5u);
    EXPECT_EQ(DbfTable(file).recordCount(), 5u);
    // No work files are left beside the table.
    int files = 0;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(DbfWrite, AddAndDropColumnsKeepTheData)
{
    TempDir dir;
    const auto file = makeTable(dir, 3);
    DbfTable(file).markDeleted(2);
    DbfTable::addColumns(file, {ColumnDef::charColumn("TITG", 32), ColumnDef::decimalColumn("TARIF", 10, 4),
                                ColumnDef::dateColumn("DATAD")});
    {
        DbfTable t(file);
        ASSERT_EQ(t.fields().size(), 5u);
        EXPECT_EQ(t.fields()[3].name, "TARIF");
        EXPECT_EQ(t.recordCount(), 3u); // deleted rows stay until the next pack
        const RecordSet rs = t.readAll();
        ASSERT_EQ(rs.size(), 2u);
        EXPECT_EQ(rs.text(1, 0), "R3");
        EXPECT_DOUBLE_EQ(rs.number(1, 1), 3);
        EXPECT_TRUE(rs.isNull(1, 2));
        EXPECT_TRUE(rs.isNull(1, 3));
        t.overwrite(3,
                    {Value::fromText("R3"), Value::fromNumber(3), Value::fromText("HOLDER"), Value::fromNumber(0.5)});
    }
    EXPECT_THROW(DbfTable::addColumns(file, {ColumnDef::charColumn("nume", 3)}), DbfError);
    EXPECT_THROW(DbfTable::dropColumns(file, {"MISSING"}), DbfError);

    DbfTable::dropColumns(file, {"nume", "DATAD"});
    DbfTable t(file);
    ASSERT_EQ(t.fields().size(), 3u);
    EXPECT_EQ(t.fields()[0].name, "NR");
    EXPECT_EQ(t.recordLength(), 1 + 6 + 32 + 10);
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs.text(1, 1), "HOLDER");
    EXPECT_DOUBLE_EQ(rs.number(1, 2), 0.5);
    EXPECT_THROW(DbfTable::dropColumns(file, {"NR", "TITG", "TARIF"}), DbfError);
}

TEST(DbfWrite, DropIndexFlagClearsByte28AndRemovesTheIndexFile)
{
    TempDir dir;
    const auto file = makeTable(dir, 1, "Cereri.dbf");
    std::string bytes = readFile(file);
    bytes[28] = 1;
    writeFile(file, bytes);
    writeFile(dir / "CERERI.MDX", "index");
    writeFile(dir / "Oameni.mdx", "other");
    dropIndexFlag(file);
    bytes = readFile(file);
    EXPECT_EQ(bytes[28], '\0');
    EXPECT_EQ(bytes.size(), readFile(file).size());
    EXPECT_FALSE(std::filesystem::exists(dir / "CERERI.MDX"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Oameni.mdx"));
    // A missing table is left alone, and so is its index.
    writeFile(dir / "Log.mdx", "x");
    EXPECT_NO_THROW(dropIndexFlag(dir / "Log.dbf"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Log.mdx"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Log.dbf"));
}

TEST(DbfWrite, ChangeStampFollowsWritesAndReplacement)
{
    TempDir dir;
    const auto file = makeTable(dir, 2);
    const Stamp before = stampOf(file);
    EXPECT_EQ(before.headerRecords, 2u);
    DbfTable t(file);
    t.append({Value::fromText("Z")});
    const Stamp afterAppend = stampOf(file);
    EXPECT_NE(afterAppend, before);
    EXPECT_EQ(afterAppend.headerRecords, 3u);
    // The stamps a write takes under its lock are the ones an outside look gives.
    EXPECT_EQ(t.lastWrite().before, before);
    EXPECT_EQ(t.lastWrite().after, afterAppend);
    t.overwriteMany({1}, {{Value::fromText("Y")}});
    EXPECT_EQ(t.lastWrite().before, afterAppend);
    EXPECT_EQ(t.lastWrite().after, stampOf(file));
    DbfTable::pack(file);
    EXPECT_NE(stampOf(file).inode, afterAppend.inode);
    EXPECT_THROW(stampOf(dir / "none.dbf"), DbfError);
    EXPECT_EQ(stampOf(dir / "T.DBF").headerRecords, 3u); // found whatever its case
}

TEST(DbfWrite, BatchWritesKeepCountEndMarkAndDeletionMarks)
{
    TempDir dir;
    const auto file = makeTable(dir, 3);
    DbfTable t(file);
    t.markDeleted(2);

    // Appends land after the existing records; the count and the end mark follow them.
    std::vector<Record> more;
    for (int i = 4; i <= 300; ++i)
        more.push_back({Value::fromText("R" + std::to_string(i)), Value::fromNumber(i)});
    EXPECT_EQ(t.appendMany(more), 4u);
    std::string bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 300u);
    EXPECT_EQ(bytes.size(), std::size_t(t.headerLength() + 300 * t.recordLength() + 1));
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ((*t.readRecord(300))[1].number, 300);

    // Overwrites in any order, one record named twice (the later values win); the
    // deletion mark of record 2 stays.
    t.overwriteMany({250, 2, 7, 250}, {{Value::fromText("A")},
                                       {Value::fromText("B")},
                                       {Value::fromText("C")},
                                       {Value::fromText("D"), Value::fromNumber(9)}});
    EXPECT_TRUE(t.isDeleted(2));
    EXPECT_EQ((*t.readRecord(7))[0].text, "C");
    EXPECT_TRUE((*t.readRecord(7))[1].isNull());
    EXPECT_EQ((*t.readRecord(250))[0].text, "D");
    EXPECT_EQ((*t.readRecord(250))[1].number, 9);
    EXPECT_EQ((*t.readRecord(249))[0].text, "R249"); // neighbours inside a window untouched
    EXPECT_EQ((*t.readRecord(251))[0].text, "R251");

    // Deletion marks: far apart, adjacent, and at the last record; undeleting too.
    t.markDeletedMany({300, 5, 6, 8, 150});
    t.markDeletedMany({2}, false);
    const RecordSet rs = t.readAll();
    EXPECT_EQ(rs.size(), 295u);
    for (std::uint32_t n : {5u, 6u, 8u, 150u, 300u})
        EXPECT_TRUE(t.isDeleted(n)) << n;
    EXPECT_FALSE(t.isDeleted(7));
    EXPECT_EQ((*t.readRecord(2))[0].text, "B");
    bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 300u);
    EXPECT_EQ(bytes.size(), std::size_t(t.headerLength() + 300 * t.recordLength() + 1));
    EXPECT_EQ(bytes.back(), '\x1A');
}

TEST(DbfWrite, BatchWithABadRecordOrNumberWritesNothing)
{
    TempDir dir;
    const auto file = makeTable(dir, 4);
    DbfTable t(file);
    const std::string before = readFile(file);
    // The third record's number does not fit its column: the first two are not written.
    const Record tooWide = {Value::fromText("Z"), Value::fromNumber(12345678)};
    EXPECT_THROW(t.appendMany({{Value::fromText("X")}, {Value::fromText("Y")}, tooWide}), DbfError);
    EXPECT_THROW(t.overwriteMany({1, 2}, {{Value::fromText("X")}, tooWide}), DbfError);
    EXPECT_THROW(t.overwriteMany({1, 5}, {{Value::fromText("X")}, {Value::fromText("Y")}}), DbfError);
    EXPECT_THROW(t.overwriteMany({1}, {}), DbfError);
    EXPECT_THROW(t.markDeletedMany({1, 0}), DbfError);
    EXPECT_THROW(t.markDeletedMany({2, 5}), DbfError);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(t.appendMany({}), 0u);
}

TEST(DbfWrite, MarkAllDeletedCountsTheLiveRecordsAndKeepsTheSlots)
{
    TempDir dir;
    const auto file = makeTable(dir, 3);
    DbfTable t(file);
    std::vector<Record> more;
    for (int i = 4; i <= 3000; ++i) // more than one chunk of the marking
        more.push_back({Value::fromText("R" + std::to_string(i)), Value::fromNumber(i)});
    t.appendMany(more);
    t.markDeletedMany({2, 2999});
    const Stamp before = stampOf(file);
    EXPECT_EQ(t.markAllDeleted(), 2998u);
    EXPECT_EQ(t.lastWrite().before, before);
    EXPECT_EQ(t.lastWrite().after, stampOf(file));
    EXPECT_EQ(t.readAll().size(), 0u);
    EXPECT_EQ(t.recordCount(), 3000u);
    const std::string bytes = readFile(file);
    EXPECT_EQ(headerCount(bytes), 3000u);
    EXPECT_EQ(bytes.size(), std::size_t(t.headerLength() + 3000 * t.recordLength() + 1));
    EXPECT_EQ(bytes.back(), '\x1A');
    // The records themselves are untouched: undeleting one brings it back whole.
    t.markDeleted(1500, false);
    EXPECT_EQ((*t.readRecord(1500))[0].text, "R1500");
    EXPECT_EQ(t.markAllDeleted(), 1u);
    EXPECT_EQ(t.markAllDeleted(), 0u);
    EXPECT_EQ(DbfTable::pack(file).kept, 0u);
    DbfTable empty(file);
    EXPECT_EQ(empty.markAllDeleted(), 0u);
    EXPECT_THROW(DbfTable(file, true).markAllDeleted(), DbfError);
}

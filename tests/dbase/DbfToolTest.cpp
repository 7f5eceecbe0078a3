// focaris-tool dbf info / dump / pack on a table written by the engine, and on a damaged one.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

using namespace focaris::dbf;
using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::TempDir;
using focaris::test::toolPath;

TEST(DbfTool, InfoDumpAndPack)
{
    TempDir dir;
    const auto file = dir / "Oameni.dbf";
    DbfTable::create(file, {ColumnDef::decimalColumn("NROM", 10, 0), ColumnDef::charColumn("TITULAR", 32),
                            ColumnDef::decimalColumn("VENIT", 10, 2), ColumnDef::dateColumn("DATAN")});
    {
        DbfTable t(file);
        t.append({Value::fromNumber(1), Value::fromText("POPESCU, \"ION\""), Value::fromNumber(1500),
                  Value::fromDate(1980, 2, 29)});
        t.append({Value::fromNumber(2), Value::fromText("ŞERBAN ŢUŢU")});
        t.append({Value::fromNumber(3)});
        t.markDeleted(3);
    }
    const std::string tool = shellQuote(toolPath()) + " dbf ";
    std::string out;
    ASSERT_EQ(run(tool + "info " + shellQuote(file.string()), &out), 0);
    EXPECT_EQ(out, "Version byte: 0x03\n"
                   "Code page: 1250 (language driver 0xC8)\n"
                   "Records: 3\n"
                   "Header length: 161\n"
                   "Record length: 61\n"
                   "Fields: 4\n"
                   "NROM N 10 0\n"
                   "TITULAR C 32 0\n"
                   "VENIT N 10 2\n"
                   "DATAN D 8 0\n");
    ASSERT_EQ(run(tool + "dump " + shellQuote(file.string()), &out), 0);
    EXPECT_EQ(out, "NROM,TITULAR,VENIT,DATAN\n"
                   "1,\"POPESCU, \"\"ION\"\"\",1500.00,29.02.1980\n"
                   "2,ŞERBAN ŢUŢU,,\n");
    ASSERT_EQ(run(tool + "pack " + shellQuote(file.string()), &out), 0);
    EXPECT_EQ(out, "Packed: 2 records kept, 1 removed\n");
    EXPECT_EQ(DbfTable(file).recordCount(), 2u);

    EXPECT_EQ(run(tool + "info " + shellQuote((dir / "none.dbf").string()) + " 2>&1", &out), 1);
    EXPECT_NE(out.find("focaris-tool: "), std::string::npos);
    EXPECT_NE(out.find("none.dbf: the table does not exist"), std::string::npos) << out;

    // A header whose record length the file contradicts is refused, not shown empty.
    const auto damaged = focaris::test::dataDir() / "broken" / "dbase" / "record_length_beyond_fields.dbf";
    for (const char *verb : {"info ", "dump "}) {
        EXPECT_EQ(run(tool + verb + shellQuote(damaged.string()) + " 2>&1", &out), 1) << verb;
        EXPECT_NE(out.find("record_length_beyond_fields.dbf: record length 65535 disagrees with its fields, which "
                           "take 193 bytes"),
                  std::string::npos)
            << out;
    }
}

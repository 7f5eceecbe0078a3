// Tables written here read by independent readers, and tables of independent writers read
// here. The readers and writers are Debian packages (python3-dbfread, python3-dbf and
// shapelib's dbfdump); a test is skipped only when its tool is not installed.
#include "TestSupport.h"

#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

using namespace focaris::dbf;
using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::TempDir;
using focaris::test::writeFile;

namespace {

// The Debian python, which carries the packaged modules (not a python of a user's PATH).
const char *kPython = "/usr/bin/python3";

bool pythonHas(const std::string &module)
{
    return run(std::string(kPython) + " -c 'import " + module + "' 2>/dev/null") == 0;
}

std::string python(const TempDir &dir, const std::string &script)
{
    const auto file = dir / "script.py";
    writeFile(file, script);
    std::string out;
    const int rc = run("cd " + shellQuote(dir.path().string()) + " && " + kPython + " script.py", &out, true);
    EXPECT_EQ(rc, 0) << out;
    return out;
}

std::filesystem::path writeSample(const TempDir &dir)
{
    const auto file = dir / "Oameni.dbf";
    DbfTable::create(file, {ColumnDef::decimalColumn("NROM", 10, 0), ColumnDef::charColumn("TITULAR", 32),
                            ColumnDef::decimalColumn("VENIT", 10, 2), ColumnDef::dateColumn("DATAN"),
                            ColumnDef::charColumn("CALITATE", 12)});
    DbfTable t(file);
    t.append({Value::fromNumber(1), Value::fromText("ȘTEFAN ȚEPEȘ"), Value::fromNumber(1234.5),
              Value::fromDate(1980, 2, 29), Value::fromText("beneficiar")});
    t.append({Value::fromNumber(2), Value::fromText("GONE")});
    t.append({Value::fromNumber(3), Value::fromText("ĂLINA ÎNCĂ"), Value::fromNumber(-0.5), Value(), Value()});
    t.markDeleted(2);
    return file;
}

} // namespace

TEST(DbfInterop, DbfreadReadsOurTables)
{
    if (!pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    TempDir dir;
    const auto file = writeSample(dir);
    const std::string out = python(dir, "import dbfread\n"
                                        "for r in dbfread.DBF(" +
                                            shellQuote(file.string()) +
                                            ", encoding='cp1250'):\n"
                                            "    print(repr(list(r.values())))\n");
    EXPECT_EQ(out, "[1, 'ŞTEFAN ŢEPEŞ', 1234.5, datetime.date(1980, 2, 29), 'beneficiar']\n"
                   "[3, 'ĂLINA ÎNCĂ', -0.5, None, '']\n");
}

TEST(DbfInterop, ShapelibDbfdumpReadsOurTables)
{
    if (run("command -v dbfdump >/dev/null") != 0)
        GTEST_SKIP() << "shapelib's dbfdump is not installed";
    TempDir dir;
    const auto file = writeSample(dir);
    std::string out;
    ASSERT_EQ(run("dbfdump -m -r " + shellQuote(file.string()) + " | iconv -f CP1250 -t UTF-8", &out), 0);
    // dbfdump shows every record slot; the values are those we wrote, deleted or not.
    EXPECT_NE(out.find("TITULAR: ŞTEFAN ŢEPEŞ"), std::string::npos) << out;
    EXPECT_NE(out.find("VENIT: 1234.50"), std::string::npos) << out;
    EXPECT_NE(out.find("DATAN: 19800229"), std::string::npos) << out;
    EXPECT_NE(out.find("VENIT: -0.50"), std::string::npos) << out;
    EXPECT_NE(out.find("(DELETED)\nRecord: 2"), std::string::npos) << out;
}

TEST(DbfInterop, WeReadTablesWrittenByPythonDbf)
{
    if (!pythonHas("dbf"))
        GTEST_SKIP() << "python3-dbf is not installed";
    TempDir dir;
    python(dir, "import dbf, datetime\n"
                "for kind in ('db3', 'vfp'):\n"
                "    t = dbf.Table(kind + '.dbf', 'NUME C(24); SUMA N(10,2); DATA D; OK L; NOTA M',"
                " dbf_type=kind, codepage='cp1250')\n"
                "    t.open(dbf.READ_WRITE)\n"
                "    t.append(('Ştefan Ţepeş ăîâ', 12.5, datetime.date(2023, 12, 5), True, 'notă lungă ' * 60))\n"
                "    t.append(('ignored', 1, None, None, ''))\n"
                "    t.append(('', None, None, False, ''))\n"
                "    dbf.delete(t[1])\n"
                "    t.close()\n"
                "t = dbf.Table('vfp2.dbf', 'N I; B Y; T T; D B', dbf_type='vfp', codepage='cp1250')\n"
                "t.open(dbf.READ_WRITE)\n"
                "t.append((-42, 12.5, datetime.datetime(2024, 2, 29, 13, 45, 30), 2.25))\n"
                "t.close()\n");
    for (const char *kind : {"db3", "vfp"}) {
        SCOPED_TRACE(kind);
        DbfTable t(dir / (std::string(kind) + ".dbf"));
        EXPECT_EQ(t.codepage(), 1250);
        const RecordSet rs = t.readAll();
        ASSERT_EQ(rs.size(), 2u);
        EXPECT_EQ(rs.recordNumber(1), 3u);
        EXPECT_EQ(rs.text(0, 0), "Ştefan Ţepeş ăîâ");
        EXPECT_DOUBLE_EQ(rs.number(0, 1), 12.5);
        EXPECT_EQ(civilFromDays(rs.date(0, 2)), (Ymd{2023, 12, 5}));
        EXPECT_TRUE(rs.logical(0, 3));
        std::string memo;
        for (int i = 0; i < 60; ++i)
            memo += "notă lungă ";
        memo.pop_back(); // trailing blanks are not kept
        EXPECT_EQ(rs.text(0, 4), memo);
        EXPECT_TRUE(rs.isNull(1, 0));
        EXPECT_TRUE(rs.isNull(1, 1));
        EXPECT_TRUE(rs.isNull(1, 2));
        EXPECT_EQ(rs.kind(1, 3), ValueKind::Logical);
        EXPECT_FALSE(rs.logical(1, 3));
        EXPECT_TRUE(rs.isNull(1, 4));
    }
    DbfTable t(dir / "vfp2.dbf");
    const RecordSet rs = t.readAll();
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_DOUBLE_EQ(rs.number(0, 0), -42);
    EXPECT_DOUBLE_EQ(rs.number(0, 1), 12.5);
    EXPECT_EQ(rs.kind(0, 2), ValueKind::DateTime);
    EXPECT_DOUBLE_EQ(rs.number(0, 2), daysFromCivil(2024, 2, 29) + (13 * 3600 + 45 * 60 + 30) / 86400.0);
    EXPECT_DOUBLE_EQ(rs.number(0, 3), 2.25);
}

// Appending to a Visual FoxPro table made elsewhere (the treasury file comes from a
// template): other readers see the records we added.
TEST(DbfInterop, AppendsToForeignVisualFoxProTableAreReadBack)
{
    if (!pythonHas("dbf") || !pythonHas("dbfread"))
        GTEST_SKIP() << "python3-dbf or python3-dbfread is not installed";
    TempDir dir;
    python(dir,
           "import dbf\n"
           "t = dbf.Table('trz.dbf', 'CODJUD C(2); SUMA N(10,2); DTPLATCRT D', dbf_type='vfp', codepage='cp1252')\n"
           "t.open(dbf.READ_WRITE); t.close()\n");
    DbfTable t(dir / "trz.dbf");
    t.append({Value::fromText("1"), Value::fromNumber(320), Value::fromDate(2023, 12, 5)});
    t.append({Value::fromText("12"), Value::fromNumber(0.125), Value()});
    const std::string out = python(dir, "import dbfread\n"
                                        "for r in dbfread.DBF('trz.dbf'):\n"
                                        "    print(repr(list(r.values())))\n");
    EXPECT_EQ(out, "['1', 320.0, datetime.date(2023, 12, 5)]\n['12', 0.13, None]\n");
}

// focaris-tool sql and store on a scratch data folder.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris::test;

namespace {

std::string tool(const std::string &args, int *status = nullptr)
{
    std::string out;
    const int rc = run(shellQuote(toolPath()) + " " + args, &out, true);
    if (status)
        *status = rc;
    return out;
}

TEST(StoreTool, InitLogAndSql)
{
    TempDir dir;
    const std::string folder = shellQuote(dir.path().string());
    EXPECT_EQ(tool("store init " + folder), "templates=13\n");
    EXPECT_EQ(tool("store log " + folder + " 'Pornire program'"), "idlog=1\n");
    EXPECT_EQ(
        tool("sql " + folder + " " + shellQuote("SELECT IDLOG, ACTIUNE, UTILIZATOR IS NULL AS U FROM \"Log.dbf\"")),
        "IDLOG,ACTIUNE,U\n1,Pornire program,0\n");
    EXPECT_EQ(tool("sql " + folder + " " +
                   shellQuote("INSERT INTO \"Cereri.dbf\" (NRCRT, SUBSEMN, TVENIT, DATACERE) VALUES "
                              "(1, 'POP, \"ION', 12.5, \"01.02.2024\"), (2, \"ŞTEFAN\", 3, NULL)")),
              "rows=2\n");
    EXPECT_EQ(
        tool("sql " + folder + " " + shellQuote("SELECT NRCRT, SUBSEMN, TVENIT, DATACERE, CNP FROM Cereri ORDER BY 1")),
        "NRCRT,SUBSEMN,TVENIT,DATACERE,CNP\n1,\"POP, \"\"ION\",12.5,01.02.2024,\n2,ŞTEFAN,3,,\n");
    int status = 0;
    const std::string err = tool("sql " + folder + " " + shellQuote("SELECT NOPE FROM Cereri"), &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("focaris-tool: Unknown column NOPE"), std::string::npos) << err;
}

// A folder prepared by the tool is ready to print: the tables, every template, the
// counters; a second run keeps what is there, and the help says what init does.
TEST(StoreTool, InitPreparesTheFolderAsTheStartDoes)
{
    TempDir dir;
    const std::string folder = shellQuote(dir.path().string());
    EXPECT_EQ(tool("store init " + folder), "templates=13\n");
    for (const char *file : {"LOG.DBF", "Cereri.dbf", "Oameni.dbf", "Stabilire.rtf", "Referat.rtf", "Stat.xls",
                             "StabilireU.xls", "ModelAncheta2.rtf", "Anexa14.xls"})
        EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
    const std::string settings = readFile(dir / "Focaris.set");
    for (const char *line : {"NRCRT=1", "NROM=1", "IDLOG=1", "Versiune=1.0029"})
        EXPECT_NE(settings.find(line), std::string::npos) << line << "\n" << settings;
    writeFile(dir / "Stabilire.rtf", "{\\rtf1 the office's own}");
    EXPECT_EQ(tool("store init " + folder), "templates=0\n");
    EXPECT_EQ(readFile(dir / "Stabilire.rtf"), "{\\rtf1 the office's own}");
    const std::string help = tool("help");
    EXPECT_NE(help.find("store init FOLDER   prepares a data folder as the program's start does"), std::string::npos)
        << help;
}

TEST(StoreTool, CityFolder)
{
    TempDir dir;
    const std::string folder = shellQuote(dir.path().string());
    EXPECT_EQ(tool("store city " + folder + " --months 2 --per-month 40"),
              "applications=80\nmembers=240\nNRCRT=81\nNROM=241\nIDLOG=1\n");
    EXPECT_EQ(tool("sql " + folder + " " +
                   shellQuote("SELECT COUNT(DISTINCT CNP), COUNT(*) FROM Cereri WHERE LUNACRT=24286")),
              "COUNT(DISTINCT CNP),COUNT(*)\n40,40\n");
}

} // namespace

// focaris-tool xls: the output formats of dump and sheets, and fill from the command line.
#include "XlsTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::TempDir;
using focaris::xls::test::goodWorkbook;

namespace {
std::string tool(const std::string &args, int *status = nullptr)
{
    std::string out;
    const int rc = run(focaris::test::toolPath() + " xls " + args, &out, true);
    if (status)
        *status = rc;
    return out;
}
} // namespace

TEST(XlsTool, SheetsAndDumpPrintOneItemALine)
{
    const std::string mixed = shellQuote(goodWorkbook("mixed.xls").string());
    EXPECT_EQ(tool("sheets " + mixed), "Foaie\nAl doilea\n");
    const std::string dump = tool("dump " + mixed);
    EXPECT_EQ(dump.rfind("1,1,s,Text\n1,2,s,Număr\n1,3,s,Dată\n1,4,s,Logic\n1,5,s,Formulă\n"
                         "1,6,s,Eroare\n2,1,",
                         0),
              0u)
        << dump;
    for (const char *line : {"2,1,s,Școala Țăndărei\n", "2,2,n,3.25\n", "2,3,n,45291\n", "2,4,b,TRUE\n", "2,5,f,6.5\n",
                             "2,6,f,#DIV/0!\n", "3,2,n,-17\n", "4,2,n,1000000000000000\n"})
        EXPECT_NE(dump.find(line), std::string::npos) << line;
    EXPECT_EQ(tool("dump " + mixed + " --sheet 2"), "1,1,n,7\n2,1,s,pe a doua foaie\n3,1,s,unite\n");

    int rc = 0;
    EXPECT_NE(tool("dump " + mixed + " --sheet 3", &rc).find("focaris-tool: "), std::string::npos);
    EXPECT_EQ(rc, 1);
    tool("dump " + shellQuote((focaris::test::dataDir() / "broken/xls/looping-sector-chain.xls").string()), &rc);
    EXPECT_EQ(rc, 1);
}

TEST(XlsTool, FillReplacesMarkersInOrderOnTheChosenSheet)
{
    TempDir dir;
    const auto out = dir / "out.xls";
    int rc = 0;
    tool("fill " + shellQuote(goodWorkbook("stat.xls").string()) + " " + shellQuote(out.string()) +
             " --sheet 2 --replace '#PRIMARIA' 'Primaria Reghin' --replace '#PRIMAR' 'Ion' --zero",
         &rc);
    ASSERT_EQ(rc, 0);
    const std::string dump = tool("dump " + shellQuote(out.string()) + " --sheet 2");
    EXPECT_NE(dump.find("3,1,s,Primaria Reghin\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("16,5,s,Ion\n"), std::string::npos) << dump;
    // Sheet 1 is untouched.
    EXPECT_NE(tool("dump " + shellQuote(out.string())).find("3,1,s,#Primaria\n"), std::string::npos);
    tool("fill " + shellQuote((dir / "none.xls").string()) + " " + shellQuote(out.string()), &rc);
    EXPECT_EQ(rc, 1);
}

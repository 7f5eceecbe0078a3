// The output of the foundation's focaris-tool commands, as scripts read it.
#include "TestSupport.h"

#include <gtest/gtest.h>

using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::toolPath;

namespace {

std::string tool(const std::string &args, int expectedStatus = 0)
{
    std::string out;
    EXPECT_EQ(run(shellQuote(toolPath()) + " " + args, &out), expectedStatus) << args;
    return out;
}

TEST(Tool, CnpAndCalculation)
{
    EXPECT_EQ(tool("cnp 1800101000544"), "valid=1\nbirth=01.01.1980\nsex=masculin\n");
    EXPECT_EQ(tool("cnp 2"), "valid=0\nbirth=0\nsex=feminin\n");
    EXPECT_EQ(tool("calc --members 2 --income 640 --rooms 2 --tariff 300 --months 5"),
              "VENITM=320\nCUANTUM=90\nVALMAX=353.7\nTOTAL=1768.5\n");
    EXPECT_EQ(tool("calc --members 1 --income 1500 --rooms 3 --tariff 412.8 --months 4 --no-heating"),
              "VENITM=1500\nCUANTUM=0\nVALMAX=0\nTOTAL=0\n");
    EXPECT_EQ(tool("recalc --members 2 --income 640 --rooms 2 --tariff 300 --months 5 "
                   "--statut APROBAT --sumal 0 --sumag 0 --sumae 30 --sumat 0"),
              "STATUT=APROBAT\nMOTIVR=\nCUANTUM=90\nSUMAL=0\nSUMAG=0\nSUMAE=70\nSUMAT=0\n"
              "VALMAX=353.7\nTOTAL=1768.5\n");
}

TEST(Tool, ParametersFromASettingsFile)
{
    focaris::test::TempDir dir;
    const auto file = dir / "focaris.SET";
    focaris::test::writeFile(file, "[setari]\r\nCu2=85\r\nCL2=2\r\nCu11=7\r\n");
    EXPECT_EQ(
        tool("calc --members 2 --income 640 --rooms 2 --tariff 300 --months 1 --settings " + shellQuote(file.string())),
        "VENITM=320\nCUANTUM=85\nVALMAX=510\nTOTAL=510\n");
    EXPECT_EQ(tool("letter 7 --settings " + shellQuote(file.string())), "letter=k\n");
    EXPECT_EQ(tool("letter 10"), "letter=j\n");
}

TEST(Tool, SmallRules)
{
    EXPECT_EQ(tool("fiscal 'RO 14399840'"), "valid=1\n");
    EXPECT_EQ(tool("scramble abc"), "hex=4895602c734861413c5c93708d626b63\n");
    EXPECT_EQ(tool("month 01.2024"), "code=24288\n");
    EXPECT_EQ(tool("month --code 24299"), "text=12.2024\n");
    EXPECT_EQ(tool("clean '  a  \"b\"  c '"), "text=a b c\n");
    EXPECT_EQ(tool("phone 0722123456"), "valid=1\n");
    EXPECT_EQ(tool("email ab@c.ro"), "valid=0\n");
}

TEST(Tool, SettingGetAndSetAndErrors)
{
    focaris::test::TempDir dir;
    const std::string file = shellQuote((dir / "Focaris.set").string());
    EXPECT_EQ(tool("setting set " + file + " SETARI PRIMARIA 'Ştei'"), "");
    EXPECT_EQ(focaris::test::readFile(dir / "Focaris.set"), "[SETARI]\r\nPRIMARIA=\xAAtei\r\n");
    EXPECT_EQ(tool("setting get " + file + " setari primaria"), "value=Ştei\n");
    EXPECT_EQ(tool("setting get " + file + " setari absent"), "value=\n");

    std::string out;
    EXPECT_EQ(run(shellQuote(toolPath()) + " calc --members doi", &out, true), 1);
    EXPECT_EQ(out, "focaris-tool: --members is not a whole number: 'doi'\n");
    EXPECT_EQ(run(shellQuote(toolPath()) + " setting set /nonexistent/x.set S K V", &out, true), 1);
    EXPECT_EQ(out.rfind("focaris-tool: cannot write", 0), 0u) << out;
}

} // namespace

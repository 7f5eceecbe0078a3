// focaris-tool rtf fill and resource: records from CSV rows, repeated header columns as
// runs, the marker option, and the embedded files seen from the shell.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris::test;

namespace {

class RtfTool : public ::testing::Test {
protected:
    TempDir dir;
    std::string tool(const std::string &args, int expectedStatus = 0)
    {
        std::string out;
        int status = run(shellQuote(toolPath()) + " " + args, &out, true);
        EXPECT_EQ(status, expectedStatus) << args << "\n" << out;
        return out;
    }
    std::string path(const std::string &name) { return shellQuote((dir / name).string()); }
};

TEST_F(RtfTool, FillWritesOneBodyPerRowWithRunsAndQuotedFields)
{
    writeFile(dir / "t.rtf", "{\\rtf1\\ansicpg1250\r\n\\pard [NUME]: [K]\\par\r\n}\r\n");
    writeFile(dir / "v.csv", "\xEF\xBB\xBF[NUME],[K],[K]\r\n\"Ion, \"\"Nelu\"\"\",a,b\r\nŞtefan,,c\r\n\r\n");
    EXPECT_EQ(tool("rtf fill " + path("t.rtf") + " " + path("o.rtf") + " --values " + path("v.csv")), "records: 2\n");
    EXPECT_EQ(readFile(dir / "o.rtf"),
              "{\\rtf1\\ansicpg1250\r\n\\pard ION, \"NELU\": a\\par\r\n\\pard ION, \"NELU\": b\\par\r\n"
              "\\par \\page\r\n\\pard \\'aaTEFAN: ..........\\par\r\n"
              "\\pard \\'aaTEFAN: c\\par\r\n}\r\n");
}

TEST_F(RtfTool, FillUntilUsesTheFirstRowOnly)
{
    writeFile(dir / "t.rtf", "{\\rtf1\r\n\\pard [NUME]\\par\r\nMARK [NUME]\r\n}\r\n");
    writeFile(dir / "v.csv", "[NUME]\nIon\nAna\n");
    EXPECT_EQ(tool("rtf fill " + path("t.rtf") + " " + path("o.rtf") + " --values " + path("v.csv") + " --until MARK"),
              "records: 1\n");
    EXPECT_EQ(readFile(dir / "o.rtf"), "{\\rtf1\r\n\\pard ION\\par\r\n [NUME]\r\n}\r\n}\r\n");
}

TEST_F(RtfTool, FillReportsUnusableInput)
{
    writeFile(dir / "v.csv", "[A]\n1,2\n");
    writeFile(dir / "t.rtf", "{\\rtf1\r\n\\pard x}\r\n");
    std::string out = tool("rtf fill " + path("none.rtf") + " " + path("o.rtf") + " --values " + path("v.csv"), 1);
    EXPECT_NE(out.find("focaris-tool: cannot start"), std::string::npos) << out;
    out = tool("rtf fill " + path("t.rtf") + " " + path("o.rtf") + " --values " + path("v.csv"), 1);
    EXPECT_NE(out.find("more fields than the header"), std::string::npos) << out;
    writeFile(dir / "q.csv", "[A]\n\"open\n");
    tool("rtf fill " + path("t.rtf") + " " + path("o.rtf") + " --values " + path("q.csv"), 1);
}

TEST_F(RtfTool, ResourceListAndExtract)
{
    std::string list = tool("resource list");
    EXPECT_NE(list.find("MODEL\tReferat\trtf\t"), std::string::npos) << list;
    tool("resource extract referat model " + path("r.rtf"));
    EXPECT_EQ(readFile(dir / "r.rtf").substr(0, 6), "{\\rtf1");
    EXPECT_NE(tool("resource extract Nimic MODEL " + path("x"), 1).find("no resource Nimic"), std::string::npos);
}

} // namespace

// focaris-tool archive pack / list / unpack, as scripts use them.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris::test;
namespace fs = std::filesystem;

TEST(ArchiveTool, PackListUnpackAndDamage)
{
    TempDir dir;
    writeFile(dir / "src" / "Cereri.dbf", "tabel");
    writeFile(dir / "src" / "Gol.txt", "");
    const std::string tool = toolPath();
    const std::string archive = (dir / "copie.T21").string();
    ASSERT_EQ(run(tool + " archive pack " + shellQuote((dir / "src").string()) + " " + shellQuote(archive)), 0);
    std::string out;
    ASSERT_EQ(run(tool + " archive list " + shellQuote(archive), &out), 0);
    EXPECT_EQ(out, "Cereri.dbf\t5\n");
    ASSERT_EQ(run(tool + " archive unpack " + shellQuote(archive) + " " + shellQuote((dir / "out").string())), 0);
    EXPECT_EQ(readFile(dir / "out" / "Cereri.dbf"), "tabel");

    const std::string broken = (dataDir() / "broken" / "archive" / "truncated_stream.T21").string();
    EXPECT_EQ(
        run(tool + " archive unpack " + shellQuote(broken) + " " + shellQuote((dir / "bad").string()), &out, true), 1);
    EXPECT_NE(out.find("focaris-tool: damaged archive"), std::string::npos);
    EXPECT_EQ(run(tool + " archive list " + shellQuote(broken), &out, true), 1);
    EXPECT_EQ(run(tool + " archive pack " + shellQuote((dir / "out" / "none").string()) + " x.T21", &out, true), 1);
}

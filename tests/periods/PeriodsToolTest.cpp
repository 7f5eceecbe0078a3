// focaris-tool months and import on a data folder, as a script would use them: the
// printed lines, the refusals on standard error and the exit status.
#include "RegisterArchive.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris::test;

namespace {

struct Outcome {
    int status;
    std::string out;
};

Outcome tool(const std::string &args)
{
    Outcome o;
    o.status = run(shellQuote(toolPath()) + " " + args + " 2>&1", &o.out, true);
    return o;
}

TEST(PeriodsToolTest, MonthsAreAddedListedChosenAndDeleted)
{
    TempDir tmp;
    const std::string data = shellQuote((tmp / "inst/Data").string());
    std::filesystem::create_directories(tmp / "inst/Data");
    ASSERT_EQ(tool("store init " + data).status, 0);

    EXPECT_EQ(tool("months add " + data + " 01.2025").out, "01.2025\n");
    EXPECT_EQ(tool("months add " + data + " 02.2025").status, 0);
    Outcome o = tool("months add " + data + " 01.2025");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "refused: Luna: Luna aleasa exista deja!\n");
    EXPECT_EQ(tool("months add " + data + " 05.2005").out, "refused: Anul: Anul este scris gresit!\n");
    EXPECT_EQ(tool("months list " + data).out, "*02.2025\n01.2025\n");
    EXPECT_EQ(readFile(tmp / "inst/Data/Luni.lst"), "02.2025\r\n01.2025\r\n");

    EXPECT_EQ(tool("months select " + data + " 01.2025").status, 0);
    EXPECT_EQ(tool("months list " + data).out, "02.2025\n*01.2025\n");
    EXPECT_EQ(tool("months select " + data + " 07.2025").status, 1);

    // Without --yes the questions get "&Nu" and nothing is deleted.
    o = tool("months delete " + data + " 02.2025");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("Stergere luna: Doriti sa sterg luna 02.2025 cu toate cererile aferente?"), std::string::npos);
    EXPECT_EQ(tool("months list " + data).out, "02.2025\n*01.2025\n");
    o = tool("months delete " + data + " 02.2025 --yes");
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("applications=0 members=0"), std::string::npos);
    EXPECT_EQ(tool("months list " + data).out, "*01.2025\n");
}

TEST(PeriodsToolTest, ImportPrintsItsCountsAndRefusesADamagedArchive)
{
    TempDir tmp;
    const std::string data = shellQuote((tmp / "inst/Data").string());
    std::filesystem::create_directories(tmp / "inst/Data");
    ASSERT_EQ(tool("store init " + data).status, 0);
    const QJsonArray files{QJsonArray{1,      5, "2024-01-01", "POPA ANA", "",  "", "", "", "",        "", "",
                                      "DEVA", 1, 10.0,         0.0,        0.0, "", "", "", "APROBATA"}};
    const QJsonArray members{QJsonArray{1, 1, "POPA ANA", "", 1.0, 0.0, 0.0, 1, ""}};
    const auto good = tmp / "bun.416";
    if (!WriteRegisterArchive(good, {{"Cereri.dbf", kVmgFiles, files},
                                     {"Anchete.dbf", kVmgInquiries, QJsonArray{}},
                                     {"Oameni.dbf", kVmgMembers, members}}))
        GTEST_SKIP() << "python3-dbf is not installed";
    Outcome o = tool("import vmg " + data + " " + shellQuote(good.string()));
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("applications=1 members=1\n"), std::string::npos) << o.out;

    const auto bad = tmp / "rau.416";
    ASSERT_TRUE(WriteRegisterArchive(bad, {{"Cereri.dbf", kVmgFiles, files}}, 60));
    o = tool("import vmg " + data + " " + shellQuote(bad.string()));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("Preluare L416: Arhiva este defecta!"), std::string::npos) << o.out;
    EXPECT_EQ(tool("sql " + data + " " + shellQuote("SELECT COUNT(*) AS N FROM \"Cereri.dbf\" WHERE LUNACRT=1")).out,
              "N\n1\n");
}

} // namespace

// focaris-tool document: the same operations from a shell, with the file written on
// standard output, the messages as "TITLE: TEXT" and refused entries as
// "refused: FIELD: MESSAGE", and exit status 1 when no document was made.
#include "MonthFolder.h"

#include "core/Context.h"

#include <QFileInfo>

namespace focaris::test {
namespace {

class ToolDocuments : public MonthFolder {
protected:
    int tool(const std::string &args, std::string &out)
    {
        return run(shellQuote(toolPath()) + " document " + args + " 2>&1", &out);
    }
    std::string folder() const { return shellQuote(data().toStdString()); }
};

TEST_F(ToolDocuments, EveryVerbWritesItsFileOrSaysWhyNot)
{
    std::string out;
    const std::string rtf = file("d.rtf").toStdString();
    ASSERT_EQ(
        tool("dispositions " + folder() + " --kind grant --from 2 --to 10 --start 01.12.2025 --out " + shellQuote(rtf),
             out),
        0)
        << out;
    EXPECT_EQ(out, rtf + "\n");
    EXPECT_NE(readFile(rtf).find("01.12.2025"), std::string::npos);

    EXPECT_EQ(tool("dispositions " + folder() + " --kind grant --from 5 --to 2 --start 01.12.2025 --out x.rtf", out),
              1);
    EXPECT_EQ(out, "refused: Disp0: Intervalul ales este incorect!\n");
    EXPECT_EQ(
        tool("dispositions " + folder() + " --kind rejection --from 50 --to 60 --start 01.12.2025 --out x.rtf", out),
        1);
    EXPECT_EQ(out, "Listare dispozitii: Nu exista nici un numar de dipozitie in intervalul 50 - 60 !\n");
    // Another month given on the command line (a listed one): disposition 2 of October.
    writeFile(std::filesystem::path(data().toStdString()) / "Luni.lst", "11.2025\r\n10.2025\r\n");
    ASSERT_EQ(tool("dispositions " + folder() +
                       " --kind grant --from 2 --to 2 --start 01.11.2025 --month 10.2025 --out " + shellQuote(rtf),
                   out),
              0)
        << out;
    EXPECT_NE(readFile(rtf).find("ALTA LUNA"), std::string::npos);

    const std::string xls = file("u.xls").toStdString();
    ASSERT_EQ(tool("single " + folder() +
                       " --number 07 --start 01.12.2025 --period iarna --payment-date 15.12 "
                       "--court Mures --out " +
                       shellQuote(xls),
                   out),
              1);
    EXPECT_EQ(out, "Listare Dispozitie Unica: Nu exista Dipozitia Aprobata cu nr.7 !\n");
    ASSERT_EQ(tool("single " + folder() +
                       " --number 10 --start 01.12.2025 --period iarna --payment-date 15.12 "
                       "--court Mures --out " +
                       shellQuote(xls),
                   out),
              0)
        << out;
    EXPECT_EQ(out, xls + "\n");
    EXPECT_EQ(tool("single " + folder() +
                       " --number 0 --start 01.12.2025 --period a --payment-date b --court c "
                       "--out " +
                       shellQuote(xls),
                   out),
              1);
    EXPECT_EQ(out, "refused: NrDisp: De emotie, ati uitat sa scrieti numarul de Dispozitie de listat!\n");

    ASSERT_EQ(tool("reports " + folder() + " --from 101 --to 103 --out " + shellQuote(rtf), out), 0) << out;
    ASSERT_EQ(tool("form " + folder() + " 2 --kind short --out " + shellQuote(rtf), out), 0) << out;
    EXPECT_NE(readFile(rtf).find("ENGIE"), std::string::npos);
    ASSERT_EQ(tool("payments " + folder() +
                       " --from-letter A --to-letter M --locality CORUNCA --month-text "
                       "noiembrie --out " +
                       shellQuote(xls),
                   out),
              0)
        << out;
    EXPECT_EQ(
        tool("payments " + folder() + " --from-letter Q --to-letter Z --month-text x --out " + shellQuote(xls), out),
        1);
    EXPECT_EQ(out, "refused: Lit1: Alegeti o litera din lista!\n");

    const QString inquiry = data() + "/A5010101260031.rtf";
    ASSERT_EQ(tool("inquiry " + folder() + " 3 add", out), 0) << out;
    EXPECT_EQ(out, inquiry.toStdString() + "\n");
    EXPECT_EQ(tool("inquiry " + folder() + " 3 delete", out), 1) << "without --yes the question gets Nu";
    EXPECT_EQ(out, "Stergere Ancheta: Vreti sa stergeti ancheta?\n");
    EXPECT_TRUE(QFileInfo::exists(inquiry));
    ASSERT_EQ(tool("inquiry " + folder() + " 3 delete --yes", out), 0) << out;
    EXPECT_FALSE(QFileInfo::exists(inquiry));
}

} // namespace
} // namespace focaris::test

// focaris-tool's report commands on the small folder: the same files as the operations,
// the files printed, questions answered by --yes, refusals as "refused: FIELD: MESSAGE".
#include "ExportsFixture.h"

#include <QUrl>

namespace focaris::test {
namespace {

class ToolTest : public ExportsFixture {
protected:
    int tool(const std::string &args, std::string *output)
    {
        return run(shellQuote(toolPath()) + " " + args, output, true);
    }
    std::string data() const { return shellQuote(DataFolder().toStdString()); }
};

TEST_F(ToolTest, AnpisAndF2201WriteTheExpectedFiles)
{
    addSmallFolder();
    WriteSetting("VARIABILE", "LUNA_LUCRU", "01.2024");
    std::string output;
    ASSERT_EQ(tool("report anpis " + data() + " --out " + shellQuote(out.toStdString()), &output), 0) << output;
    EXPECT_EQ(bytesOf(out + "/Date_4562345v2.xml"), expected("Date_4562345v2.xml"));
    EXPECT_NE(output.find(out.toStdString() + "/Date_4562345v2.xml\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Export Date ANPIS: XML-ul a fost creat: Date_4562345v2.xml Trimiteti-l la ANPIS!"),
              std::string::npos)
        << output;

    // Without --yes the existing file is kept and the command fails.
    EXPECT_EQ(tool("report anpis " + data() + " --out " + shellQuote(out.toStdString()), &output), 1);
    EXPECT_NE(output.find("Doriti sa-l inlocuim?"), std::string::npos) << output;
    EXPECT_EQ(tool("report anpis " + data() + " --yes --out " + shellQuote(out.toStdString()), &output), 0) << output;

    ASSERT_EQ(
        tool("report f2201 " + data() + " --now '15.01.2024 10:30' --out " + shellQuote(out.toStdString()), &output), 0)
        << output;
    QByteArray e = expected("F2201_1.xml");
    e.replace("@FOLDERURL@", QUrl::fromLocalFile(out).toString(QUrl::FullyEncoded).toUtf8());
    EXPECT_EQ(bytesOf(out + "/F2201_1.xml"), e);
}

TEST_F(ToolTest, TreasuryListsAndRefusals)
{
    addSmallFolder();
    writeFile(std::filesystem::path(DataFolder().toStdString()) / "Luni.lst", "01.2024\r\n"); // the month given
    std::string output;
    ASSERT_EQ(
        tool("report treasury " + data() + " --month 01.2024 --date 05.12.2023 --out " + shellQuote(out.toStdString()),
             &output),
        0)
        << output;
    EXPECT_NE(output.find("/Termica_Trezorerie/StatTo_014562345_05-12-2023.txt\n"), std::string::npos) << output;
    EXPECT_TRUE(QFile::exists(out + "/Termica_Trezorerie/014562345_05-12-2023.dbf"));

    for (const char *verb : {"persons", "members", "persons-dbf"}) {
        const QString file = out + "/" + verb + (QString(verb) == "persons-dbf" ? ".dbf" : ".xls");
        ASSERT_EQ(tool(std::string("report ") + verb + " " + data() + " --month 01.2024 --out " +
                           shellQuote(file.toStdString()),
                       &output),
                  0)
            << verb << output;
        EXPECT_TRUE(QFile::exists(file)) << verb;
        EXPECT_NE(output.find(file.toStdString() + "\n"), std::string::npos) << output;
    }
    const QString risk = out + "/risk.xls";
    ASSERT_EQ(tool("report risk " + data() + " --month 01.2024 --pay-month 01 --pay-year 2024 --out " +
                       shellQuote(risk.toStdString()),
                   &output),
              0)
        << output;
    EXPECT_TRUE(QFile::exists(risk));

    // The live tables cannot be chosen as the persons table.
    EXPECT_EQ(tool("report persons-dbf " + data() + " --month 01.2024 --out " +
                       shellQuote(TablePath("Cereri.dbf").toStdString()),
                   &output),
              1);
    EXPECT_NE(output.find("refused: Save1: "), std::string::npos) << output;

    addApp({{"NRCRT", "6"}, {"NR_CERE", "44"}, {"SUBSEMN", "'MARE FAMILIE'"}, {"NR_MEMBRI", "100"}, {"SUMAL", "20"}});
    EXPECT_EQ(tool("report treasury " + data() + " --month 01.2024 --date 05.12.2023 --yes --out " +
                       shellQuote(out.toStdString()),
                   &output),
              1);
    EXPECT_NE(output.find("refused: NRPERS: Cererea nr. 44 (MARE FAMILIE)"), std::string::npos) << output;
}

} // namespace
} // namespace focaris::test

// The E.ON workbooks on the hand-worked folder, read back with openpyxl, the supplier
// dialog's lists and checks, and the report commands of focaris-tool.
#include "ReportsFixture.h"

#include "reports/EonReport.h"

namespace focaris::test {
namespace {

using reports::EonChoice;

class EonTest : public ReportsTest {
protected:
    EonChoice validChoice()
    {
        EonChoice c = reports::LoadEonChoice();
        c.supplier = "E.ON GAZ";
        for (auto &entry : c.postalCodes)
            entry.second = entry.first == "TARGU MURES" ? "540001" : "047123";
        return c;
    }
};

TEST_F(EonTest, TheSupplierListHoldsOnlyApprovedOrModifiedApplicationsOfTheMonth)
{
    WriteSetting("CODURIP", "TARGU MURES", "540001");
    const EonChoice c = reports::LoadEonChoice();
    // FLOREA's 'GAZ "NORD"' is rejected and IONESCU's VECHI GAZ is of October: without the
    // parentheses of the condition either would be listed by its gas supplement alone.
    EXPECT_EQ(c.suppliers, QStringList{"E.ON GAZ"});
    ASSERT_EQ(c.postalCodes.size(), 3u);
    EXPECT_EQ(c.postalCodes[0], std::make_pair(QString("CRISTESTI"), QString()));
    EXPECT_EQ(c.postalCodes[1].first, "SANCRAIU DE MURES");
    EXPECT_EQ(c.postalCodes[2], std::make_pair(QString("TARGU MURES"), QString("540001")));

    EonChoice none = c;
    EXPECT_EQ(reports::CheckEonChoice(none)->message, "Nu ati ales nimic!");
    EXPECT_EQ(reports::CheckEonChoice(none)->field, "FurnG");
    none.supplier = "E.ON GAZ";
    EXPECT_EQ(reports::CheckEonChoice(none)->message, "Nu ati scris Codul postal!");
    EXPECT_EQ(reports::CheckEonChoice(none)->field, "SMDBGrid1");
    const EonChoice ok = validChoice();
    EXPECT_FALSE(reports::CheckEonChoice(ok).has_value());
    reports::StorePostalCodes(ok);
    EXPECT_EQ(ReadSetting("CODURIP", "CRISTESTI"), "047123");
}

TEST_F(EonTest, TheWorkbooksCarryTheGasAndElectricityRowsWithCodesAsText)
{
    ui.folderAnswers.push_back(out);
    const auto result = reports::MakeEonReport(ui, validChoice());
    ASSERT_TRUE(result.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(result.files, (QStringList{out + "/EON_TERMICA_RAPORT/Suplimente_Gaz.xlsx",
                                         out + "/EON_TERMICA_RAPORT/Suplimente_Electrica.xlsx"}));
    EXPECT_EQ(ui.messages.back().title, "Raport E-On Gaz");
    EXPECT_EQ(ui.lastMessage(), "\rRaportul a fost creat!");

    const Cells gas = readCells(result.files[0]);
    EXPECT_EQ(at(gas, 1, 1, 1), "s:CRC");
    EXPECT_EQ(at(gas, 1, 1, 27), "s:Luna Ajutor");
    // BOBOC then ENE; the rejected FLOREA is left out.
    const std::vector<std::pair<int, std::string>> boboc{{1, ""},
                                                         {2, "s:TARGU MURES"},
                                                         {3, "s:13"},
                                                         {4, "n:10"},
                                                         {5, "n:10"},
                                                         {6, "n:0"},
                                                         {7, "s:0001"},
                                                         {8, "s:BOBOC"},
                                                         {9, "s:ION"},
                                                         {10, "n:1010"},
                                                         {11, "s:BOBOC"},
                                                         {12, "s:ION"},
                                                         {13, "s:1700202260022"},
                                                         {14, "s:MURES"},
                                                         {15, "s:540001"},
                                                         {16, "s:TARGU MURES"},
                                                         {17, ""},
                                                         {18, "s:STR. B 2"},
                                                         {23, "s:DEG0001"},
                                                         {25, "n:2"},
                                                         {26, "n:320.01"},
                                                         {27, "s:202412"}};
    for (const auto &[col, value] : boboc)
        EXPECT_EQ(at(gas, 1, 2, col), value) << "column " << col;
    EXPECT_EQ(at(gas, 1, 3, 8), "s:POP"); // a holder without a blank: all first word
    EXPECT_EQ(at(gas, 1, 3, 9), "");
    EXPECT_EQ(at(gas, 1, 3, 23), "s:0000123");
    EXPECT_EQ(at(gas, 1, 3, 4), "n:13");
    EXPECT_EQ(at(gas, 1, 4, 2), "");

    // Electricity: only BOBOC, whose FURNE is the chosen name; DAN's is ELECTRICA/NORD.
    const Cells el = readCells(result.files[1]);
    EXPECT_EQ(at(el, 1, 2, 4), "n:30");
    EXPECT_EQ(at(el, 1, 2, 7), "s:0002");
    EXPECT_EQ(at(el, 1, 2, 8), "s:BOBOC");
    EXPECT_EQ(at(el, 1, 2, 9), "s:ELENA MARIA");
    EXPECT_EQ(at(el, 1, 2, 10), "n:8010");
    EXPECT_EQ(at(el, 1, 2, 23), "s:EMO0002");
    EXPECT_EQ(at(el, 1, 3, 2), "");
}

TEST_F(EonTest, ASupplierTypedInSmallLettersStillSelectsItsRows)
{
    ExecSql(QStringList{"UPDATE " + Quoted(TablePath("Cereri.dbf")), "SET FURNG=\"e.on gaz\"", "WHERE NRCRT=2"});
    EonChoice c = validChoice();
    EXPECT_EQ(c.suppliers, QStringList{"E.ON GAZ"});
    const QString file = out + "/gaz.xlsx";
    EXPECT_EQ(reports::WriteEonWorkbook(file, c, true), 2);
    EXPECT_EQ(at(readCells(file), 1, 2, 11), "s:BOBOC");
}

TEST_F(EonTest, AMonthWithoutGasGivesOnlyTheHeaderRow)
{
    ExecSql(QStringList{"UPDATE " + Quoted(TablePath("Cereri.dbf")), "SET SUMAG=0"});
    const QString file = out + "/gaz.xlsx";
    EXPECT_EQ(reports::WriteEonWorkbook(file, validChoice(), true), 0);
    const Cells c = readCells(file);
    EXPECT_EQ(at(c, 1, 1, 13), "s:CNP Beneficiar");
    EXPECT_EQ(at(c, 1, 2, 2), "");
}

// The tool reaches the same operations; their files are listed on standard output.
TEST_F(EonTest, ToolCommandsWriteTheReportsAndPrintTheFiles)
{
    const std::string data = DataFolder().toStdString(), dir = out.toStdString();
    std::string output;
    ASSERT_EQ(run(shellQuote(toolPath()) + " report ajpis " + shellQuote(data) + " --from 11.2024 --to 03.2025 --out " +
                      shellQuote(dir),
                  &output),
              0)
        << output;
    EXPECT_NE(output.find("TERMICA_AJPIS/Anexa1_21.xls\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Anexa25_TERMO SA.xls\n"), std::string::npos);
    // The second run asks before replacing: without --yes the answer is Nu.
    EXPECT_EQ(run(shellQuote(toolPath()) + " report ajpis " + shellQuote(data) + " --from 11.2024 --to 03.2025 --out " +
                      shellQuote(dir),
                  &output, true),
              1);
    EXPECT_NE(output.find("Raport AJPIS: Directorul "), std::string::npos) << output;
    EXPECT_EQ(run(shellQuote(toolPath()) + " report ajpis " + shellQuote(data) + " --from 03.2025 --to 11.2024 --out " +
                      shellQuote(dir),
                  &output, true),
              1);
    EXPECT_NE(output.find("refused: Data1: Perioada incorecta!"), std::string::npos) << output;

    ASSERT_EQ(
        run(shellQuote(toolPath()) + " report suppliers " + shellQuote(data) + " --out " + shellQuote(dir), &output),
        0);
    EXPECT_NE(output.find("TERMICA_FURNIZORI/ELECTRICA_NORD/Anexa16.xls\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Raport Furnizori: Raportul a fost creat!"), std::string::npos);

    // A supplier the dialog could not choose is refused, and nothing is written.
    EXPECT_EQ(run(shellQuote(toolPath()) + " report eon " + shellQuote(data) +
                      " --supplier NIMENI --postal "
                      "CRISTESTI=047123 --postal 'SANCRAIU DE MURES=547525' --postal 'TARGU MURES=540001' --out " +
                      shellQuote(dir + "/n.xlsx"),
                  &output, true),
              1);
    EXPECT_NE(output.find("refused: FurnG: Nu ati ales nimic!"), std::string::npos) << output;
    EXPECT_FALSE(QFileInfo::exists(out + "/n.xlsx"));
    // The help lists --month wherever a command takes it.
    run(shellQuote(toolPath()) + " help", &output);
    for (const char *command :
         {"report anpis", "report f2201", "report treasury", "report persons FOLDER", "report risk",
          "applications list", "applications recalc", "months list", "import vmg", "application add", "member add"}) {
        const auto line = output.find(std::string("  ") + command);
        ASSERT_NE(line, std::string::npos) << command;
        EXPECT_NE(output.substr(line, output.find('\n', line) - line).find("--month"), std::string::npos) << command;
    }
    const std::string eon = shellQuote(toolPath()) + " report eon " + shellQuote(data) + " --supplier 'e.on gaz'";
    EXPECT_EQ(run(eon + " --out " + shellQuote(dir + "/g.xlsx"), &output, true), 1);
    EXPECT_NE(output.find("refused: SMDBGrid1: Nu ati scris Codul postal!"), std::string::npos) << output;
    ASSERT_EQ(run(eon +
                      " --postal CRISTESTI=047123 --postal 'SANCRAIU DE MURES=547525'"
                      " --postal 'TARGU MURES=540001' --energy electrica --out " +
                      shellQuote(dir + "/e.xlsx"),
                  &output),
              0)
        << output;
    EXPECT_NE(output.find("rows=1"), std::string::npos) << output;
    EXPECT_EQ(at(readCells(out + "/e.xlsx"), 1, 2, 15), "s:540001");
    // The codes are remembered: the next run needs none.
    ASSERT_EQ(run(eon + " --out " + shellQuote(dir), &output), 0) << output;
    EXPECT_NE(output.find("EON_TERMICA_RAPORT/Suplimente_Gaz.xlsx\n"), std::string::npos) << output;
}

} // namespace
} // namespace focaris::test

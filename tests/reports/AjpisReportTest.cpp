// The county agency's report on the hand-worked folder of ReportsFixture.h: every annex
// read back with xlrd, the counts and sums of each cell, and what happens when the report
// cannot be made.
#include "ReportsFixture.h"

#include "reports/AjpisReport.h"
#include "reports/ReportFiles.h"

#include <QFile>

namespace focaris::test {
namespace {

using reports::MakeAjpisReport;

constexpr int kNov2024 = 24298, kMar2025 = 24302;

class AjpisTest : public ReportsTest {
protected:
    QString folder() const { return out + "/TERMICA_AJPIS"; }
    QString file(const QString &name) const { return folder() + "/" + name; }
    reports::ReportResult runReport(int from = kNov2024, int to = kMar2025)
    {
        ui.folderAnswers.push_back(out);
        return MakeAjpisReport(ui, from, to);
    }
};

TEST_F(AjpisTest, WritesEveryAnnexOfThePeriodAndOpensTheFolder)
{
    const auto result = runReport();
    ASSERT_TRUE(result.done) << result.files.join(",").toStdString() << ui.lastMessage().toStdString();
    QStringList names;
    for (const QString &f : result.files)
        names << QFileInfo(f).fileName();
    EXPECT_EQ(names,
              (QStringList{"Anexa1_21.xls", "Anexa22.xls", "Anexa14.xls", "Anexa15.xls", "Anexa16.xls", "Anexa17.xls",
                           "Anexa23_Lemne.xls", "Anexa23_Gaz.xls", "Anexa23_Electrica.xls", "Anexa23_Termica.xls",
                           "Anexa24_Lemne.xls", "Anexa24_Gaz.xls", "Anexa24_Electrica.xls", "Anexa24_Termica.xls",
                           "Anexa25_.xls", "Anexa25_E.ON GAZ.xls", "Anexa25_ELECTRICA_NORD.xls",
                           "Anexa25_O'NEIL ENERGIE.xls", "Anexa25_TERMO SA.xls"}));
    for (const QString &f : result.files)
        EXPECT_TRUE(QFileInfo::exists(f)) << f.toStdString();
    // Nothing is left beside the folder, and no closing message is shown.
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"TERMICA_AJPIS"});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.opened, QStringList{folder()});
    EXPECT_FALSE(ui.progressVisible);
}

TEST_F(AjpisTest, Annex1ListsTheApprovedHeatingAidsBySheetOfMonths)
{
    ASSERT_TRUE(runReport().done);
    const Cells c = readCells(file("Anexa1_21.xls"));
    EXPECT_EQ(at(c, 1, 2, 2), "s:MURES");
    EXPECT_EQ(at(c, 1, 5, 2), "s:4322637");
    EXPECT_EQ(at(c, 1, 5, 4), "s:TARGU MURES");
    EXPECT_EQ(at(c, 1, 18, 4), "s:POPESCU ION"); // moved down by the two extra rows
    // Each sheet's month and year come from the period chosen, as values (no TODAY()).
    EXPECT_EQ(at(c, 1, 9, 3), "s:noiembrie");
    EXPECT_EQ(at(c, 1, 9, 5), "n:2024");
    EXPECT_EQ(at(c, 2, 9, 5), "n:2024");
    EXPECT_EQ(at(c, 3, 9, 3), "s:ianuarie");
    EXPECT_EQ(at(c, 5, 9, 5), "n:2025");
    // 5 months: ALBU, DAN and GHEORGHE of November, by name.
    EXPECT_EQ(at(c, 1, 12, 1), "n:1");
    EXPECT_EQ(at(c, 1, 12, 2), "s:ALBU ANA");
    EXPECT_EQ(at(c, 1, 12, 3), "s:2750101260011");
    EXPECT_EQ(at(c, 1, 12, 4), "s:TARGU MURES STR. A 1");
    EXPECT_EQ(at(c, 1, 12, 5), "n:1");
    EXPECT_EQ(at(c, 1, 12, 6), "s:00123");
    EXPECT_EQ(at(c, 1, 12, 7), "n:200");
    EXPECT_EQ(at(c, 1, 12, 8), "n:250.5");
    EXPECT_EQ(at(c, 1, 12, 9), "s:12/05.12.2024");
    EXPECT_EQ(at(c, 1, 12, 10), "n:100");
    EXPECT_EQ(at(c, 1, 12, 11), "");
    EXPECT_EQ(at(c, 1, 13, 2), "s:DAN PETRU");
    EXPECT_EQ(at(c, 1, 14, 1), "n:3");
    EXPECT_EQ(at(c, 1, 14, 2), "s:GHEORGHE ION");
    EXPECT_EQ(at(c, 1, 14, 9), "s:9/04.11.2024");
    EXPECT_EQ(at(c, 1, 15, 2), "");
    // 4 months: GHEORGHE again, for December.
    EXPECT_EQ(at(c, 2, 12, 2), "s:GHEORGHE ION");
    EXPECT_EQ(at(c, 2, 12, 9), "s:16/08.12.2024");
    EXPECT_EQ(at(c, 2, 13, 2), "");
    // 3 months: BOBOC and ENE (a number without a date prints alone); the rejected
    // FLOREA is nowhere.
    EXPECT_EQ(at(c, 3, 12, 2), "s:BOBOC ION");
    EXPECT_EQ(at(c, 3, 13, 2), "s:ENE VASILE");
    EXPECT_EQ(at(c, 3, 13, 9), "s:15");
    // 2 months: none; the data row is emptied.
    for (int col = 1; col <= 12; ++col)
        EXPECT_EQ(at(c, 4, 12, col), "") << col;
    // 1 month: CIOBANU, whose blank address leaves the locality and whose disposition has
    // no number.
    EXPECT_EQ(at(c, 5, 12, 2), "s:CIOBANU MARIA");
    EXPECT_EQ(at(c, 5, 12, 4), "s:CRISTESTI");
    EXPECT_EQ(at(c, 5, 12, 9), "");
    EXPECT_EQ(at(c, 5, 12, 6), "");
}

TEST_F(AjpisTest, Annex21CountsByBracketMonthsAndFamilySize)
{
    ASSERT_TRUE(runReport().done);
    const Cells c = readCells(file("Anexa1_21.xls"));
    EXPECT_EQ(at(c, 6, 76, 7), "s:MARIN ANA");
    // cell (row k*5 - m + 7, column c + 4) -> count
    const std::map<std::pair<int, int>, std::string> ones{
        {{7, 10}, "n:1"},  // ALBU: bracket 1 (200 = Lim1), 5 months, single
        {{52, 9}, "n:1"},  // DAN: bracket 10 (1386 = Lim10), 5 months, 7 members
        {{17, 6}, "n:1"},  // GHEORGHE, November: bracket 3 (440 = Lim3), 5 months, 3 members
        {{18, 6}, "n:1"},  // GHEORGHE, December: 4 months
        {{19, 5}, "n:1"},  // BOBOC: bracket 3 (320.01), 3 months, 2 members
        {{59, 10}, "n:1"}, // ENE: single between Lim9 and Lim10 -> bracket 11, 3 months
        {{11, 6}, "n:1"},  // CIOBANU: income 0 -> bracket 1, 1 month, 3 members
    };
    for (int k = 1; k <= 11; ++k)
        for (int m = 1; m <= 5; ++m)
            for (int col = 5; col <= 10; ++col) {
                const int row = k * 5 - m + 7;
                const bool written = col == 10 ? k != 10 : k != 11;
                const auto it = ones.find({row, col});
                if (!written)
                    continue;
                const std::string expected = it != ones.end() ? it->second : "n:0";
                EXPECT_EQ(at(c, 6, row, col), expected) << "row " << row << " col " << col;
            }
}

TEST_F(AjpisTest, Annex22SumsTheCompensationLevelsByFirstMonthAndFamilyType)
{
    ASSERT_TRUE(runReport().done);
    const Cells c = readCells(file("Anexa22.xls"));
    EXPECT_EQ(at(c, 1, 1, 2), "s:MUNICIPIUL TARGU MURES");
    EXPECT_EQ(at(c, 1, 70, 12), "s:MARIN ANA");
    const std::map<std::pair<int, int>, std::string> sums{
        {{8, 6}, "n:100"},   // ALBU: Cu1, 5 months, single
        {{53, 5}, "n:10"},   // DAN: Cu10 (families), 5 months
        {{18, 5}, "n:80"},   // GHEORGHE, November: Cu3, 5 months
        {{19, 7}, "n:80"},   // GHEORGHE, December: 4 months
        {{20, 9}, "n:80"},   // BOBOC: 3 months
        {{60, 10}, "n:10"},  // ENE: Cu11 (single persons), 3 months
        {{12, 13}, "n:100"}, // CIOBANU: Cu1, 1 month, family
    };
    for (int k = 1; k <= 11; ++k)
        for (int m = 1; m <= 5; ++m)
            for (int single = 0; single <= 1; ++single) {
                const int row = k * 5 - m + 8, col = 2 * (5 - m) + 5 + single;
                const bool written = single ? k != 10 : k != 11;
                const auto it = sums.find({row, col});
                if (!written)
                    continue;
                const std::string expected = it != sums.end() ? it->second : "n:0";
                EXPECT_EQ(at(c, 1, row, col), expected) << "row " << row << " col " << col;
            }
}

TEST_F(AjpisTest, SupplementAnnexesListTheApprovedSupplementsOfTheWorkingMonth)
{
    ASSERT_TRUE(runReport().done);
    const Cells t = readCells(file("Anexa14.xls"));
    EXPECT_EQ(at(t, 1, 1, 1), "s:Judetul 26   MURES");
    EXPECT_EQ(at(t, 1, 2, 1), "s:Primarul comunei/orasului/municipiului TARGU MURES");
    EXPECT_EQ(at(t, 1, 5, 1), "s:luna 12 / anul 2024");
    // Three rows move the signatures from row 13 to 15.
    EXPECT_EQ(at(t, 1, 15, 2), "s:POPESCU ION");
    EXPECT_EQ(at(t, 1, 15, 7), "s:MARIN ANA");
    EXPECT_EQ(at(t, 1, 10, 2), "s:ALBU ANA");
    EXPECT_EQ(at(t, 1, 10, 5), "s:00123");
    EXPECT_EQ(at(t, 1, 10, 8), "n:10");
    EXPECT_EQ(at(t, 1, 10, 9), "s:12/05.12.2024");
    EXPECT_EQ(at(t, 1, 11, 2), "s:BOBOC ION");
    EXPECT_EQ(at(t, 1, 11, 8), "n:11");
    EXPECT_EQ(at(t, 1, 12, 2), "s:DAN PETRU");
    EXPECT_EQ(at(t, 1, 12, 4), "s:SANCRAIU DE MURES NR. 4");
    EXPECT_EQ(at(t, 1, 12, 8), "n:12");

    // Gas: BOBOC and ENE; the rejected FLOREA and October's IONESCU are left out.
    const Cells g = readCells(file("Anexa15.xls"));
    EXPECT_EQ(at(g, 1, 10, 2), "s:BOBOC ION");
    EXPECT_EQ(at(g, 1, 10, 5), "s:0001");
    EXPECT_EQ(at(g, 1, 10, 6), "s:DEG0001");
    EXPECT_EQ(at(g, 1, 10, 10), "n:10");
    EXPECT_EQ(at(g, 1, 11, 2), "s:ENE VASILE");
    EXPECT_EQ(at(g, 1, 11, 6), "s:0000123");
    EXPECT_EQ(at(g, 1, 11, 10), "n:13");
    EXPECT_EQ(at(g, 1, 12, 9), "s:TOTAL");

    const Cells e = readCells(file("Anexa16.xls"));
    EXPECT_EQ(at(e, 1, 10, 2), "s:BOBOC ION");
    EXPECT_EQ(at(e, 1, 10, 10), "n:30");
    EXPECT_EQ(at(e, 1, 11, 2), "s:DAN PETRU");
    EXPECT_EQ(at(e, 1, 11, 10), "n:70");

    const Cells w = readCells(file("Anexa17.xls"));
    EXPECT_EQ(at(w, 1, 10, 2), "s:CIOBANU MARIA");
    EXPECT_EQ(at(w, 1, 10, 4), "s:CRISTESTI");
    EXPECT_EQ(at(w, 1, 10, 5), "");
    EXPECT_EQ(at(w, 1, 10, 8), "n:20");
    EXPECT_EQ(at(w, 1, 11, 2), "s:GHEORGHE ION");
    EXPECT_EQ(at(w, 1, 11, 8), "n:22");
}

TEST_F(AjpisTest, Annexes23And24CountAndSumPerMonthAndBracket)
{
    ASSERT_TRUE(runReport().done);
    // (file, row, column) -> value; every other cell of the period's months is 0.
    // Annex 23: November families row 29, single 30; December 31 / 32. Annex 24 moves
    // November to the December rows and December to January (9 / 10).
    struct Expect {
        const char *file;
        std::map<std::pair<int, int>, std::string> cells;
        std::vector<int> rows;
    };
    const std::vector<Expect> all{
        {"Anexa23_Lemne.xls", {{{29, 6}, "n:1"}, {{31, 4}, "n:1"}, {{31, 6}, "n:1"}}, {29, 30, 31, 32}},
        {"Anexa23_Gaz.xls", {{{31, 6}, "n:1"}, {{32, 14}, "n:1"}}, {29, 30, 31, 32}},
        {"Anexa23_Electrica.xls", {{{31, 6}, "n:1"}, {{31, 13}, "n:1"}}, {29, 30, 31, 32}},
        {"Anexa23_Termica.xls", {{{31, 6}, "n:1"}, {{31, 13}, "n:1"}, {{32, 4}, "n:1"}}, {29, 30, 31, 32}},
        {"Anexa24_Lemne.xls", {{{31, 6}, "n:21"}, {{9, 4}, "n:20"}, {{9, 6}, "n:22"}}, {31, 32, 9, 10}},
        {"Anexa24_Gaz.xls", {{{9, 6}, "n:10"}, {{10, 14}, "n:13"}}, {31, 32, 9, 10}},
        {"Anexa24_Electrica.xls", {{{9, 6}, "n:30"}, {{9, 13}, "n:70"}}, {31, 32, 9, 10}},
        {"Anexa24_Termica.xls", {{{9, 6}, "n:11"}, {{9, 13}, "n:12"}, {{10, 4}, "n:10"}}, {31, 32, 9, 10}},
    };
    for (const Expect &x : all) {
        const Cells c = readCells(file(x.file));
        EXPECT_EQ(at(c, 1, 1, 1), "s:U.A.T. TARGU MURES") << x.file;
        EXPECT_EQ(at(c, 1, 36, 12), "s:MARIN ANA") << x.file;
        for (const int row : x.rows)
            for (int k = 1; k <= 11; ++k) {
                const bool single = row % 2 == 0;
                const bool written = single ? k != 10 : k != 11;
                const auto it = x.cells.find({row, k + 3});
                if (!written)
                    continue;
                const std::string expected = it != x.cells.end() ? it->second : "n:0";
                EXPECT_EQ(at(c, 1, row, k + 3), expected) << x.file << " row " << row << " bracket " << k;
            }
    }
    EXPECT_EQ(at(readCells(file("Anexa23_Gaz.xls")), 1, 4, 1), "s:Gaze naturale");
}

TEST_F(AjpisTest, Annex25PaysTheHeatingAidInLeiPerSupplier)
{
    ASSERT_TRUE(runReport().done);
    // ALBU: VALMAX 250.5 + SUMAT 10 (the percentage 100 is no payment); BOBOC: 100 + 11.
    const Cells termo = readCells(file("Anexa25_TERMO SA.xls"));
    EXPECT_EQ(at(termo, 1, 6, 1), "s:TERMO SA");
    EXPECT_EQ(at(termo, 1, 1, 1), "s:Judetul 26   MURES");
    EXPECT_NE(at(termo, 1, 8, 1).find("PENTRU LUNA 12.2024"), std::string::npos);
    EXPECT_EQ(at(termo, 1, 12, 2), "s:ALBU ANA");
    EXPECT_EQ(at(termo, 1, 12, 4), "n:260.5");
    EXPECT_EQ(at(termo, 1, 13, 2), "s:BOBOC ION");
    EXPECT_EQ(at(termo, 1, 13, 4), "n:111");
    // Gas and electricity of one person with one supplier make one row.
    const Cells eon = readCells(file("Anexa25_E.ON GAZ.xls"));
    EXPECT_EQ(at(eon, 1, 12, 2), "s:BOBOC ION");
    EXPECT_EQ(at(eon, 1, 12, 4), "n:40");
    EXPECT_EQ(at(eon, 1, 13, 2), "s:ENE VASILE");
    EXPECT_EQ(at(eon, 1, 13, 4), "n:13");
    // The apostrophe selects its own rows; the "/" stays in the workbook, not the name.
    const Cells oneil = readCells(file("Anexa25_O'NEIL ENERGIE.xls"));
    EXPECT_EQ(at(oneil, 1, 6, 1), "s:O'NEIL ENERGIE");
    EXPECT_EQ(at(oneil, 1, 12, 4), "n:52");
    EXPECT_EQ(at(oneil, 1, 13, 3), "s:TOTAL");
    const Cells nord = readCells(file("Anexa25_ELECTRICA_NORD.xls"));
    EXPECT_EQ(at(nord, 1, 6, 1), "s:ELECTRICA/NORD");
    EXPECT_EQ(at(nord, 1, 12, 4), "n:70");
    // Heating aids without a supplier: CIOBANU 80, ENE 30, GHEORGHE 120.
    const Cells none = readCells(file("Anexa25_.xls"));
    EXPECT_EQ(at(none, 1, 12, 4), "n:80");
    EXPECT_EQ(at(none, 1, 13, 4), "n:30");
    EXPECT_EQ(at(none, 1, 14, 4), "n:120");
}

TEST_F(AjpisTest, APeriodWithoutApprovedAidsGivesEmptyListsAndOnlyTheTypesWithData)
{
    const int oct = 24297;
    const auto result = runReport(oct, oct);
    ASSERT_TRUE(result.done);
    EXPECT_TRUE(QFileInfo::exists(file("Anexa1_21.xls")));
    EXPECT_TRUE(QFileInfo::exists(file("Anexa23_Gaz.xls")));
    EXPECT_FALSE(QFileInfo::exists(file("Anexa23_Lemne.xls")));
    EXPECT_FALSE(QFileInfo::exists(file("Anexa24_Termica.xls")));
    const Cells c = readCells(file("Anexa1_21.xls"));
    EXPECT_EQ(at(c, 1, 12, 2), "");
    EXPECT_EQ(at(c, 6, 7, 10), "n:0");
    // October's gas goes to the October rows of Annex 23 and the November rows of 24.
    EXPECT_EQ(at(readCells(file("Anexa23_Gaz.xls")), 1, 27, 4), "n:1");
    EXPECT_EQ(at(readCells(file("Anexa24_Gaz.xls")), 1, 29, 4), "n:9");
}

TEST_F(AjpisTest, AnsweringNuOrAFileInUseKeepsTheOldFolder)
{
    QDir().mkpath(folder());
    writeFile((folder() + "/Anexa1_21.xls").toStdString(), "old");
    ui.messageAnswers.push_back(MessageResult::Nu);
    EXPECT_FALSE(runReport().done);
    EXPECT_EQ(ui.messages.at(0).text,
              "\rDirectorul " + QDir::toNativeSeparators(folder()) + " exista deja!\rIl inlocuim?");
    EXPECT_EQ(readFile((folder() + "/Anexa1_21.xls").toStdString()), "old");

    // A LibreOffice lock beside a file means it is open.
    writeFile((folder() + "/.~lock.Anexa1_21.xls#").toStdString(), "lock");
    ui.messageAnswers.push_back(MessageResult::Da);
    EXPECT_FALSE(runReport().done);
    EXPECT_TRUE(ui.lastMessage().contains("nu poate fi inlocuit!"));
    EXPECT_EQ(readFile((folder() + "/Anexa1_21.xls").toStdString()), "old");

    QFile::remove(folder() + "/.~lock.Anexa1_21.xls#");
    ui.messageAnswers.push_back(MessageResult::Da);
    EXPECT_TRUE(runReport().done);
    EXPECT_NE(readFile((folder() + "/Anexa1_21.xls").toStdString()), "old");
}

TEST_F(AjpisTest, AMissingTemplateStopsTheReportAndLeavesNoHalfFolder)
{
    QDir().mkpath(folder());
    writeFile((folder() + "/Anexa14.xls").toStdString(), "good earlier file");
    QFile::remove(DataFolder() + "/Anexa15.xls");
    ui.messageAnswers.push_back(MessageResult::Da);
    const auto result = runReport();
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.files.isEmpty());
    EXPECT_EQ(ui.lastMessage(), "\rNu exista modelul " + QDir(DataFolder()).filePath("Anexa15.xls") + "!");
    {
        // A damaged template is not called missing: it is named with the way to restore it.
        reports::ReportResult damaged;
        writeFile((DataFolder() + "/Anexa15.xls").toStdString(), "damaged");
        ui.messageAnswers.push_back(MessageResult::Da);
        damaged = runReport();
        EXPECT_FALSE(damaged.done);
        EXPECT_EQ(ui.lastMessage(), "\rModelul Anexa15.xls este deteriorat si nu poate fi citit!\rStergeti fisierul "
                                    "Anexa15.xls din directorul de date: la urmatoarea pornire programul il reface din "
                                    "modelul initial.");
    }
    // The earlier set stays whole; the half-made one is gone; nothing is opened.
    EXPECT_EQ(readFile((folder() + "/Anexa14.xls").toStdString()), "good earlier file");
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"Anexa14.xls"});
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"TERMICA_AJPIS"});
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_FALSE(ui.progressVisible);
}

TEST_F(AjpisTest, MissingSettingsOrACancelledFolderProduceNothing)
{
    WriteSetting("SETARI", "SIRUES", "");
    EXPECT_FALSE(MakeAjpisReport(ui, kNov2024, kMar2025).done);
    EXPECT_EQ(ui.lastMessage(), "\rCompletati la Administrare Codul Fiscal");
    WriteSetting("SETARI", "SIRUES", "4322637");
    EXPECT_FALSE(MakeAjpisReport(ui, kNov2024, kMar2025).done); // no folder chosen
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

TEST_F(AjpisTest, ASheetPastTheXlsRowLimitIsRefusedByName)
{
    xls::WorkbookFiller filler(reports::ReportFillerHooks());
    ASSERT_TRUE(reports::OpenReportTemplate(ui, filler, DataFolder() + "/Anexa14.xls", "Raport AJPIS"));
    const int last = filler.workbook()->lastRow();
    EXPECT_TRUE(reports::RowsFit(ui, filler, std::size_t(reports::kXlsMaxRows - last + 1), "14", "Raport AJPIS"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(reports::RowsFit(ui, filler, std::size_t(reports::kXlsMaxRows - last + 2), "14", "Raport AJPIS"));
    EXPECT_EQ(ui.lastMessage(), "\rAnexa 14 nu incape intr-o foaie .xls: 65537 randuri, cel mult 65536!");
}

} // namespace
} // namespace focaris::test

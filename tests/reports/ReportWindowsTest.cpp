// The report windows as a person uses them: the period dialog and the E.ON supplier
// dialog opened offscreen, typed into and confirmed, and the menu entries of the main
// window reaching the reports.
#include "ReportsFixture.h"

#include "gui/reports/AgencyReports.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/EonSupplierDialog.h"
#include "gui/shell/Program.h"
#include "gui/widgets/DateField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace focaris::test {
namespace {

using gui::AjpisPeriodDialog;
using gui::EonSupplierDialog;

// Runs `step` once the dialog's own event loop is running.
void whenShown(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

TEST(ReportPeriodTest, TheSeasonAroundTodayRunsFromNovemberToMarch)
{
    EXPECT_EQ(reports::DefaultSeason(QDate(2024, 10, 1)).from, QDate(2024, 11, 1));
    EXPECT_EQ(reports::DefaultSeason(QDate(2024, 10, 1)).to, QDate(2025, 3, 31));
    EXPECT_EQ(reports::DefaultSeason(QDate(2025, 9, 30)).from, QDate(2024, 11, 1));
    EXPECT_EQ(reports::DefaultSeason(QDate(2025, 9, 30)).to, QDate(2025, 3, 31));
}

class ReportWindowsTest : public ReportsTest {};

TEST_F(ReportWindowsTest, ThePeriodDialogRefusesAnEndBeforeTheStart)
{
    AjpisPeriodDialog dialog(ui);
    reports::ReportPeriod period;
    whenShown([&] {
        dialog.to()->setDate(QDate(2024, 10, 1));
        dialog.from()->setDate(QDate(2024, 11, 1));
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ui.hints, QStringList{"Perioada incorecta!"});
        dialog.to()->setFocus();
        dialog.to()->setDate(QDate(2025, 1, 31));
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(dialog.ask(period));
    EXPECT_EQ(period.from, QDate(2024, 11, 1));
    EXPECT_EQ(period.to, QDate(2025, 1, 31));

    whenShown([&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.ask(period));
}

TEST_F(ReportWindowsTest, TheAjpisEntryAsksThePeriodAndWritesTheFolder)
{
    AjpisPeriodDialog dialog(ui);
    ui.folderAnswers.push_back(out);
    whenShown([&] {
        dialog.from()->setDate(QDate(2024, 11, 15));
        dialog.to()->setDate(QDate(2024, 11, 20));
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
    });
    gui::RunAjpisReport(ui, dialog);
    // Only November: GHEORGHE's first month is the one application of Annex 1.
    const Cells c = readCells(out + "/TERMICA_AJPIS/Anexa1_21.xls");
    EXPECT_EQ(at(c, 1, 12, 2), "s:GHEORGHE ION");
    EXPECT_EQ(at(c, 1, 13, 2), "");
    EXPECT_EQ(at(c, 2, 12, 2), "");
    EXPECT_EQ(ui.opened, QStringList{out + "/TERMICA_AJPIS"});
}

TEST_F(ReportWindowsTest, TheEonDialogNeedsASupplierAndEveryPostalCode)
{
    WriteSetting("CODURIP", "TARGU MURES", "540001");
    EonSupplierDialog dialog(ui);
    reports::EonChoice choice = reports::LoadEonChoice();
    whenShown([&] {
        EXPECT_EQ(dialog.supplier()->currentIndex(), -1);
        EXPECT_EQ(dialog.codes()->rowCount(), 3);
        EXPECT_EQ(dialog.codes()->item(2, 1)->text(), "540001");
        EXPECT_FALSE(dialog.codes()->item(0, 0)->flags() & Qt::ItemIsEditable);
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
        EXPECT_EQ(ui.hints.value(0), "Nu ati ales nimic!");
        dialog.supplier()->setCurrentIndex(0);
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
        EXPECT_EQ(ui.hints.value(1), "Nu ati scris Codul postal!");
        // Type the two missing codes into the grid, the second still being edited.
        for (int row : {0, 1}) {
            dialog.codes()->setCurrentCell(row, 1);
            dialog.codes()->editItem(dialog.codes()->item(row, 1));
            QLineEdit *editor = nullptr;
            for (QLineEdit *e : dialog.codes()->viewport()->findChildren<QLineEdit *>())
                if (e->isVisible())
                    editor = e;
            if (!editor) {
                ADD_FAILURE() << "no editor for row " << row;
                dialog.reject();
                return;
            }
            QTest::keyClicks(editor, row == 0 ? "547100" : "547525");
            if (row == 0)
                QTest::keyClick(editor, Qt::Key_Return);
        }
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(dialog.ask(choice));
    EXPECT_EQ(choice.supplier, "E.ON GAZ");
    EXPECT_EQ(choice.postalCodes[0].second, "547100");
    EXPECT_EQ(choice.postalCodes[1].second, "547525");
    EXPECT_EQ(ui.hints.size(), 2);
}

TEST_F(ReportWindowsTest, TheEonEntryRemembersTheCodesAndWritesBothWorkbooks)
{
    WriteSetting("CODURIP", "TARGU MURES", "540001");
    WriteSetting("CODURIP", "CRISTESTI", "547100");
    WriteSetting("CODURIP", "SANCRAIU DE MURES", "547525");
    EonSupplierDialog dialog(ui);
    ui.folderAnswers.push_back(out);
    whenShown([&] {
        dialog.supplier()->setCurrentIndex(0);
        QTest::mouseClick(dialog.chooseButton(), Qt::LeftButton);
    });
    gui::RunEonReport(ui, dialog);
    EXPECT_TRUE(QFileInfo::exists(out + "/EON_TERMICA_RAPORT/Suplimente_Gaz.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(out + "/EON_TERMICA_RAPORT/Suplimente_Electrica.xlsx"));
    EXPECT_EQ(ui.lastMessage(), "\rRaportul a fost creat!");
    EXPECT_EQ(at(readCells(out + "/EON_TERMICA_RAPORT/Suplimente_Gaz.xlsx"), 1, 2, 15), "s:540001");
}

// The program's menu reaches the reports: "Raport AJPIS" opens the period dialog, and
// cancelling it asks for no folder; "Format AJPIS" writes the supplier folder.
TEST_F(ReportWindowsTest, TheMenuEntriesOpenTheReports)
{
    gui::Program program(&ui);
    bool shown = false;
    whenShown([&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        shown = dialog && dialog->objectName() == "PerSelect";
        if (dialog)
            dialog->reject();
    });
    program.mainWindow().trigger(gui::MainWindow::Command::AjpisReport);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ui.messages.empty());
    ui.folderAnswers.push_back(out);
    program.mainWindow().trigger(gui::MainWindow::Command::AjpisSuppliers);
    EXPECT_TRUE(QFileInfo::exists(out + "/TERMICA_FURNIZORI/TERMO SA/Anexa14.xls"));
    EXPECT_EQ(ui.lastMessage(), "\rRaportul a fost creat!");
}

// A report that cannot make its folder (here its parent is a file) ends with the program's
// error message instead of ending the program; the program goes on and the next report
// is written. The three entries of the agency and supplier reports, from the menu.
TEST_F(ReportWindowsTest, AReportThatCannotWriteSaysSoAndTheProgramGoesOn)
{
    WriteSetting("CODURIP", "TARGU MURES", "540001");
    WriteSetting("CODURIP", "CRISTESTI", "547100");
    WriteSetting("CODURIP", "SANCRAIU DE MURES", "547525");
    gui::Program program(&ui);
    const QString blocked = out + "/fisier";
    writeFile(blocked.toStdString(), "x");
    for (const auto command : {gui::MainWindow::Command::AjpisReport, gui::MainWindow::Command::AjpisSuppliers,
                               gui::MainWindow::Command::EonSuppliers}) {
        const std::string caption = program.mainWindow().caption(command).toStdString();
        ui.messages.clear();
        ui.folderAnswers = {blocked};
        whenShown([] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *period = qobject_cast<AjpisPeriodDialog *>(modal)) {
                period->from()->setDate(QDate(2024, 11, 1));
                period->to()->setDate(QDate(2025, 3, 31));
                period->chooseButton()->click();
            } else if (auto *eon = qobject_cast<EonSupplierDialog *>(modal)) {
                eon->supplier()->setCurrentIndex(0);
                eon->chooseButton()->click();
            }
        });
        program.mainWindow().trigger(command);
        ASSERT_FALSE(ui.messages.empty()) << caption;
        EXPECT_EQ(ui.messages.back().title, "Eroare") << caption;
        EXPECT_EQ(ui.messages.back().kind, MessageKind::Error) << caption;
        EXPECT_TRUE(ui.lastMessage().contains("nu poate fi creat")) << ui.lastMessage().toStdString();
        EXPECT_FALSE(ui.progressVisible) << caption;
    }
    ui.folderAnswers = {out};
    program.mainWindow().trigger(gui::MainWindow::Command::AjpisSuppliers);
    EXPECT_EQ(ui.lastMessage(), "\rRaportul a fost creat!");
}

} // namespace
} // namespace focaris::test

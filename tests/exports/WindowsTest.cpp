// The windows and menu entries of the exports, used as a person would: the treasury
// window's date typed and "Creaza Raport" pressed, the selection answered, the menu
// entries triggered on the main window with the answers scripted.
#include "ExportsFixture.h"

#include "gui/periods/PaymentMonthChooser.h"
#include "gui/reports/ExportsMenu.h"
#include "gui/reports/TreasuryWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/ReportsWiring.h"
#include "gui/widgets/DateField.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace focaris::test {
namespace {

class WindowsTest : public ExportsFixture {
protected:
    void TearDown() override { gui::ChoosePaymentMonthAnswer() = {}; }
};

TEST_F(WindowsTest, TreasuryWindowWritesTheFilesForTheTypedDateAndChosenLocality)
{
    addSmallFolder();
    gui::TreasuryWindow w(ui);
    w.show();
    w.dateField()->setDate(QDate(2024, 1, 1));
    w.dateField()->setFocus();
    w.dateField()->selectAll();
    QTest::keyClicks(w.dateField(), "05122023");
    ASSERT_EQ(w.dateField()->date(), QDate(2023, 12, 5));
    EXPECT_EQ(w.findChild<QLabel *>("SupplementText")->text(), "074 - Supliment combustibili solizi/petrolieri");

    // Cancelling the selection leaves the window open and writes nothing.
    w.chooseSelection = [](exports::TreasuryChoice &) { return false; };
    QTest::mouseClick(w.createButton(), Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(QFileInfo::exists(out + "/Termica_Trezorerie"));

    // The selection's own lists, as the person picks from them.
    gui::TreasurySelection &sel = w.selection();
    w.chooseSelection = [&sel](exports::TreasuryChoice &c) {
        sel.localities()->clear();
        sel.localities()->addItems({exports::kAllLocalities, "DEALU", "SAT NOU"});
        sel.localities()->setCurrentIndex(1);
        c.locality = sel.localities()->currentText();
        c.firstLetter = sel.firstLetter()->currentText();
        c.lastLetter = sel.lastLetter()->currentText();
        return true;
    };
    EXPECT_EQ(sel.firstLetter()->currentText(), "A");
    EXPECT_EQ(sel.lastLetter()->currentText(), "Z");
    EXPECT_EQ(sel.firstLetter()->count(), 22);

    // A cancelled folder choice leaves it open too; then the report is made.
    QTest::mouseClick(w.createButton(), Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    ui.folderAnswers.push_back(out);
    QTest::mouseClick(w.createButton(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.lastResult().done);
    const QString statement = out + "/Termica_Trezorerie/StatTo_014562345_05-12-2023.txt";
    EXPECT_TRUE(QString::fromLatin1(bytesOf(statement)).contains(" Total:        1          12.00"));
    EXPECT_EQ(ui.opened, QStringList{out + "/Termica_Trezorerie"});

    if (qEnvironmentVariableIsSet("FOCARIS_WRITE_SCREENS")) {
        w.show();
        w.grab().save(qEnvironmentVariable("FOCARIS_WRITE_SCREENS") + "/raport-trezorerie.png");
        sel.show();
        sel.grab().save(qEnvironmentVariable("FOCARIS_WRITE_SCREENS") + "/selectare-cereri-trezorerie.png");
    }
}

TEST_F(WindowsTest, SelectionListsTheLocalitiesOfTheWorkingMonth)
{
    addSmallFolder();
    gui::TreasurySelection sel;
    // Pressing "Am ales" as soon as the dialog shows, as the person would.
    QMetaObject::invokeMethod(
        &sel, [&sel] { QTest::mouseClick(sel.chooseButton(), Qt::LeftButton); }, Qt::QueuedConnection);
    exports::TreasuryChoice c;
    ASSERT_TRUE(sel.choose(c));
    EXPECT_EQ(c.locality, QString());
    QStringList items;
    for (int i = 0; i < sel.localities()->count(); ++i)
        items << sel.localities()->itemText(i);
    EXPECT_EQ(items, (QStringList{"* toate localitatile *", "DEALU", "SAT NOU"}));
}

TEST_F(WindowsTest, MenuEntriesRunTheirExportsAndReportFailures)
{
    addSmallFolder();
    gui::MainWindow main(ui);
    int adminPressed = 0;
    gui::WireExportsMenu(main, ui, [&adminPressed] { ++adminPressed; });

    ui.folderAnswers.push_back(out);
    main.trigger(gui::MainWindow::Command::AnpisExport);
    EXPECT_EQ(bytesOf(out + "/Date_4562345v2.xml"), expected("Date_4562345v2.xml"));

    ui.folderAnswers.push_back(out);
    main.trigger(gui::MainWindow::Command::F2201Export);
    EXPECT_TRUE(QFile::exists(out + "/F2201_1.xml"));

    gui::ChoosePaymentMonthAnswer() = [](bool withYear, QString &month, int &year) {
        EXPECT_TRUE(withYear);
        month = "01";
        year = 2024;
        return true;
    };
    main.trigger(gui::MainWindow::Command::RiskControl);
    main.trigger(gui::MainWindow::Command::PersonsAgeList);
    main.trigger(gui::MainWindow::Command::MembersSituation);
    EXPECT_EQ(ui.opened.size(), 3);

    // Incomplete settings: the message, then the administration button is pressed.
    WriteSetting("SETARI", "PRIMARIA", "");
    main.trigger(gui::MainWindow::Command::TreasuryReport);
    EXPECT_EQ(adminPressed, 1);
    EXPECT_EQ(ui.messages.back().text, "\rCompletati la Administrare denumirea UAT!");

    // A damaged applications table: the engine's error is shown, the program goes on.
    writeFile(std::filesystem::path(TablePath("Cereri.dbf").toStdString()), "not a table");
    main.trigger(gui::MainWindow::Command::MembersSituation);
    EXPECT_EQ(ui.messages.back().title, "Eroare");
    EXPECT_FALSE(ui.progressVisible);
}

} // namespace
} // namespace focaris::test

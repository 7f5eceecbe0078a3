// The main window: locked and unlocked states, keys, menus, closing, and the program's
// handling of the administrator button.
#include "GuiFixture.h"

#include "admin/Password.h"
#include "gui/shell/LogViewer.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/Program.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::MainWindow;

namespace {

class MainWindowTest : public GuiFixture {};

QStringList captions(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->menu() ? a->text() + " >" : a->text());
    return out;
}

TEST_F(MainWindowTest, LockedShowsOnlyAdministrationAndExit)
{
    MainWindow w(ui);
    for (const char *name : {"PeriodsButton", "ApplicationsButton", "ListsButton", "UtilitiesButton"})
        EXPECT_TRUE(w.button(name)->isHidden()) << name;
    EXPECT_FALSE(w.button("AdminButton")->isHidden());
    EXPECT_FALSE(w.button("ExitButton")->isHidden());
    EXPECT_EQ(w.button("ApplicationsButton")->toolTip(), "Gospodariile care beneficiaza de ajutor si datele lor.");
    EXPECT_EQ(w.statusPanel(0)->text(), "ESC - Iesire din program");
    EXPECT_FALSE(w.periodShown());

    const qint64 lockedPicture = w.button("AdminButton")->icon().cacheKey();
    w.unlockAdmin();
    for (const char *name : {"PeriodsButton", "ApplicationsButton", "ListsButton", "UtilitiesButton"})
        EXPECT_FALSE(w.button(name)->isHidden()) << name;
    EXPECT_NE(w.button("AdminButton")->icon().cacheKey(), lockedPicture);
    EXPECT_TRUE(w.periodShown());
}

TEST_F(MainWindowTest, MenusInOrderAndCommandsWithoutHandlerSaySo)
{
    MainWindow w(ui);
    EXPECT_EQ(captions(w.reportsMenu()),
              (QStringList{"Raport AJPIS", "Export Date ANPIS - XML", "Raport Furnizori >",
                           "Raport Trezorerie - Suplimente Lemne", "Lista persoanelor si varsta", "Situatia membrilor",
                           "Control bazat pe profilul de risc", "Formularul F 2201 ANAF - XML",
                           "-------- LEGISLATIE -------------", "Legea 226 / 2021", "H.G.1073/2021 - Norme",
                           "Anexa 26 - Cerere"}));
    EXPECT_EQ(captions(w.reportsMenu()->actions()[2]->menu()),
              (QStringList{"Format AJPIS", "Format E-On Gaz Tg.Mures"}));
    EXPECT_EQ(captions(w.utilitiesMenu()),
              (QStringList{"Salvare / Incarcare baza de date", "Condica de sugestii", "Istoricul modificarii datelor",
                           "Ghidul programului", "Despre program"}));
    w.reportsMenu()->actions()[0]->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Raport AJPIS");
}

TEST_F(MainWindowTest, KeysActThroughTheButtonsEvenWhenHidden)
{
    MainWindow w(ui);
    QStringList done;
    w.setAction(MainWindow::Command::Period, [&] { done << "Perioada"; });
    w.setAction(MainWindow::Command::Applications, [&] { done << "Cereri"; });
    std::vector<bool> closing;
    w.onClosing = [&](bool period) { closing.push_back(period); };
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F1);
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_EQ(done, (QStringList{"Perioada", "Cereri"}));
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(closing, std::vector<bool>{false});

    // Unlocked, F12 closes too and the closing knows "Perioada" is shown.
    w.unlockAdmin();
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_EQ(closing, (std::vector<bool>{false, true}));
}

TEST_F(MainWindowTest, StripSpansTheScreenWidthAgainAfterRestore)
{
    MainWindow w(ui);
    w.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::qWait(10);
    EXPECT_EQ(w.frameGeometry().width(), area.width());
    EXPECT_EQ(w.y(), area.top());
    w.showMinimized();
    w.showNormal();
    QTest::qWait(10);
    EXPECT_EQ(w.frameGeometry().width(), area.width());
}

TEST_F(MainWindowTest, ProgramUnlocksAndRefusesTheWindowWithoutPassword)
{
    gui::Program program(&ui);
    WriteSetting("INIT", "WIN", ScramblePassword("x1"));
    // Empty entry: unlocked for viewing only.
    ui.textAnswers = {""};
    program.clickAdmin();
    EXPECT_TRUE(program.mainWindow().periodShown());
    EXPECT_TRUE(ReadOnlyAccess());
    // The administration window is refused.
    program.clickAdmin();
    EXPECT_EQ(ui.lastMessage(), "Nu aveti dreptul sa modificati datele!");
    EXPECT_FALSE(program.adminWindow().isVisible());
}

TEST_F(MainWindowTest, ProgramAsksForTheDaysCopyOnlyAfterLogin)
{
    gui::Program program(&ui);
    WriteMachineSetting("CALESALVARI", tmp.qpath());
    program.mainWindow().show();
    program.mainWindow().close();
    EXPECT_TRUE(ui.messages.empty());

    program.clickAdmin(); // no password: warning and unlocked
    ASSERT_EQ(ui.messages.size(), 1u);
    program.mainWindow().show();
    program.mainWindow().close();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].title, "Salvare Automata");
}

TEST_F(MainWindowTest, LegislationIsWrittenToATemporaryPdfAndOpened)
{
    gui::Program program(&ui);
    program.mainWindow().trigger(MainWindow::Command::Law226);
    program.mainWindow().trigger(MainWindow::Command::Norms1073);
    ASSERT_EQ(ui.opened.size(), 2);
    EXPECT_TRUE(ui.opened[0].startsWith(TempFolder() + "/TmpFoc/Lege"));
    EXPECT_EQ(readFile(ui.opened[0].toStdString()).substr(0, 4), "%PDF");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, RunEndsWithTheTemporaryFolderGoneAlsoAfterAFailure)
{
    const QString home = tmp.qpath() + "/run";
    qputenv("FOCARIS_HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (tmp.qpath() + "/xdg").toLocal8Bit());
    {
        gui::Program program(&ui);
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (program.mainWindow().isVisible())
                program.mainWindow().close();
        });
        closer.start(20);
        program.runAll(home + "/focaris", {});
        EXPECT_FALSE(QFileInfo::exists(home + "/Temp"));
        EXPECT_FALSE(QFileInfo::exists(home + "/TMP0"));
        EXPECT_TRUE(QFileInfo::exists(home + "/Data/Cereri.dbf"));
        EXPECT_TRUE(ui.messages.empty());
    }
    {
        gui::Program program(&ui);
        program.startupSteps.createTables = [] { throw std::runtime_error("Disc plin"); };
        program.runAll(home + "/focaris", {});
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Disc plin");
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
        EXPECT_FALSE(QFileInfo::exists(home + "/Temp"));
    }
    qunsetenv("FOCARIS_HOME");
}

TEST_F(MainWindowTest, LogViewerOpensOnTheNewestRow)
{
    gui::LogViewer viewer;
    QVector<gui::LogRow> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back({"01.02.2024", "10:00:00", QString("Actiune %1").arg(i), "PC - ion"});
    viewer.setRows(rows);
    EXPECT_EQ(viewer.grid()->rowCount(), 200);
    EXPECT_EQ(viewer.grid()->currentRow(), 199);
    EXPECT_EQ(viewer.grid()->item(199, 2)->text(), "Actiune 199");
    EXPECT_EQ(viewer.grid()->horizontalHeaderItem(3)->text(), "Operator");
    EXPECT_EQ(viewer.grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

} // namespace

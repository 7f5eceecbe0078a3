// A clerk's morning in the real windows: the list opened on the month, two applications
// added and one modified through the editor, one deleted, a search, a sort that
// keeps the current application, the copy from the previous month (refused the second
// time), the numbering of rejected ones, the change of months and the recalculation from
// the administration window, checked against the tables and the log.
#include "MonthFixture.h"

#include "admin/Password.h"
#include "core/Keys.h"
#include "core/Settings.h"
#include "documents/SocialInquiry.h"
#include "documents/TemplateStore.h"
#include "gui/admin/AdminWindow.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/MonthsDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/shell/ApplicationsWiring.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/Program.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/GridExportDialog.h"
#include "periods/WorkingMonth.h"
#include "shell/Access.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QDirIterator>

#include <algorithm>
#include <map>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::ApplicationsListWindow;
using Command = focaris::gui::ApplicationsListWindow::Command;

namespace {

class ListWindow : public MonthFolder {
protected:
    void SetUp() override
    {
        MonthFolder::SetUp();
        SetWorkingMonth(QStringLiteral("02.2024"));
        Household a = house(1, w, QStringLiteral("POPA ION"), 1);
        add(a);
        Household b = house(2, w, QStringLiteral("IONESCU ANA"), 2);
        b.status = QStringLiteral("RESPINS");
        add(b);
        add(house(3, w, QStringLiteral("ZAMFIR DAN"), 3));
        add(house(11, p, QStringLiteral("ION GHEORGHE"), 7));
        add(house(12, p, QStringLiteral("VLAD MIHAI"), 8));
        ResetKeys(); // as every start of the program does
        gui::ChooseMonthAnswer() = [](const QString &, QString &month) {
            month = QStringLiteral("01.2024");
            return true;
        };
    }
    void TearDown() override { gui::ChooseMonthAnswer() = {}; }

    // Runs `fill` on the next turn of the event loop, while a window waits in exec().
    static void whenShown(std::function<void()> fill) { QTimer::singleShot(0, std::move(fill)); }
    QString countText(ApplicationsListWindow &l) { return l.countLabel()->text(); }
    QString currentName(ApplicationsListWindow &l) { return l.model().list().text(l.grid()->currentIndex().row(), 4); }
};

TEST_F(ListWindow, AClerksMorning)
{
    // The program's list with the editor of the program behind "&Adauga cerere" and
    // "&Modifica cerere".
    gui::MainWindow main(ui);
    ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    auto *editor = list.findChild<gui::ApplicationEditorWindow *>();
    ASSERT_NE(editor, nullptr);
    auto type = [&](const char *field, const QString &value) {
        if (auto *combo = qobject_cast<QComboBox *>(editor->field(field)))
            QTest::keyClicks(combo->lineEdit(), value);
        else
            static_cast<QLineEdit *>(editor->field(field))->setText(value);
    };
    auto typeApplication = [&](const QString &cnp, const QString &name, const QString &number) {
        whenShown([&, cnp, name, number] {
            type("Nr_Cere", number);
            QTest::keyClicks(editor->field("CNPSol"), cnp);
            for (const char *f : {"SubSemn", "TitT"})
                type(f, name);
            type("CNPT", cnp);
            type("Adresa", "STR. MICA 2");
            type("Localit", "ORAS");
            type("Furnizor", "TERMO SA");
            type("Tarif", "300");
            type("NrMembri", "1");
            type("VenitTotal", "650");
            type("NrCam", "2");
            editor->button("Save")->click();
            if (editor->isVisible())
                editor->reject();
        });
    };
    ASSERT_TRUE(list.openMonth(w));
    EXPECT_EQ(countText(list), "Total cereri: 3");
    EXPECT_EQ(list.model().headerData(16, Qt::Horizontal).toString(), "Compen- sare(%)");
    EXPECT_TRUE(list.button("ModifyApplication")->isEnabled());

    // Two applications added through the editor: the list comes back on each new one.
    typeApplication("2850305123451", "BARBU IOANA", "21");
    QTest::mouseClick(list.button("AddApplication"), Qt::LeftButton);
    ASSERT_EQ(currentName(list), "BARBU IOANA") << ui.hints.join(" | ").toStdString();
    const qint64 barbu = list.currentKey();
    typeApplication("1900715123455", "IONITA RADU", "22");
    QTest::mouseClick(list.button("AddApplication"), Qt::LeftButton);
    ASSERT_EQ(currentName(list), "IONITA RADU") << ui.hints.join(" | ").toStdString();
    const qint64 ionita = list.currentKey();
    EXPECT_EQ(countText(list), "Total cereri: 5");
    EXPECT_EQ(count(oameni(), QStringLiteral("NRCRT=%1").arg(barbu)), 0);

    // Enter in the grid modifies the current application and stays on it.
    list.selectKey(barbu);
    whenShown([&] {
        auto *name = static_cast<QLineEdit *>(editor->field("SubSemn"));
        name->clear();
        QTest::keyClicks(name, "BARBU IOANA MARIA");
        editor->button("Save")->click();
        if (editor->isVisible())
            editor->reject();
    });
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_EQ(currentName(list), "BARBU IOANA MARIA") << ui.hints.join(" | ").toStdString();
    EXPECT_EQ(list.currentKey(), barbu);

    // Delete ZAMFIR DAN (the last row): the list comes back on the one before it.
    list.selectKey(3);
    ui.messageAnswers = {MessageResult::Nu};
    QTest::mouseClick(list.button("DeleteApplication"), Qt::LeftButton);
    EXPECT_EQ(ui.messages.back().text, "\rDoriti sa stergem cererea lui ZAMFIR DAN?");
    EXPECT_EQ(count(cereri(), "NRCRT=3"), 1);
    ui.messageAnswers = {MessageResult::Da};
    QTest::mouseClick(list.button("DeleteApplication"), Qt::LeftButton);
    EXPECT_EQ(count(cereri(), "NRCRT=3"), 0);
    EXPECT_EQ(count(oameni(), "NRCRT=3"), 0);
    EXPECT_EQ(currentName(list), "POPA ION");
    EXPECT_EQ(countText(list), "Total cereri: 4");

    // Search, then a sort by "Nr." that keeps IONITA RADU current.
    QTest::keyClicks(list.searchField(), "ion");
    EXPECT_EQ(list.searchField()->text(), "ION");
    EXPECT_EQ(countText(list), "Total cereri: 2");
    list.selectKey(ionita);
    list.grid()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(list.model().list().sortColumn(), "NR_CERE");
    EXPECT_EQ(currentName(list), "IONITA RADU");
    list.grid()->horizontalHeader()->sectionClicked(2); // "Incepand cu luna": nothing
    EXPECT_EQ(list.model().list().sortColumn(), "NR_CERE");
    list.searchField()->clear();
    EXPECT_EQ(countText(list), "Total cereri: 4");

    // The copy from the previous month, then the same copy refused.
    QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
    EXPECT_EQ(countText(list), "Total cereri: 6");
    EXPECT_EQ(count(oameni(), QStringLiteral("NRCRT IN (SELECT NRCRT FROM %1 WHERE LUNACRT=%2)").arg(cereri()).arg(w)),
              4);
    ui.messages.clear();
    QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Exista 2 CNP-uri care exista deja!"));
    EXPECT_EQ(countText(list), "Total cereri: 6");

    // Number the rejected ones of 1..10 from 100; "Aprobate" would tick the common number.
    gui::NumberingDialog &nd = list.numberingDialog();
    whenShown([&] {
        nd.category()->setCurrentIndex(1);
        EXPECT_TRUE(nd.sameNumber()->isChecked());
        nd.category()->setCurrentIndex(3);
        EXPECT_FALSE(nd.sameNumber()->isChecked());
        nd.from()->setText("1");
        nd.to()->setText("10");
        nd.first()->setText("100");
        nd.date()->setDate(QDate(2024, 2, 20));
        QTest::keyClick(nd.date(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("NumberDispositions"), Qt::LeftButton);
    EXPECT_FALSE(nd.isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT NRCRT, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND NR_DISP<>\"\"")
                       .arg(cereri())
                       .arg(w)),
              (Rows{"2|100|20.02.2024"}));

    // Three months for everybody.
    gui::MonthsDialog &md = list.monthsDialog();
    whenShown([&] {
        QTest::keyClicks(md.months(), "3");
        QTest::keyClick(md.months(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("ChangeMonths"), Qt::LeftButton);
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=%1 AND NR_LUNI<>3").arg(w)), 0);

    // The recalculation from the administration window after lowering the ceiling.
    ExecSql(QStringLiteral("UPDATE %1 SET TVENIT=900 WHERE NRCRT=1").arg(cereri()));
    gui::AdminWindow admin(ui);
    admin.loadSettings();
    admin.field("Lim11")->setText("800");
    gui::RecalculateFromAdmin(ui, admin);
    EXPECT_EQ(rows(QStringLiteral("SELECT STATUT FROM %1 WHERE NRCRT=1").arg(cereri())), (Rows{"RESPINS"}));
    EXPECT_EQ(ReadSetting("SETARI", "Lim11"), "800");

    const Rows log = rows(QStringLiteral("SELECT ACTIUNE FROM %1 ORDER BY IDLOG").arg(Quoted(TablePath("LOG.DBF"))));
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[0].rfind("Adaugare Cerere ", 0), 0u) << log[0];
    EXPECT_EQ(log[2].rfind("Modificare Cerere ", 0), 0u) << log[2];
    EXPECT_EQ((Rows{log.begin() + 3, log.end()}),
              (Rows{"Stergere Cerere 3/01.02.2024 - ZAMFIR DAN", "Adaugare Cereri din luna 01.2024",
                    "Numerotare Dispozitii.", "Modificare Numar luni.", "Recalculare cereri."}));
    EXPECT_FALSE(ui.progressVisible);
}

TEST_F(ListWindow, AnEmptyListDisablesTheRowCommandsAndHintsAtTheNumbering)
{
    ApplicationsListWindow list(ui);
    ASSERT_TRUE(list.openMonth(MonthCode("05.2024")));
    EXPECT_EQ(countText(list), "Total cereri: 0");
    for (const char *c :
         {"ModifyApplication", "DeleteApplication", "ApplicationForms", "AddInquiry", "DeleteInquiry", "ShowInquiry"})
        EXPECT_FALSE(list.button(c)->isEnabled()) << c;
    QTest::mouseClick(list.button("NumberDispositions"), Qt::LeftButton);
    QTest::mouseClick(list.button("SetDates"), Qt::LeftButton);
    EXPECT_EQ(ui.hints, (QStringList{"Nu aveti afisata nici o cerere!", "Nu aveti afisata nici o cerere!"}));
    // Documents and exports wait for their handlers.
    QTest::mouseClick(list.button("PaymentStatement"), Qt::LeftButton);
    EXPECT_EQ(ui.messages.back().title, "Situatie Plati");
    bool exported = false;
    list.setAction(Command::ExportGrid, [&] { exported = true; });
    QTest::mouseClick(list.button("ExportGrid"), Qt::LeftButton);
    EXPECT_TRUE(exported);
}

TEST_F(ListWindow, AFailedStatementIsReportedAndTheListStaysUsable)
{
    ApplicationsListWindow list(ui);
    ASSERT_TRUE(list.openMonth(w));
    // The members table is gone: the copy fails half-way, says why and claims nothing.
    QFile::remove(TablePath("Oameni.dbf"));
    QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
    ASSERT_FALSE(list.chooseMonth); // no chooser plugged in: not available
    list.chooseMonth = [this](const QString &) { return p; };
    ui.messages.clear();
    QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Adaugare Cereri");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(countText(list), "Total cereri: 3");
    EXPECT_NE(lastLog(), "Adaugare Cereri din luna 01.2024");
    QTest::keyClicks(list.searchField(), "Z");
    EXPECT_EQ(countText(list), "Total cereri: 1");
}

TEST_F(ListWindow, TheProgramsListGivesEveryDocumentButtonItsWorkAndExportsTheGrid)
{
    gui::MainWindow main(ui);
    ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    ASSERT_TRUE(list.openMonth(w));
    // Each command opens its own window (closed at once here) or works; none of them
    // answers that it is not available.
    for (const Command command :
         {Command::GrantDispositions, Command::ModificationDispositions, Command::RejectionDispositions,
          Command::SingleDisposition, Command::Reports, Command::PaymentStatement, Command::PersonsDbf}) {
        const std::string caption = list.caption(command).toStdString();
        whenShown([] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        list.trigger(command);
        QApplication::processEvents(); // a command without a window leaves its closer unused
        for (const auto &m : ui.messages)
            EXPECT_FALSE(m.text.contains(QStringLiteral("nu este inca disponibila"))) << caption;
    }
    // The grid as shown, into a CSV file chosen in "Export Grila".
    const QString file = dir.qpath() + "/luna.csv";
    whenShown([&] {
        auto *dialog = qobject_cast<gui::GridExportDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setFormat(GridFormat::Csv);
        dialog->fileField()->setText(file);
        dialog->exportButton()->click();
    });
    list.trigger(Command::ExportGrid);
    const std::string csv = readFile(file.toStdString());
    EXPECT_NE(csv.find(";POPA ION;"), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
}

// Every file below `folder` with its bytes.
std::map<QString, std::string> contentsOf(const QString &folder)
{
    std::map<QString, std::string> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files[file] = readFile(file.toStdString());
    }
    return files;
}

// A login without the password: every command of the list, the months window and the
// administration that would change the data folder or the shared settings is refused
// with the same message, a document still prints, and the folder stays byte for byte.
TEST_F(ListWindow, AViewOnlyLoginChangesNothingInTheDataFolder)
{
    InstallMissingFiles(DataFolder());
    WriteSetting("VARIABILE", "LUNA_LUCRU", "02.2024");
    gui::Program program(&ui);
    WriteSetting("INIT", "WIN", ScramblePassword("x1"));
    ui.textAnswers = {""};
    program.clickAdmin();
    ASSERT_TRUE(ReadOnlyAccess());
    // The first application's inquiry, kept on disk.
    writeFile(documents::InquiryFile(house(1, w, "POPA ION").cnp).toStdString(), "{\\rtf1 ancheta}");
    const auto before = contentsOf(DataFolder());
    ApplicationsListWindow &list = gui::ApplicationsList(ui, program.mainWindow());
    ASSERT_TRUE(list.openMonth(w));
    ui.messages.clear();
    // Any question a command might ask is answered "Da": nothing may come of it.
    ui.messageAnswers.assign(40, MessageResult::Da);
    const std::vector<Command> commands{
        Command::AddApplication,    Command::ModifyApplication,  Command::DeleteApplication, Command::CopyFromMonth,
        Command::RemoveAlsoInMonth, Command::NumberDispositions, Command::SetDates,          Command::ChangeMonths,
        Command::AddInquiry,        Command::DeleteInquiry};
    for (const Command c : commands)
        list.trigger(c);
    gui::PeriodWindow period(ui);
    period.load();
    for (const char *b : {"AddButton", "DeleteButton", "SaveButton"})
        period.button(b)->click();
    for (const char *a : {"ImportVmgItem", "ImportAsfItem"})
        period.findChild<QAction *>(a)->trigger();
    program.clickAdmin();
    ASSERT_EQ(ui.messages.size(), std::size_t(commands.size() + 6));
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.text, shell::ReadOnlyText()) << m.title.toStdString();

    // A document still prints; the month it would remember for next time is not kept.
    ui.messages.clear();
    whenShown([] {
        if (QWidget *w = QApplication::activeModalWidget())
            if (QPushButton *b = gui::FindButton<QPushButton>(*w, "Chosen"))
                b->click();
    });
    list.trigger(Command::PaymentStatement);
    EXPECT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
    EXPECT_EQ(contentsOf(DataFolder()), before);
    EXPECT_EQ(WorkingMonth(), "02.2024");
}

// A caption is only a label: every button and menu item of the main window and of the list,
// reworded while the program runs, still runs its own command.
TEST_F(ListWindow, RewordedCaptionsStillRunTheirCommands)
{
    InstallMissingFiles(DataFolder());
    gui::Program program(&ui);
    gui::MainWindow &main = program.mainWindow();
    for (QToolButton *b : main.findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly))
        b->setText("Alt nume");
    for (QMenu *menu : {main.reportsMenu(), main.utilitiesMenu()})
        for (QAction *a : menu->findChildren<QAction *>())
            a->setText("Alt nume");
    QTest::mouseClick(main.button("AdminButton"), Qt::LeftButton);
    EXPECT_TRUE(main.periodShown());
    main.action(gui::MainWindow::Command::Law226)->trigger();
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_TRUE(ui.opened[0].endsWith(".pdf"));

    ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    ASSERT_TRUE(list.openMonth(w));
    for (QPushButton *b : list.findChildren<QPushButton *>()) {
        b->setText("Alt nume");
        if (b->menu())
            for (QAction *a : b->menu()->actions())
                a->setText("Alt nume");
    }
    list.selectKey(3);
    ui.messageAnswers = {MessageResult::Nu};
    QTest::mouseClick(list.button("DeleteApplication"), Qt::LeftButton);
    EXPECT_EQ(ui.messages.back().text, "\rDoriti sa stergem cererea lui ZAMFIR DAN?");
    ui.opened.clear();
    whenShown([] {
        if (QWidget *w = QApplication::activeModalWidget())
            gui::FindButton(*w, "Chosen")->click();
    });
    QTest::mouseClick(list.button("PaymentStatement"), Qt::LeftButton);
    list.action(Command::FullForm)->trigger();
    ASSERT_EQ(ui.opened.size(), 2) << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.opened[1].contains("/Cerere"));
}

} // namespace

namespace {

TEST_F(ListWindow, TheMonthOperationsAskForAWorkingMonthFirst)
{
    SetWorkingMonth(QString());
    ApplicationsListWindow list(ui);
    ASSERT_TRUE(list.openMonth(WorkingMonthCode()));
    list.haveMonth = [this](const QString &title) { return periods::WorkingMonthChosen(ui, title); };
    int chosen = 0;
    list.chooseMonth = [&](const QString &) {
        ++chosen;
        return p;
    };
    for (const char *button : {"CopyFromMonth", "RemoveAlsoInMonth", "ChangeMonths"})
        QTest::mouseClick(list.button(button), Qt::LeftButton);
    EXPECT_EQ(chosen, 0);
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.text, "Alegeti mai intai o luna de la butonul Perioada!");
    EXPECT_EQ(count(cereri(), QStringLiteral("LUNACRT=0")), 0);
}

} // namespace

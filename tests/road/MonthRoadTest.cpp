// One month as the clerk walks it, in the real windows of one process: the start-up on an
// empty installation, the administration window filled, a month added in "Perioada in
// lucru", the applications typed into the editor opened from the list, the dispositions
// numbered and printed, the payment statement, the agencies' files, the day's copy at
// closing, then the next month with the continuing applications copied into it. Every
// step is checked against the tables, the log and the files written.
#include "ClerkSteps.h"
#include "FakeUi.h"
#include "RegisterArchive.h"
#include "SqlRows.h"
#include "TestSupport.h"
#include "WindowAudit.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "documents/TemplateStore.h"
#include "engines/archive/Archive.h"
#include "gui/admin/AdminWindow.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/documents/ApplicationRangeDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/documents/PaymentStatementDialog.h"
#include "gui/documents/SingleDispositionDialog.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/reports/AgencyReports.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/ExportsMenu.h"
#include "gui/shell/ApplicationsWiring.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/PeriodsWiring.h"
#include "gui/shell/Program.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/NumericEdit.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"
#include "shell/Session.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

using namespace focaris;
using namespace focaris::test;

namespace {

class MonthRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        qputenv("FOCARIS_MACHINE_DIR", (dir.qpath() + "/machine").toLocal8Bit());
        ResetMachineSettingsLocation();
        qputenv("XDG_DATA_HOME", (dir.qpath() + "/xdgdata").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (dir.qpath() + "/xdgconfig").toLocal8Bit());
        home = dir.qpath() + "/prog";
        qputenv("FOCARIS_HOME", home.toLocal8Bit());
        WriteMachineSetting("CALESALVARI", saves);
        if (!qEnvironmentVariableIsEmpty("FOCARIS_LARGE_TEXT")) {
            QFont larger = QApplication::font();
            larger.setPointSizeF(larger.pointSizeF() * 1.5);
            QApplication::setFont(larger);
        }
    }
    void TearDown() override
    {
        qunsetenv("FOCARIS_HOME");
        qunsetenv("FOCARIS_MACHINE_DIR");
        ResetMachineSettingsLocation();
        gui::ChooseMonthAnswer() = {};
        periods::SetWorkingMonthListener({});
    }

    QString cereri() const { return Quoted(TablePath(QStringLiteral("Cereri.dbf"))); }
    QString oameni() const { return Quoted(TablePath(QStringLiteral("Oameni.dbf"))); }
    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    Rows log()
    {
        return rows(QStringLiteral("SELECT ACTIUNE FROM %1 ORDER BY IDLOG").arg(Quoted(TablePath("LOG.DBF"))));
    }

    // Runs the whole program as the desktop does (start-up, main window, closing and its
    // save, clean-up); `day` acts as the clerk once the main window is on the screen and
    // closes it at the end, as the clerk does.
    void runProgram(const std::function<void(gui::Program &)> &day)
    {
        gui::Program program(&ui);
        program.startupSteps.registerFileType = nullptr;
        bool started = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (started || !program.mainWindow().isVisible())
                return;
            started = true;
            day(program);
            program.mainWindow().close();
        });
        driver.start(10);
        program.runAll(home + "/bin/focaris", {});
        EXPECT_TRUE(started) << ui.lastMessage().toStdString();
        EXPECT_FALSE(QFileInfo::exists(home + "/Temp"));
    }

    // Every window the road opened, read as a keyboard user and a screen reader meet it:
    // each control named, no caption or grid cell cut, and each Tab chain as kept in the
    // table beside the windows' code (FOCARIS_FOCUS_TABLE=PATH writes the chains seen).
    void checkWindows()
    {
        const QString table = QStringLiteral(FOCUS_CHAINS);
        if (const QString out = qEnvironmentVariable("FOCARIS_FOCUS_TABLE"); !out.isEmpty()) {
            QFile file(out);
            if (file.open(QIODevice::WriteOnly | QIODevice::Text))
                file.write(audit.chainTable().toUtf8());
        }
        std::printf("windows read: %d, controls checked: %d\n", int(audit.windows().size()), audit.controls());
        for (auto it = audit.windows().begin(); it != audit.windows().end(); ++it) {
            EXPECT_TRUE(it->unnamed.isEmpty())
                << it.key().toStdString() << " has controls without a name: " << it->unnamed.join(", ").toStdString();
            EXPECT_TRUE(it->clipped.isEmpty())
                << it.key().toStdString() << " cuts: " << it->clipped.join(", ").toStdString();
        }
        if (qEnvironmentVariableIsEmpty("FOCARIS_LARGE_TEXT"))
            for (const QString &difference : audit.chainDifferences(table))
                ADD_FAILURE() << "Tab chain: " << difference.toStdString();
    }

    TempDir dir;
    FakeUi ui;
    WindowAudit audit;
    QString home;
    const QString saves = dir.qpath() + "/Salvari";
};

TEST_F(MonthRoad, FromAnEmptyFolderToTheNextMonth)
{
    QDir().mkpath(saves);
    int nov = 0;
    Rows monthsLeft;
    // The first day: the program started on an empty installation.
    runProgram([&](gui::Program &program) {
        gui::MainWindow &main = program.mainWindow();
        EXPECT_EQ(main.workMode(), "Lucru local.");
        ASSERT_TRUE(QFileInfo::exists(TablePath("Cereri.dbf")));

        // The first click on "Administrare" shows the working buttons (no password yet); the
        // second opens the administration window: without a municipality nothing of the
        // month may start.
        EXPECT_FALSE(main.periodShown());
        QTest::mouseClick(main.button("AdminButton"), Qt::LeftButton);
        EXPECT_EQ(ui.lastMessage(), "\rATENTIE!\rNu aveti nicio parola!");
        ASSERT_TRUE(main.periodShown());
        EXPECT_FALSE(SettingsReady(LoadMunicipality(), WorkingMonth()).isEmpty());
        gui::AdminWindow &admin = program.adminWindow();
        bool stored = false;
        whenShown([&] {
            QTest::keyClicks(admin.field("Localit"), "Santana");
            admin.county()->setCurrentIndex(27); // MURES
            admin.field("CodFiscal")->setText("4322653");
            admin.field("MayorName")->setText("Ion Pop");
            stored = admin.storeAndClose();
            if (admin.isVisible())
                admin.reject();
        });
        QTest::mouseClick(main.button("AdminButton"), Qt::LeftButton);
        ASSERT_TRUE(stored) << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(ReadSetting("SETARI", "PRIMARIA"), "SANTANA");
        EXPECT_EQ(ReadSetting("SETARI", "PRIMAR"), "Ion Pop");
        EXPECT_EQ(SettingsReady(LoadMunicipality(), WorkingMonth()),
                  "\rAlegeti mai intai luna de la butonul Perioada!");

        // The first month of the season.
        gui::PeriodWindow period(ui);
        addMonth(period, 10, "2026");
        ASSERT_EQ(main.month(), "11.2026") << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(periods::ReadMonthList(), (QStringList{"11.2026"}));
        EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "11.2026");
        EXPECT_EQ(SettingsReady(LoadMunicipality(), WorkingMonth()), "");
        nov = MonthCode("11.2026");

        // The households of the guaranteed-minimum-income register, imported from the archive
        // that register wrote: one approved file with its inquiry and two members, one file
        // that register did not approve.
        const auto vmg = dir.path() / "asistenta.416";
        ASSERT_TRUE(WriteRegisterArchive(
            vmg,
            {{"Cereri.dbf", kVmgFiles,
              QJsonArray{
                  QJsonArray{7,
                             31,
                             "2026-10-02",
                             "Mureşan Ana",
                             "2950101261230",
                             "Libertatii",
                             "12",
                             "",
                             "",
                             "",
                             "",
                             "SANTANA",
                             2,
                             300.0,
                             0.0,
                             QJsonValue::Null,
                             "CS",
                             "",
                             "",
                             "APROBATA"},
                  QJsonArray{8,  32,          "2026-10-03", "Olaru Dan", "1968020261239", "Florilor", "1", "",   "",
                             "", "",          "SANTANA",    1,           100.0,           0.0,        0.0, "NC", "",
                             "", "SUSPENDATA"}}},
             {"Anchete.dbf", kVmgInquiries, QJsonArray{QJsonArray{7, 2, 1}}},
             {"Oameni.dbf", kVmgMembers,
              QJsonArray{QJsonArray{7, 1, "Mureşan Ana", "2950101261230", 300.0, 0.0, QJsonValue::Null, 1, ""},
                         QJsonArray{7, 2, "Mureşan Ioan", "5160305261231", 0.0, 0.0, QJsonValue::Null, 4, ""},
                         QJsonArray{8, 1, "Olaru Dan", "1968020261239", 100.0, 0.0, 0.0, 1, ""}}}}));
        QTest::mouseClick(period.button("ImportButton"), Qt::LeftButton);
        ASSERT_EQ(period.importMenu()->actions().value(0)->text(), "Import din VMG");
        ui.fileAnswers.push_back(QString::fromStdString(vmg.string()));
        period.importMenu()->actions()[0]->trigger();
        EXPECT_EQ(ui.messages.back().title, "Import din Legea 416") << ui.lastMessage().toStdString();
        EXPECT_TRUE(ui.messages.back().text.startsWith("\rCererile au fost importate cu succes!"))
            << ui.lastMessage().toStdString();
        EXPECT_EQ(
            rows(QStringLiteral("SELECT SUBSEMN, ADRESA, NR_MEMBRI, TVENIT, L416, NRCAM, ASIG FROM %1 WHERE LUNACRT=1")
                     .arg(cereri())),
            (Rows{"Mureşan Ana|STR.LIBERTATII NR.12|2|300|X|2|X"}));
        EXPECT_EQ(rows(QStringLiteral("SELECT A.TITULAR, A.CALITATE FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                      "WHERE B.LUNACRT=1 ORDER BY A.NROM")
                           .arg(oameni(), cereri())),
                  (Rows{"Mureşan Ana|beneficiar", "Mureşan Ioan|copil"}));
        period.hide();

        // The list of the month, and the editor behind "&Adauga cerere".
        gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
        auto *editor = list.findChild<gui::ApplicationEditorWindow *>();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(list.openMonth(nov));
        EXPECT_EQ(list.countLabel()->text(), "Total cereri: 0");
        auto type = [&](const char *field, const QString &value) {
            if (auto *combo = qobject_cast<QComboBox *>(editor->field(field)))
                QTest::keyClicks(combo->lineEdit(), value);
            else
                static_cast<QLineEdit *>(editor->field(field))->setText(value);
        };
        auto typeApplication = [&](const QString &cnp, const QString &name, const QString &number,
                                   const QString &income, const QString &reason = {}, bool gas = false) {
            whenShown([&, cnp, name, number, income, reason, gas] {
                type("Nr_Cere", number);
                QTest::keyClicks(editor->field("CNPSol"), cnp);
                for (const char *f : {"SubSemn", "TitT"})
                    type(f, name);
                type("CNPT", cnp);
                type("Adresa", "STR. MICA 2");
                type("Localit", "SANTANA");
                type("Furnizor", "TERMO SA");
                type("Tarif", "300");
                // The applicant as the one member of the household, with the income; the
                // household's count and income follow the members.
                auto *fromMembers = static_cast<QCheckBox *>(editor->field("Actualizare"));
                if (!fromMembers->isChecked())
                    fromMembers->click();
                QTimer::singleShot(0, [&, income] {
                    gui::MemberDialog *d = editor->memberDialog();
                    d->income()->setText(income);
                    d->saveButton()->click();
                });
                editor->button("AddMember")->click();
                if (gas) {
                    QTimer::singleShot(0, [&] {
                        gui::SupplementDialog *d = editor->supplementDialog();
                        QTest::keyClicks(d->supplier()->lineEdit(), "gaz sa");
                        QTest::keyClicks(d->clientCode(), "g77");
                        d->saveButton()->click();
                    });
                    editor->button("GasSupplement")->click();
                }
                type("NrCam", "2");
                if (!reason.isEmpty()) {
                    qobject_cast<QComboBox *>(editor->field("StatutD"))->setCurrentText("RESPINS");
                    auto *motiv = qobject_cast<QComboBox *>(editor->field("MotivC"));
                    if (motiv->isEditable())
                        QTest::keyClicks(motiv->lineEdit(), reason);
                    else
                        motiv->setCurrentText(reason);
                }
                editor->button("Save")->click();
                if (editor->isVisible())
                    editor->reject();
            });
            QTest::mouseClick(list.button("AddApplication"), Qt::LeftButton);
        };
        typeApplication("2850305123451", "BARBU IOANA", "1", "650");
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 1") << ui.hints.join(" | ").toStdString();
        const qint64 barbu = list.currentKey();
        typeApplication("1900715123455", "IONITA RADU", "2", "700", {}, true);
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 2") << ui.hints.join(" | ").toStdString();
        // The third one rejected, with a reason nobody wrote before.
        typeApplication("1750505123450", "STAN VASILE", "3", "800", "nu locuieste la adresa");
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 3") << ui.hints.join(" | ").toStdString();
        // The fourth household is known from the register: the clerk ticks "numerotare noua",
        // types the number and the CNP, and the look-up fills the rest and copies the members.
        whenShown([&] {
            static_cast<QCheckBox *>(editor->field("NewNo"))->click();
            type("Nr_Cere", "4");
            ui.hints.clear();
            QTest::keyClicks(editor->field("CNPSol"), "2950101261230");
            EXPECT_EQ(ui.hints.value(0), "Beneficiar VMG cererea nr.31 / 02.10.2026.");
            EXPECT_EQ(static_cast<QLineEdit *>(editor->field("SubSemn"))->text(), "MUREŞAN ANA");
            EXPECT_EQ(static_cast<QLineEdit *>(editor->field("Adresa"))->text(), "STR.LIBERTATII NR.12");
            EXPECT_EQ(static_cast<QLineEdit *>(editor->field("Nr_Cere"))->text(), "4");
            EXPECT_TRUE(static_cast<QCheckBox *>(editor->field("L416"))->isChecked());
            // The status keeps the last one chosen (the rejection before): the clerk sets it.
            qobject_cast<QComboBox *>(editor->field("StatutD"))->setCurrentText("APROBAT");
            // The register knows no heating contract: its holder is typed.
            type("TitT", "MUREŞAN ANA");
            type("CNPT", "2950101261230");
            type("Furnizor", "TERMO SA");
            type("Tarif", "300");
            type("NrCam", "2");
            picture(editor, "cautare-vmg");
            editor->button("Save")->click();
            if (editor->isVisible())
                editor->reject();
        });
        QTest::mouseClick(list.button("AddApplication"), Qt::LeftButton);
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 4") << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(
            rows(QStringLiteral("SELECT A.TITULAR, A.CNP, A.CALITATE FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                "WHERE B.LUNACRT=%3 AND B.NR_CERE=4 ORDER BY A.NROM")
                     .arg(oameni(), cereri())
                     .arg(nov)),
            (Rows{"Mureşan Ana|2950101261230|beneficiar", "Mureşan Ioan|5160305261231|copil"}));

        EXPECT_EQ(rows(QStringLiteral(
                           "SELECT SUBSEMN, CNP, NR_CERE, STATUT, MOTIVR FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                           .arg(cereri())
                           .arg(nov)),
                  (Rows{"BARBU IOANA|2850305123451|1|APROBAT|~", "IONITA RADU|1900715123455|2|APROBAT|~",
                        "STAN VASILE|1750505123450|3|RESPINS|nu locuieste la adresa",
                        "MUREŞAN ANA|2950101261230|4|APROBAT|~"}));
        EXPECT_EQ(readFile((ProgramFolder() + "/Motive.lst").toStdString()), "nu locuieste la adresa\r\n");

        EXPECT_EQ(rows(QStringLiteral("SELECT NR_MEMBRI, TVENIT FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                           .arg(cereri())
                           .arg(nov)),
                  (Rows{"1|650", "1|700", "1|800", "2|300"}));
        EXPECT_EQ(rows(QStringLiteral("SELECT B.SUBSEMN, A.TITULAR, A.VENIT FROM %1 A INNER JOIN %2 B ON "
                                      "A.NRCRT=B.NRCRT WHERE B.LUNACRT>2 ORDER BY B.NR_CERE, A.NROM")
                           .arg(oameni(), cereri())),
                  (Rows{"BARBU IOANA|BARBU IOANA|650", "IONITA RADU|IONITA RADU|700", "STAN VASILE|STAN VASILE|800",
                        "MUREŞAN ANA|Mureşan Ana|300", "MUREŞAN ANA|Mureşan Ioan|0"}));

        // One modified through Enter in the grid.
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
        EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE NRCRT=%2").arg(cereri()).arg(barbu)),
                  (Rows{"BARBU IOANA MARIA"}));

        // The approved ones numbered from 10.
        numberDispositions(list, 1, "1", "10", "10", QDate(2026, 11, 20),
                           [](gui::NumberingDialog &nd) { picture(&nd, "numerotare"); });
        picture(&list, "lista-numerotata");
        const Rows numbered = rows(
            QStringLiteral("SELECT NRCRT, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND NR_DISP<>\"\" ORDER BY NRCRT")
                .arg(cereri())
                .arg(nov));
        EXPECT_EQ(numbered.size(), 3u);
        for (const auto &r : numbered)
            EXPECT_NE(r.find("20.11.2026"), std::string::npos) << r;
        // The rejected one numbered on its own.
        numberDispositions(list, 3, "1", "10", "50", QDate(2026, 11, 21));
        EXPECT_EQ(rows(QStringLiteral("SELECT NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND STATUT=\"RESPINS\"")
                           .arg(cereri())
                           .arg(nov)),
                  (Rows{"50|21.11.2026"}));

        // The grant and rejection dispositions, each through the range window.
        auto print = [&](gui::ApplicationsListWindow::Command command, const QString &from, const QString &to) {
            return readFile(printDispositions(ui, list, command, from, to).toStdString());
        };
        const std::string grant = print(gui::ApplicationsListWindow::Command::GrantDispositions, "10", "12");
        EXPECT_NE(grant.find("IONITA RADU"), std::string::npos);
        EXPECT_NE(grant.find("BARBU IOANA MARIA"), std::string::npos);
        EXPECT_NE(grant.find("AN ANA"), std::string::npos);
        EXPECT_EQ(grant.find("STAN VASILE"), std::string::npos);
        const std::string rejection = print(gui::ApplicationsListWindow::Command::RejectionDispositions, "50", "50");
        EXPECT_NE(rejection.find("STAN VASILE"), std::string::npos);

        // The single grant disposition number 10, with the texts the clerk types.
        ui.opened.clear();
        whenShown([] {
            auto *w = dynamic_cast<gui::SingleDispositionDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            w->number()->setText("10");
            w->period()->setText("noiembrie 2026 - martie 2027");
            w->court()->setText("Targu Mures");
            QTest::mouseClick(w->listButton(), Qt::LeftButton);
        });
        list.trigger(gui::ApplicationsListWindow::Command::SingleDisposition);
        ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
        const std::string single = readFile(ui.opened[0].toStdString());
        EXPECT_NE(single.find("IONITA RADU"), std::string::npos);
        EXPECT_EQ(ReadSetting("DISPCUM", "PERIOADA"), "noiembrie 2026 - martie 2027");
        EXPECT_EQ(ReadSetting("DISPCUM", "TRIBUNAL"), "Targu Mures");

        // The reports of the applications 1 to 3.
        ui.opened.clear();
        whenShown([] {
            auto *w = dynamic_cast<gui::ApplicationRangeDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            w->firstNumber()->setText("1");
            w->lastNumber()->setText("3");
            QTest::mouseClick(w->listButton(), Qt::LeftButton);
        });
        list.trigger(gui::ApplicationsListWindow::Command::Reports);
        ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
        const std::string reports = readFile(ui.opened[0].toStdString());
        EXPECT_NE(reports.find("IONITA RADU"), std::string::npos);

        // The payment statement of the month, every locality and letter.
        ui.opened.clear();
        whenShown([] {
            auto *w = dynamic_cast<gui::PaymentStatementDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            QTest::mouseClick(w->chooseButton(), Qt::LeftButton);
        });
        list.trigger(gui::ApplicationsListWindow::Command::PaymentStatement);
        ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
        const std::string statement = readFile(ui.opened[0].toStdString());
        EXPECT_NE(statement.find("IONITA RADU"), std::string::npos);
        EXPECT_NE(statement.find("BARBU IOANA MARIA"), std::string::npos);
        EXPECT_EQ(statement.find("STAN VASILE"), std::string::npos);

        // The AJPIS set of the month, into a folder the clerk chooses.
        const QString out = dir.qpath() + "/rapoarte";
        QDir().mkpath(out);
        ui.folderAnswers.push_back(out);
        whenShown([&] {
            auto *ajpis = dynamic_cast<gui::AjpisPeriodDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(ajpis, nullptr);
            ajpis->from()->setDate(QDate(2026, 11, 1));
            ajpis->to()->setDate(QDate(2026, 11, 30));
            QTest::mouseClick(ajpis->chooseButton(), Qt::LeftButton);
        });
        main.trigger(gui::MainWindow::Command::AjpisReport);
        EXPECT_TRUE(QFileInfo::exists(out + "/TERMICA_AJPIS/Anexa1_21.xls")) << ui.lastMessage().toStdString();

        // The ANPIS XML and F2201 from the main window's menu.
        ui.folderAnswers.push_back(out);
        main.trigger(gui::MainWindow::Command::AnpisExport);
        const std::string anpis = readFile((out + "/Date_4322653v2.xml").toStdString());
        EXPECT_NE(anpis.find("1900715123455"), std::string::npos) << ui.lastMessage().toStdString();
        EXPECT_NE(anpis.find("2850305123451"), std::string::npos);
        EXPECT_NE(anpis.find("2950101261230"), std::string::npos);
        ui.folderAnswers.push_back(out);
        main.trigger(gui::MainWindow::Command::F2201Export);
        EXPECT_TRUE(QFileInfo::exists(out + "/F2201_1.xml")) << QDir(out).entryList().join(" ").toStdString();

        // The month's continuing applications, with the months they have left.
        monthsLeft =
            rows(QStringLiteral("SELECT NR_LUNI FROM %1 WHERE LUNACRT=%2 AND STATUT=\"APROBAT\" ORDER BY NR_CERE")
                     .arg(cereri())
                     .arg(nov));
        // The end of the day: the clerk closes the main window and answers "Da" to the day's copy.
        ui.messages.clear();
        ui.messageAnswers = {MessageResult::Da};
    });
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.front().title, "Salvare Automata");
    // The copy is in the automatic save folder and holds the tables as they were left.
    const QStringList saved = QDir(saves).entryList({"*.T21"}, QDir::Files);
    ASSERT_EQ(saved.size(), 1) << ui.lastMessage().toStdString();
    EXPECT_TRUE(QRegularExpression("^[0-9]{8}_0\\.T21$").match(saved[0]).hasMatch()) << saved[0].toStdString();
    {
        TempDir back;
        ASSERT_FALSE(archive::extractArchive((saves + "/" + saved[0]).toStdString(), back.path()).failed);
        for (const char *table : {"Cereri.dbf", "Oameni.dbf", "LOG.DBF"})
            EXPECT_EQ(readFile(back / table), readFile(TablePath(table).toStdString())) << table;
    }

    // The next day the program starts again on the same folder, in the month it was left in;
    // the clerk adds the next month and copies the continuing applications into it, with one
    // month fewer to run.
    runProgram([&](gui::Program &program) {
        gui::MainWindow &main = program.mainWindow();
        EXPECT_EQ(main.month(), "11.2026");
        QTest::mouseClick(main.button("AdminButton"), Qt::LeftButton);
        ASSERT_TRUE(main.periodShown());
        gui::PeriodWindow period(ui);
        gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
        addMonth(period, 11, "2026");
        ASSERT_EQ(main.month(), "12.2026") << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(periods::ReadMonthList(), (QStringList{"12.2026", "11.2026"}));
        const int dec = MonthCode("12.2026");
        ASSERT_TRUE(list.openMonth(dec));
        EXPECT_EQ(list.countLabel()->text(), "Total cereri: 0");
        gui::ChooseMonthAnswer() = [](const QString &, QString &month) {
            month = QStringLiteral("11.2026");
            return true;
        };
        QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
        // The rejected one does not continue.
        EXPECT_EQ(list.countLabel()->text(), "Total cereri: 3") << ui.lastMessage().toStdString();
        picture(&list, "luna-urmatoare");
        Rows fewer;
        for (const auto &m : monthsLeft)
            fewer.push_back(std::to_string(std::stoi(m) - 1));
        EXPECT_EQ(
            rows(QStringLiteral("SELECT NR_LUNI FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE").arg(cereri()).arg(dec)),
            fewer);
        EXPECT_EQ(
            rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE").arg(cereri()).arg(dec)),
            (Rows{"BARBU IOANA MARIA", "IONITA RADU", "MUREŞAN ANA"}));
        EXPECT_EQ(rows(QStringLiteral("SELECT NR_CERE, FURNG, CODCLG FROM %1 WHERE LUNACRT=%2 AND SUMAG>0")
                           .arg(cereri())
                           .arg(dec)),
                  (Rows{"2|GAZ SA|G77"}));
        EXPECT_EQ(rows(QStringLiteral("SELECT A.TITULAR, A.VENIT FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                      "WHERE B.LUNACRT=%3 ORDER BY B.NR_CERE, A.NROM")
                           .arg(oameni(), cereri())
                           .arg(dec)),
                  (Rows{"BARBU IOANA|650", "IONITA RADU|700", "Mureşan Ana|300", "Mureşan Ioan|0"}));

        ui.messageAnswers = {MessageResult::Nu};
    });

    // The log holds the two days' work in order, each day between its start and its end.
    const Rows actions = log();
    const Rows expected{"Pornire program",    "Import date din L416.",  "Adaugare Cerere ",
                        "Adaugare Cerere ",   "Adaugare Cerere ",       "Adaugare Cerere ",
                        "Modificare Cerere ", "Numerotare Dispozitii.", "Numerotare Dispozitii.",
                        "Inchidere Program.", "Pornire program",        "Adaugare Cereri din luna 11.2026",
                        "Inchidere Program."};
    ASSERT_EQ(actions.size(), expected.size()) << testing::PrintToString(actions);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actions[i].rfind(expected[i], 0), 0u) << actions[i];
    for (const auto &m : ui.messages)
        EXPECT_NE(m.kind, MessageKind::Error) << m.text.toStdString();
    EXPECT_FALSE(ui.progressVisible);
    checkWindows();
}

} // namespace

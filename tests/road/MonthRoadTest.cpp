// One month as the clerk walks it, in the real windows of one process: the start-up on an
// empty installation, the administration window filled, a month added in "Perioada in
// lucru", the applications typed into the editor opened from the list, the dispositions
// numbered and printed, the payment statement, the agencies' files, the day's copy at
// closing, then the next month with the continuing applications copied into it. Every
// step is checked against the tables, the log and the files written.
#include "FakeUi.h"
#include "SqlRows.h"
#include "TestSupport.h"

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
#include "gui/applications/ApplicationsWiring.h"
#include "gui/applications/MemberDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/applications/SupplementDialog.h"
#include "gui/documents/TAlegeCere.h"
#include "gui/documents/TAlegeNrDisp.h"
#include "gui/documents/TListDispF.h"
#include "gui/documents/TTipStatF.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/periods/PeriodsWiring.h"
#include "gui/reports/AgencyReports.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/ExportsMenu.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/NumericEdit.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"
#include "shell/Session.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace focaris;
using namespace focaris::test;

namespace
{

// Runs `step` on the next turn of the event loop, while a window waits in exec().
void whenShown(std::function<void()> step)
{
    QTimer::singleShot(0, std::move(step));
}

class MonthRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        qputenv("FOCARIS_MACHINE_DIR", (dir.qpath() + "/machine").toLocal8Bit());
        ResetMachineSettingsLocation();
        qputenv("XDG_DATA_HOME", (dir.qpath() + "/xdgdata").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (dir.qpath() + "/xdgconfig").toLocal8Bit());
        const QString program = dir.qpath() + "/prog";
        QDir().mkpath(program);
        InitContextForTests(program);
        // The program's own start-up on the empty installation: tables, templates, keys.
        shell::StartupSteps steps = shell::StartupSteps::defaults();
        steps.registerFileType = nullptr;
        shell::StartupOptions options;
        options.executable = program + "/bin/focaris";
        options.programFolder = program;
        const shell::StartupResult started = shell::RunStartup(ui, options, steps);
        ASSERT_EQ(started.workMode, "Lucru local.");
        ASSERT_TRUE(QFileInfo::exists(TablePath("Cereri.dbf")));
    }
    void TearDown() override
    {
        qunsetenv("FOCARIS_MACHINE_DIR");
        ResetMachineSettingsLocation();
        gui::AlegeLunaAnswer() = {};
        periods::SetWorkingMonthListener({});
    }

    QString cereri() const { return Quoted(TablePath(QStringLiteral("Cereri.dbf"))); }
    QString oameni() const { return Quoted(TablePath(QStringLiteral("Oameni.dbf"))); }
    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    Rows log()
    {
        return rows(
            QStringLiteral("SELECT ACTIUNE FROM %1 ORDER BY IDLOG").arg(Quoted(TablePath("LOG.DBF"))));
    }

    // "&Adauga luna" in "Perioada in lucru": the month chosen, the year typed, "&Adauga",
    // then "&Memoreaza" keeps the list.
    void addMonth(gui::PeriodWindow &window, int monthIndex, const QString &year)
    {
        window.load();
        window.show();
        whenShown([&window, monthIndex, year] {
            gui::AddMonthDialog &d = window.addDialog();
            d.monthList()->setCurrentIndex(monthIndex);
            d.yearField()->selectAll();
            QTest::keyClicks(d.yearField(), year);
            QTest::mouseClick(d.addButton(), Qt::LeftButton);
            if (d.isVisible())
                QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(window.button("AdaugaB"), Qt::LeftButton);
        QTest::mouseClick(window.button("MemoreazaB"), Qt::LeftButton);
    }

    TempDir dir;
    FakeUi ui;
};

TEST_F(MonthRoad, FromAnEmptyFolderToTheNextMonth)
{
    gui::MainWindow main(ui);
    gui::WirePeriods(main, ui);

    // The administration window: without a municipality nothing of the month may start.
    gui::AdminWindow admin(ui);
    admin.loadSettings();
    EXPECT_FALSE(SettingsReady(LoadMunicipality(), WorkingMonth()).isEmpty());
    QTest::keyClicks(admin.field("Localit"), "Santana");
    admin.county()->setCurrentIndex(27); // MURES
    admin.field("CodFiscal")->setText("4322653");
    admin.field("Edit7")->setText("Ion Pop");
    ASSERT_TRUE(admin.storeAndClose()) << ui.hints.join(" | ").toStdString();
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
    const int nov = MonthCode("11.2026");

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
                d->venit()->setText(income);
                d->saveButton()->click();
            });
            editor->button("Adauga membru")->click();
            if (gas) {
                QTimer::singleShot(0, [&] {
                    gui::SupplementDialog *d = editor->supplementDialog();
                    QTest::keyClicks(d->furnizor()->lineEdit(), "gaz sa");
                    QTest::keyClicks(d->codClient(), "g77");
                    d->saveButton()->click();
                });
                editor->button("Supliment Gaze naturale")->click();
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
            editor->button("&Memoreaza")->click();
            if (editor->isVisible())
                editor->reject();
        });
        QTest::mouseClick(list.button("&Adauga cerere"), Qt::LeftButton);
    };
    typeApplication("2850305123451", "BARBU IOANA", "1", "650");
    ASSERT_EQ(list.countLabel()->text(), "Total cereri: 1") << ui.hints.join(" | ").toStdString();
    const qint64 barbu = list.currentKey();
    typeApplication("1900715123455", "IONITA RADU", "2", "700", {}, true);
    ASSERT_EQ(list.countLabel()->text(), "Total cereri: 2") << ui.hints.join(" | ").toStdString();
    // The third one rejected, with a reason nobody wrote before.
    typeApplication("1750505123450", "STAN VASILE", "3", "800", "nu locuieste la adresa");
    ASSERT_EQ(list.countLabel()->text(), "Total cereri: 3") << ui.hints.join(" | ").toStdString();
    EXPECT_EQ(
        rows(QStringLiteral(
                 "SELECT SUBSEMN, CNP, NR_CERE, STATUT, MOTIVR FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                 .arg(cereri())
                 .arg(nov)),
        (Rows{"BARBU IOANA|2850305123451|1|APROBAT|~", "IONITA RADU|1900715123455|2|APROBAT|~",
              "STAN VASILE|1750505123450|3|RESPINS|nu locuieste la adresa"}));
    EXPECT_EQ(readFile((ProgramFolder() + "/Motive.lst").toStdString()), "nu locuieste la adresa\r\n");

    EXPECT_EQ(rows(QStringLiteral("SELECT NR_MEMBRI, TVENIT FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                       .arg(cereri())
                       .arg(nov)),
              (Rows{"1|650", "1|700", "1|800"}));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT B.SUBSEMN, A.TITULAR, A.VENIT FROM %1 A INNER JOIN %2 B ON "
                            "A.NRCRT=B.NRCRT ORDER BY B.NR_CERE")
                 .arg(oameni(), cereri())),
        (Rows{"BARBU IOANA|BARBU IOANA|650", "IONITA RADU|IONITA RADU|700", "STAN VASILE|STAN VASILE|800"}));

    // One modified through Enter in the grid.
    list.selectKey(barbu);
    whenShown([&] {
        auto *name = static_cast<QLineEdit *>(editor->field("SubSemn"));
        name->clear();
        QTest::keyClicks(name, "BARBU IOANA MARIA");
        editor->button("&Memoreaza")->click();
        if (editor->isVisible())
            editor->reject();
    });
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE NRCRT=%2").arg(cereri()).arg(barbu)),
              (Rows{"BARBU IOANA MARIA"}));

    // The approved ones numbered from 10.
    gui::NumberingDialog &nd = list.numberingDialog();
    whenShown([&] {
        nd.category()->setCurrentIndex(1);
        nd.from()->setText("1");
        nd.to()->setText("10");
        nd.first()->setText("10");
        nd.date()->setDate(QDate(2026, 11, 20));
        QTest::keyClick(nd.date(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("&Numeroteaza dispozitiile"), Qt::LeftButton);
    EXPECT_FALSE(nd.isVisible());
    const Rows numbered =
        rows(QStringLiteral(
                 "SELECT NRCRT, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND NR_DISP<>\"\" ORDER BY NRCRT")
                 .arg(cereri())
                 .arg(nov));
    EXPECT_EQ(numbered.size(), 2u);
    for (const auto &r : numbered)
        EXPECT_NE(r.find("20.11.2026"), std::string::npos) << r;
    // The rejected one numbered on its own.
    whenShown([&] {
        nd.category()->setCurrentIndex(3);
        nd.from()->setText("1");
        nd.to()->setText("10");
        nd.first()->setText("50");
        nd.date()->setDate(QDate(2026, 11, 21));
        QTest::keyClick(nd.date(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("&Numeroteaza dispozitiile"), Qt::LeftButton);
    EXPECT_EQ(rows(QStringLiteral("SELECT NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND STATUT=\"RESPINS\"")
                       .arg(cereri())
                       .arg(nov)),
              (Rows{"50|21.11.2026"}));

    // The grant and rejection dispositions, each through the range window.
    auto printDispositions = [&](const char *caption, const QString &from, const QString &to) {
        ui.opened.clear();
        whenShown([from, to] {
            auto *w = dynamic_cast<gui::TListDispF *>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            w->disp0()->setText(from);
            w->disp1()->setText(to);
            QTest::mouseClick(w->listButton(), Qt::LeftButton);
        });
        list.trigger(QString::fromLatin1(caption));
        EXPECT_EQ(ui.opened.size(), 1) << caption << ": " << ui.lastMessage().toStdString();
        return ui.opened.isEmpty() ? std::string() : readFile(ui.opened[0].toStdString());
    };
    const std::string grant = printDispositions("Dispozitie de Stabilire Separata", "10", "11");
    EXPECT_NE(grant.find("IONITA RADU"), std::string::npos);
    EXPECT_NE(grant.find("BARBU IOANA MARIA"), std::string::npos);
    EXPECT_EQ(grant.find("STAN VASILE"), std::string::npos);
    const std::string rejection = printDispositions("Dispozitie de Respingere", "50", "50");
    EXPECT_NE(rejection.find("STAN VASILE"), std::string::npos);

    // The single grant disposition number 10, with the texts the clerk types.
    ui.opened.clear();
    whenShown([] {
        auto *w = dynamic_cast<gui::TAlegeNrDisp *>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        w->nrDisp()->setText("10");
        w->perioada()->setText("noiembrie 2026 - martie 2027");
        w->tribunal()->setText("Targu Mures");
        QTest::mouseClick(w->listButton(), Qt::LeftButton);
    });
    list.trigger(QStringLiteral("Dispozitie Unica de Stabilire"));
    ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
    const std::string single = readFile(ui.opened[0].toStdString());
    EXPECT_NE(single.find("IONITA RADU"), std::string::npos);
    EXPECT_EQ(ReadSetting("DISPCUM", "PERIOADA"), "noiembrie 2026 - martie 2027");
    EXPECT_EQ(ReadSetting("DISPCUM", "TRIBUNAL"), "Targu Mures");

    // The reports of the applications 1 to 3.
    ui.opened.clear();
    whenShown([] {
        auto *w = dynamic_cast<gui::TAlegeCere *>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        w->cere0()->setText("1");
        w->cere1()->setText("3");
        QTest::mouseClick(w->listButton(), Qt::LeftButton);
    });
    list.trigger(QStringLiteral("Listeaza Re&ferate"));
    ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
    const std::string reports = readFile(ui.opened[0].toStdString());
    EXPECT_NE(reports.find("IONITA RADU"), std::string::npos);

    // The payment statement of the month, every locality and letter.
    ui.opened.clear();
    whenShown([] {
        auto *w = dynamic_cast<gui::TTipStatF *>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w->chooseButton(), Qt::LeftButton);
    });
    list.trigger(QStringLiteral("Situatie Plati"));
    ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
    const std::string statement = readFile(ui.opened[0].toStdString());
    EXPECT_NE(statement.find("IONITA RADU"), std::string::npos);
    EXPECT_NE(statement.find("BARBU IOANA MARIA"), std::string::npos);
    EXPECT_EQ(statement.find("STAN VASILE"), std::string::npos);

    // The AJPIS set of the month, into a folder the clerk chooses.
    const QString out = dir.qpath() + "/rapoarte";
    QDir().mkpath(out);
    gui::AjpisPeriodDialog ajpis(ui);
    ui.folderAnswers.push_back(out);
    whenShown([&] {
        ajpis.from()->setDate(QDate(2026, 11, 1));
        ajpis.to()->setDate(QDate(2026, 11, 30));
        QTest::mouseClick(ajpis.chooseButton(), Qt::LeftButton);
    });
    gui::RunAjpisReport(ui, ajpis);
    EXPECT_TRUE(QFileInfo::exists(out + "/TERMICA_AJPIS/Anexa1_21.xls")) << ui.lastMessage().toStdString();

    // The ANPIS XML and F2201 from the main window's menu.
    gui::WireExportsMenu(main, ui, [] {});
    ui.folderAnswers.push_back(out);
    main.trigger("Export Date ANPIS - XML");
    const std::string anpis = readFile((out + "/Date_4322653v2.xml").toStdString());
    EXPECT_NE(anpis.find("1900715123455"), std::string::npos) << ui.lastMessage().toStdString();
    EXPECT_NE(anpis.find("2850305123451"), std::string::npos);
    ui.folderAnswers.push_back(out);
    main.trigger("Formularul F 2201 ANAF - XML");
    EXPECT_TRUE(QFileInfo::exists(out + "/F2201_1.xml")) << QDir(out).entryList().join(" ").toStdString();

    // The end of the day: the main window closes and the day's copy is saved into the
    // automatic save folder; it holds the month's tables as they are now.
    const QString saves = dir.qpath() + "/Salvari";
    QDir().mkpath(saves);
    WriteMachineSetting("CALESALVARI", saves);
    ui.messageAnswers = {ResDa};
    const auto decision = shell::DecideSave(ui, shell::CurrentCloseState(true));
    ASSERT_TRUE(decision.save);
    EXPECT_EQ(ui.messages.back().title, "Salvare Automata");
    shell::SaveAtClose(ui, decision, {});
    const QStringList saved = QDir(saves).entryList({"*.T21"}, QDir::Files);
    ASSERT_EQ(saved.size(), 1) << ui.lastMessage().toStdString();
    EXPECT_TRUE(QRegularExpression("^[0-9]{8}_0\\.T21$").match(saved[0]).hasMatch())
        << saved[0].toStdString();
    {
        TempDir back;
        ASSERT_FALSE(archive::extractArchive((saves + "/" + saved[0]).toStdString(), back.path()).failed);
        EXPECT_EQ(readFile(back / "Cereri.dbf"), readFile(TablePath("Cereri.dbf").toStdString()));
    }

    // The next month, and the continuing applications copied into it with one month fewer.
    const Rows monthsLeft =
        rows(QStringLiteral("SELECT NR_LUNI FROM %1 WHERE LUNACRT=%2 AND STATUT=\"APROBAT\" ORDER BY NR_CERE")
                 .arg(cereri())
                 .arg(nov));
    addMonth(period, 11, "2026");
    ASSERT_EQ(main.month(), "12.2026") << ui.hints.join(" | ").toStdString();
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"12.2026", "11.2026"}));
    const int dec = MonthCode("12.2026");
    ASSERT_TRUE(list.openMonth(dec));
    EXPECT_EQ(list.countLabel()->text(), "Total cereri: 0");
    gui::AlegeLunaAnswer() = [](const QString &, QString &month) {
        month = QStringLiteral("11.2026");
        return true;
    };
    QTest::mouseClick(list.button("Adau&ga cereri din alta luna"), Qt::LeftButton);
    // The rejected one does not continue.
    EXPECT_EQ(list.countLabel()->text(), "Total cereri: 2") << ui.lastMessage().toStdString();
    Rows expected;
    for (const auto &m : monthsLeft)
        expected.push_back(std::to_string(std::stoi(m) - 1));
    EXPECT_EQ(rows(QStringLiteral("SELECT NR_LUNI FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                       .arg(cereri())
                       .arg(dec)),
              expected);
    EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                       .arg(cereri())
                       .arg(dec)),
              (Rows{"BARBU IOANA MARIA", "IONITA RADU"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT NR_CERE, FURNG, CODCLG FROM %1 WHERE LUNACRT=%2 AND SUMAG>0")
                       .arg(cereri())
                       .arg(dec)),
              (Rows{"2|GAZ SA|G77"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT A.TITULAR, A.VENIT FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                  "WHERE B.LUNACRT=%3 ORDER BY B.NR_CERE")
                       .arg(oameni(), cereri())
                       .arg(dec)),
              (Rows{"BARBU IOANA|650", "IONITA RADU|700"}));

    const Rows actions = log();
    ASSERT_GE(actions.size(), 7u);
    EXPECT_EQ(actions[0].rfind("Adaugare Cerere ", 0), 0u) << actions[0];
    EXPECT_EQ(actions[1].rfind("Adaugare Cerere ", 0), 0u) << actions[1];
    EXPECT_EQ(actions[2].rfind("Adaugare Cerere ", 0), 0u) << actions[2];
    EXPECT_EQ(actions[3].rfind("Modificare Cerere ", 0), 0u) << actions[3];
    EXPECT_EQ(actions[4], "Numerotare Dispozitii.");
    EXPECT_EQ(actions[5], "Numerotare Dispozitii.");
    EXPECT_EQ(actions.back(), "Adaugare Cereri din luna 11.2026");
    for (const auto &m : ui.messages)
        EXPECT_NE(m.kind, MsgError) << m.text.toStdString();
    EXPECT_FALSE(ui.progressVisible);
}

} // namespace

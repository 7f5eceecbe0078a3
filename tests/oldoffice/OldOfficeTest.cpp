// An office moving from its old Windows computer: the data folder that computer leaves
// (CERERI.DBF, OAMENI.DBF, LOG.DBF in upper case and Windows-1250, FOCARIS.SET, LUNI.LST,
// MOTIVE.LST with CR LF, its own STAT.XLS and edited STABILIRE.RTF) and a ".T21" archive
// of it, all written by independent tools (old_office.py: python3-dbf, xlwt and Python's
// zlib). The program starts on the folder, on the archive opened from the command line or
// restored, and on the folder left on a network share; the month's road is walked in the
// real windows: a new month, the continuing applications copied, a search, the VMG
// import, applications typed whose CNP the look-up finds among the old and the imported
// rows (one rejected with a new reason), a copied row modified, the numbering, the grant
// and rejection dispositions, the payment statement, the AJPIS set and the save at
// closing. What the program writes back is read again by the independent tools.
#include "ClerkSteps.h"
#include "FakeUi.h"
#include "RegisterArchive.h"
#include "SqlRows.h"
#include "TestSupport.h"

#include "admin/Municipality.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/documents/PaymentStatementDialog.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/reports/AgencyReports.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/shell/ApplicationsWiring.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/PeriodsWiring.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/FindButton.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"
#include "safety/Backup.h"
#include "shell/Session.h"
#include "shell/Startup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Texts in failure messages.
void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace focaris;
using namespace focaris::test;

namespace {

const int kNov = 2025 * 12 + 10, kDec = 2025 * 12 + 11, kJan = 2026 * 12;

// Types a text key by key, as a keyboard with Romanian letters would (QTest::keyClicks
// takes only ASCII).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// old_office.py with its arguments; its standard output.
std::string oldOffice(const QStringList &arguments)
{
    std::string command = "/usr/bin/python3 " + shellQuote(std::string(OLDOFFICE_TEST_DIR) + "/old_office.py");
    for (const QString &a : arguments)
        command += " " + shellQuote(a.toStdString());
    std::string out;
    if (run(command + " 2>&1", &out) != 0)
        throw std::runtime_error("old_office.py failed: " + out);
    return out;
}

QString text(const QString &document)
{
    return QString::fromStdString(oldOffice({"text", document}));
}

// A table as dbfread and python3-dbf read it.
QJsonObject independentRows(const QString &table)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(oldOffice({"rows", table}))).object();
}

// The column `name` of every row of an independent read, as texts.
QStringList column(const QJsonObject &table, const QString &name)
{
    const int c = int(table["fields"].toArray().toVariantList().indexOf(name));
    QStringList out;
    for (const QJsonValue &row : table["rows"].toArray())
        out << row.toArray().at(c).toVariant().toString();
    return out;
}

// The given columns, joined by "|", of the rows of an independent read whose `key` column
// holds `value`; a blank field reads as the empty text.
QStringList independentSelect(const QJsonObject &table, const QStringList &columns, const QString &key,
                              const QString &value)
{
    const QVariantList fields = table["fields"].toArray().toVariantList();
    QStringList out;
    for (const QJsonValue &row : table["rows"].toArray()) {
        const QJsonArray r = row.toArray();
        if (r.at(int(fields.indexOf(key))).toVariant().toString() != value)
            continue;
        QStringList line;
        for (const QString &c : columns)
            line << r.at(int(fields.indexOf(c))).toVariant().toString();
        out << line.join('|');
    }
    return out;
}

// Names that appear twice in a folder when case is ignored: a file the program made
// beside the one the old computer left ("Cereri.dbf" next to "CERERI.DBF").
QStringList twiceWithoutCase(const QString &folder)
{
    QSet<QString> seen;
    QStringList twice;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        if (seen.contains(name.toUpper()))
            twice << name;
        else
            seen.insert(name.toUpper());
    return twice;
}

class OldOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("FOCARIS_SAVE_ROOTS", "");
        qputenv("XDG_DATA_HOME", (dir.qpath() + "/xdgdata").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (dir.qpath() + "/xdgconfig").toLocal8Bit());
        program = dir.qpath() + "/prog";
        InitContextForTests(program);
        startFolder = QDir::currentPath();
    }
    void TearDown() override
    {
        // Work in an opened archive moves into its unpacked folder, which goes at closing.
        QDir::setCurrent(startFolder);
        qunsetenv("FOCARIS_MACHINE_DIR");
        ResetMachineSettingsLocation();
        gui::ChooseMonthAnswer() = {};
        periods::SetWorkingMonthListener({});
    }

    // The old computer's folder in `data` (with the office's STAT.XLS, saved by another
    // spreadsheet program), its list of reasons in `programFolder`, and the grant
    // disposition the office edited, under an upper-case name.
    void writeOldFolder(const QString &layout, const QString &data, const QString &programFolder)
    {
        oldOffice({"folder", layout, data, programFolder});
        std::string grant = readFile(std::string(FOCARIS_RESOURCE_DIR) + "/MODEL/Stabilire.rtf");
        const auto at = grant.find("[Nume]");
        ASSERT_NE(at, std::string::npos);
        grant.insert(at + 6, " (model local)");
        writeFile((data + "/STABILIRE.RTF").toStdString(), grant);
    }

    // The program's start-up, with `arguments` on its command line.
    shell::StartupResult start(const QStringList &arguments = {})
    {
        shell::StartupSteps steps = shell::StartupSteps::defaults();
        steps.registerFileType = nullptr;
        shell::StartupOptions options;
        options.executable = program + "/bin/focaris";
        options.programFolder = program;
        options.arguments = arguments;
        return shell::RunStartup(ui, options, steps);
    }

    Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    QString cereri() const { return Quoted(TablePath(QStringLiteral("Cereri.dbf"))); }
    QString oameni() const { return Quoted(TablePath(QStringLiteral("Oameni.dbf"))); }

    // What the clerk answers when the main window closes: "&Da" to the copy (into `saves`,
    // the automatic save folder) or to saving the opened archive.
    void closeWithSave(const QString &saves)
    {
        QDir().mkpath(saves);
        WriteMachineSetting("CALESALVARI", saves);
        ui.messageAnswers = {MessageResult::Da};
    }

    TempDir dir;
    QString program, startFolder;
    FakeUi ui;
};

TEST_F(OldOffice, TheOldComputersFolderThroughANewMonth)
{
    writeOldFolder("current", DataFolder(), ProgramFolder());
    const shell::StartupResult started = start();
    ASSERT_EQ(started.workMode, "Lucru local.");

    // The start-up took the folder as it is: nothing made beside the old files, the
    // templates the office keeps are not replaced, the missing ones are installed.
    EXPECT_EQ(twiceWithoutCase(DataFolder()), QStringList());
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/CERERI.DBF"));
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/Respingere.rtf"));
    EXPECT_NE(readFile((DataFolder() + "/STABILIRE.RTF").toStdString()).find("(model local)"), std::string::npos);

    // The settings, months and rows of the old computer, diacritics and all.
    const Municipality town = LoadMunicipality();
    EXPECT_EQ(town.primaria, "ŞIRIA");
    EXPECT_EQ(town.primar, "Ştefan Bălăşoiu");
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"12.2025", "11.2025"}));
    EXPECT_EQ(
        rows(QStringLiteral("SELECT SUBSEMN, LOCALIT, ADRESA, FURNG FROM %1 WHERE LUNACRT=%2 ORDER BY NRCRT")
                 .arg(cereri())
                 .arg(kDec)),
        (Rows{"ŞTEFĂNESCU ANDREEA|ŞIRIA|STR. MĂRĂŞEŞTI NR. 7|~", "ŢURCANU ION|ŞIRIA|STR. ŢARINII NR. 12|ENGIE ROMÂNIA",
              "DRĂGHICI ŞERBAN|ŞIRIA|BL. A2 SC. B AP. 14|~"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT ACTIUNE FROM %1 WHERE IDLOG=4").arg(Quoted(TablePath("Log.dbf")))),
              (Rows{"Adaugare Cerere 4 PĂUN VIORICA"}));
    // The row the clerk deleted on the old computer is gone; its key is never given again
    // (the counter the old computer left, 9, is kept).
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM %1").arg(cereri())), (Rows{"7"}));
    EXPECT_EQ(PeekKeyText("NRCRT"), "9");
    EXPECT_EQ(PeekKeyText("NROM"), "15");

    // The session as the program runs it, the month's road inside it, and the closing with
    // the day's copy.
    gui::MainWindow main(ui);
    gui::WirePeriods(main, ui);
    const QString saves = dir.qpath() + "/Salvari";
    auto road = [&] {
        EXPECT_EQ(main.month(), "12.2025");
        EXPECT_EQ(SettingsReady(LoadMunicipality(), WorkingMonth()), "");

        // January, and the applications that go on from December, with one month fewer.
        gui::PeriodWindow period(ui);
        addMonth(period, 0, "2026");
        ASSERT_EQ(main.month(), "01.2026") << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(readFile((DataFolder() + "/LUNI.LST").toStdString()), "01.2026\r\n12.2025\r\n11.2025\r\n");
        gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
        auto *editor = list.findChild<gui::ApplicationEditorWindow *>();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(list.openMonth(kJan));
        gui::ChooseMonthAnswer() = [](const QString &, QString &month) {
            month = QStringLiteral("12.2025");
            return true;
        };
        QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 3") << ui.lastMessage().toStdString();
        EXPECT_EQ(
            rows(QStringLiteral("SELECT SUBSEMN, NR_LUNI, FURNG, CODCLG FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                     .arg(cereri())
                     .arg(kJan)),
            (Rows{"ŞTEFĂNESCU ANDREEA|3|~|~", "ŢURCANU ION|3|ENGIE ROMÂNIA|G2002", "DRĂGHICI ŞERBAN|3|~|~"}));
        EXPECT_EQ(rows(QStringLiteral("SELECT A.TITULAR FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                      "WHERE B.LUNACRT=%3 ORDER BY A.NROM")
                           .arg(oameni(), cereri())
                           .arg(kJan)),
                  (Rows{"ŞTEFĂNESCU ANDREEA", "ŞTEFĂNESCU CĂTĂLIN", "ŞTEFĂNESCU ILINCA", "ŢURCANU ION",
                        "DRĂGHICI ŞERBAN", "DRĂGHICI ÎNGRID"}));

        // "Cauta Solicitant" typed on a Linux keyboard (comma-below letters) finds the names
        // the old tables hold with the cedilla.
        typeText(list.searchField(), "ȘTEF");
        EXPECT_EQ(list.grid()->model()->rowCount(), 1);
        list.searchField()->clear();
        typeText(list.searchField(), "ț");
        EXPECT_EQ(list.grid()->model()->rowCount(), 1);
        list.searchField()->clear();
        EXPECT_EQ(list.grid()->model()->rowCount(), 3);

        // The VMG register's archive, with the upper-case table names of a Windows register,
        // through the period window's menu.
        const std::filesystem::path vmg = dir / "Siria.416";
        // clang-format off
        const QJsonArray vmgFiles{QJsonArray{31, 310, "2025-12-15", "MOŢOC ANIŞOARA", "2600617020134", "Mureşului", "9",
                                             "", "", "", "", "ŞIRIA", 2, 300.0, 250.0, QJsonValue::Null, "V", "", "",
                                             "APROBATA"}};
        const QJsonArray vmgMembers{QJsonArray{31, 1, "MOŢOC ANIŞOARA", "2600617020134", 300.0, 250.0, 0.0, 1, ""},
                                    QJsonArray{31, 2, "MOŢOC ŞTEFAN", "5100101020015", 0.0, 0.0, 0.0, 3, ""}};
        // clang-format on
        ASSERT_TRUE(WriteRegisterArchive(vmg, {{"CERERI.DBF", kVmgFiles, vmgFiles},
                                               {"ANCHETE.DBF", kVmgInquiries, QJsonArray{QJsonArray{31, 2, 0}}},
                                               {"OAMENI.DBF", kVmgMembers, vmgMembers}}));
        ui.fileAnswers.push_back(QString::fromStdString(vmg.string()));
        period.importMenu()->findChild<QAction *>("ImportVmgItem")->trigger();
        EXPECT_EQ(ui.lastMessage(), "\rCererile au fost importate cu succes!");
        EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN, LOCALIT, ADRESA FROM %1 WHERE LUNACRT=1").arg(cereri())),
                  (Rows{"MOŢOC ANIŞOARA|ŞIRIA|STR.MUREŞULUI NR.9"}));

        // Three applications typed; the look-up of each CNP finds the person among the old
        // months (November, not continued in December) or among the imported rows. The
        // clerk's keyboard writes the comma-below letters.
        struct Typed {
            QString cnp, number;
            int members;
            QString holder{}, reason{}; // empty unless given
        };
        auto typeFound = [&](const Typed &t) {
            whenShown([&, t] {
                EXPECT_EQ(static_cast<QLineEdit *>(editor->field("Nr_Cere"))->text(), t.number);
                // The reasons of rejection the old computer kept.
                EXPECT_TRUE(editor->editor().reasons().contains("nu locuieşte la adresă"))
                    << editor->editor().reasons().join(" | ").toStdString();
                QTest::keyClicks(editor->field("CNPSol"), t.cnp);
                EXPECT_EQ(editor->editor().members().size(), std::size_t(t.members));
                static_cast<QLineEdit *>(editor->field("Nr_Cere"))->setText(t.number);
                // The registers bring no contract holder: the clerk types it.
                if (!t.holder.isEmpty()) {
                    auto *combo = qobject_cast<QComboBox *>(editor->field("TitT"));
                    typeText(combo ? combo->lineEdit() : editor->field("TitT"), t.holder);
                }
                auto *fromMembers = static_cast<QCheckBox *>(editor->field("Actualizare"));
                if (!fromMembers->isChecked())
                    fromMembers->click();
                typeText(qobject_cast<QComboBox *>(editor->field("Furnizor"))->lineEdit(), "TERMOSIS ȘIRIA");
                static_cast<QLineEdit *>(editor->field("NrCam"))->setText("2");
                qobject_cast<gui::DateField *>(editor->field("DataCereD"))->setDate(QDate(2026, 1, 12));
                if (!t.reason.isEmpty()) {
                    qobject_cast<QComboBox *>(editor->field("StatutD"))->setCurrentText("RESPINS");
                    auto *motiv = qobject_cast<QComboBox *>(editor->field("MotivC"));
                    motiv->setCurrentIndex(-1);
                    typeText(motiv->lineEdit(), t.reason);
                }
                editor->button("Save")->click();
                if (editor->isVisible())
                    editor->reject();
            });
            QTest::mouseClick(list.button("AddApplication"), Qt::LeftButton);
        };
        typeFound({"2650614020057", "7", 2});
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 4") << ui.hints.join(" | ").toStdString();
        EXPECT_TRUE(ui.hints.contains("A mai depus cererea nr.4 / 06.11.2025.")) << ui.hints.join(" | ").toStdString();
        typeFound({"2600617020134", "8", 2, "MOȚOC ANIȘOARA"});
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 5") << ui.hints.join(" | ").toStdString();
        EXPECT_TRUE(ui.hints.contains("Beneficiar VMG cererea nr.310 / 15.12.2025."))
            << ui.hints.join(" | ").toStdString();
        // Rejected again, with a reason nobody wrote before.
        typeFound({"1591111020048", "9", 2, {}, "nu mai locuiește în comună"});
        ASSERT_EQ(list.countLabel()->text(), "Total cereri: 6") << ui.hints.join(" | ").toStdString();
        EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN, STATUT, MOTIVR FROM %1 WHERE LUNACRT=%2 AND NR_CERE=9")
                           .arg(cereri())
                           .arg(kJan)),
                  (Rows{"COSTĂCHESCU DUMITRU|RESPINS|nu mai locuieşte în comună"}));
        // The list of reasons stays the old computer's file, in its code page.
        EXPECT_EQ(QDir(ProgramFolder()).entryList({"*.lst", "*.LST"}, QDir::Files), QStringList{"MOTIVE.LST"});
        EXPECT_EQ(readFile((ProgramFolder() + "/MOTIVE.LST").toStdString()), "venitul dep\xe3\xba"
                                                                             "e\xba"
                                                                             "te limita legal\xe3\r\n"
                                                                             "nu locuie\xba"
                                                                             "te la adres\xe3\r\n"
                                                                             "nu mai locuie\xba"
                                                                             "te \xeen comun\xe3\r\n");
        EXPECT_EQ(
            rows(QStringLiteral("SELECT SUBSEMN, LOCALIT, ADRESA, LUNADEC, NR_LUNI, NR_MEMBRI, TVENIT, "
                                "FURNT, TARIF, STATUT "
                                "FROM %1 WHERE LUNACRT=%2 AND NR_CERE IN (7, 8) ORDER BY NR_CERE")
                     .arg(cereri())
                     .arg(kJan)),
            (Rows{QStringLiteral("PĂUN VIORICA|GALŞA|STR. PRINCIPALĂ NR. 101|%1|3|2|1300|TERMOSIS ŞIRIA|350|APROBAT")
                      .arg(kJan)
                      .toStdString(),
                  QStringLiteral("MOŢOC ANIŞOARA|ŞIRIA|STR.MUREŞULUI NR.9|%1|3|2|550|TERMOSIS ŞIRIA|350|APROBAT")
                      .arg(kJan)
                      .toStdString()}));
        EXPECT_EQ(rows(QStringLiteral("SELECT A.TITULAR FROM %1 A INNER JOIN %2 B ON A.NRCRT=B.NRCRT "
                                      "WHERE B.LUNACRT=%3 AND B.NR_CERE IN (7, 8) ORDER BY A.NROM")
                           .arg(oameni(), cereri())
                           .arg(kJan)),
                  (Rows{"PĂUN VIORICA", "PĂUN ŞERBAN", "MOŢOC ANIŞOARA", "MOŢOC ŞTEFAN"}));

        // A row copied from the old tables, with their blank numeric fields, modified
        // through Enter in the grid: the new address stored, the blanks written as 0, the
        // amounts as the old computer computed them.
        const QString draghici =
            QStringLiteral("SELECT %1 FROM ") + cereri() + QStringLiteral(" WHERE LUNACRT=%1 AND NR_CERE=5").arg(kJan);
        list.selectKey(QuerySql(draghici.arg("NRCRT")).value(0, 0).toInt());
        whenShown([&] {
            auto *address = static_cast<QLineEdit *>(editor->field("Adresa"));
            address->clear();
            typeText(address, "BL. A2 SC. B AP. 15 (fostă 14)");
            editor->button("Save")->click();
            if (editor->isVisible())
                editor->reject();
        });
        QTest::keyClick(list.grid(), Qt::Key_Return);
        EXPECT_EQ(rows(draghici.arg("ADRESA, ASOC, SUMAL, SUMAE, SUMAT, COPII14, COPII18, NR_MEMBRI, TVENIT, "
                                    "CUANTUM, TARIF, VALMAX, TOTAL, NR_LUNI, LUNADEC, DATACERE")),
                  (Rows{QStringLiteral("BL. A2 SC. B AP. 15 (FOSTĂ 14)|ASOCIAŢIA BLOC A2|0|0|10|0|0|2|2000|40|350|"
                                       "183.4|550.2|3|%1|02.12.2025")
                            .arg(kDec)
                            .toStdString()}))
            << ui.hints.join(" | ").toStdString();

        // The dispositions of the month numbered from 101, then the grant dispositions.
        // "Aprobate" offers one number for all; this office numbers them one by one.
        numberDispositions(list, 1, "1", "20", "101", QDate(2026, 1, 20),
                           [](gui::NumberingDialog &nd) { gui::FindButton(nd, "SameNumber")->setChecked(false); });
        EXPECT_EQ(rows(QStringLiteral("SELECT NR_CERE, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                           .arg(cereri())
                           .arg(kJan)),
                  (Rows{"1|101|20.01.2026", "2|102|20.01.2026", "5|103|20.01.2026", "7|104|20.01.2026",
                        "8|105|20.01.2026", "9|~|~"}));
        // The rejected one on its own number.
        numberDispositions(list, 3, "1", "20", "150", QDate(2026, 1, 21));
        EXPECT_EQ(rows(QStringLiteral("SELECT NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND NR_CERE=9")
                           .arg(cereri())
                           .arg(kJan)),
                  (Rows{"150|21.01.2026"}));
        const QString grant =
            text(printDispositions(ui, list, gui::ApplicationsListWindow::Command::GrantDispositions, "101", "105"));
        for (const char *expected : {"PĂUN VIORICA (model local)", "ŞTEFĂNESCU ANDREEA (model local)", "MOŢOC ANIŞOARA",
                                     "STR. PRINCIPALĂ NR. 101", "GALŞA", "PRIMARUL COMUNEI  ŞIRIA, ŞTEFAN BĂLĂŞOIU"})
            EXPECT_TRUE(grant.contains(QString::fromUtf8(expected))) << expected;
        EXPECT_FALSE(grant.contains("COSTĂCHESCU"));
        const QString rejection = text(
            printDispositions(ui, list, gui::ApplicationsListWindow::Command::RejectionDispositions, "150", "150"));
        EXPECT_TRUE(rejection.contains("COSTĂCHESCU DUMITRU")) << rejection.toStdString();
        EXPECT_TRUE(rejection.contains("nu mai locuieşte în comună")) << rejection.toStdString();

        // The payment statement, from the office's own STAT.XLS (written by xlwt), read back
        // by xlrd: its texts kept, the markers filled.
        ui.opened.clear();
        whenShown([] {
            auto *w = dynamic_cast<gui::PaymentStatementDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            QTest::mouseClick(w->chooseButton(), Qt::LeftButton);
        });
        list.trigger(gui::ApplicationsListWindow::Command::PaymentStatement);
        ASSERT_EQ(ui.opened.size(), 1) << ui.lastMessage().toStdString();
        const QString statement = text(ui.opened[0]);
        for (const char *expected :
             {"ROMÂNIA - JUDEŢUL ARAD", "Primaria   3519925 - ŞIRIA", "SITUAŢIE PLĂŢI - TOTI", "Semnătura",
              "PĂUN VIORICA\t2650614020057\tSTR. PRINCIPALĂ NR. 101", "ŞTEFĂNESCU ANDREEA", "ŢURCANU ION",
              "DRĂGHICI ŞERBAN", "MOŢOC ANIŞOARA", "DIRECTOR,", "Ion Dârjan"})
            EXPECT_TRUE(statement.contains(QString::fromUtf8(expected))) << expected << "\n" << statement.toStdString();
        EXPECT_FALSE(statement.contains("COSTĂCHESCU"));

        // The AJPIS set of January.
        const QString out = dir.qpath() + "/rapoarte";
        QDir().mkpath(out);
        gui::AjpisPeriodDialog ajpis(ui);
        ui.folderAnswers.push_back(out);
        whenShown([&] {
            ajpis.from()->setDate(QDate(2026, 1, 1));
            ajpis.to()->setDate(QDate(2026, 1, 31));
            QTest::mouseClick(ajpis.chooseButton(), Qt::LeftButton);
        });
        gui::RunAjpisReport(ui, ajpis);
        ASSERT_TRUE(QFileInfo::exists(out + "/TERMICA_AJPIS/Anexa1_21.xls")) << ui.lastMessage().toStdString();
        EXPECT_TRUE(text(out + "/TERMICA_AJPIS/Anexa1_21.xls").contains("PĂUN VIORICA"));
    };
    shell::RunSession(ui, shell::SessionSteps::defaults(), [&] {
        main.setMonth(WorkingMonth());
        road();
        closeWithSave(saves);
        return shell::DecideSave(ui, shell::CurrentCloseState(true));
    });
    ASSERT_FALSE(HasFatalFailure());

    // The save at closing, read by the independent reader; its tables and the folder's are
    // still dBase III in code page 1250 for python3-dbf and dbfread.
    const QStringList saved = QDir(saves).entryList({"*.T21"}, QDir::Files);
    ASSERT_EQ(saved.size(), 1) << ui.lastMessage().toStdString();
    const QString back = dir.qpath() + "/inapoi";
    const QString members = QString::fromStdString(oldOffice({"unpack", saves + "/" + saved[0], back}));
    for (const char *name :
         {"CERERI.DBF ", "OAMENI.DBF ", "LOG.DBF ", "FOCARIS.SET ", "LUNI.LST ", "STABILIRE.RTF ", "Notă şefă.txt "})
        EXPECT_TRUE(members.contains(name)) << name << " in " << members.toStdString();
    // The archive carries no index: the old computer's CERERI.MDX stays out and the
    // table's index flag is cleared in the copy.
    EXPECT_FALSE(members.contains("CERERI.MDX")) << members.toStdString();
    EXPECT_EQ(readFile((back + "/CERERI.DBF").toStdString()).at(28), '\0');
    EXPECT_EQ(twiceWithoutCase(DataFolder()), QStringList());
    for (const QString &folder : {DataFolder(), back}) {
        const QJsonObject apps = independentRows(folder + "/CERERI.DBF");
        EXPECT_EQ(apps["ldid"].toInt(), 0xC8);
        EXPECT_EQ(apps["codepage"].toString(), "cp1250");
        EXPECT_EQ(apps["dbfRows"].toInt(), 14);
        const QStringList names = column(apps, "SUBSEMN");
        EXPECT_EQ(names.count("ŞTEFĂNESCU ANDREEA"), 3);
        EXPECT_EQ(names.count("PĂUN VIORICA"), 2);
        EXPECT_EQ(names.count("MOŢOC ANIŞOARA"), 2);
        // Numbers, dates, blanks and texts as the program wrote them into January.
        EXPECT_EQ(independentSelect(apps,
                                    {"NR_CERE", "SUBSEMN", "NR_LUNI", "VALMAX", "TOTAL", "NR_DISP", "DATADISP", "FURNT",
                                     "SUMAL", "TITT"},
                                    "LUNACRT", QString::number(kJan)),
                  (QStringList{"1|ŞTEFĂNESCU ANDREEA|3|0|0|101|20.01.2026||20|ŞTEFĂNESCU ANDREEA",
                               "2|ŢURCANU ION|3|0|0|102|20.01.2026||0|ŢURCANU ION",
                               "5|DRĂGHICI ŞERBAN|3|183.4|550.2|103|20.01.2026|TERMOSIS ŞIRIA|0|DRĂGHICI ŞERBAN",
                               "7|PĂUN VIORICA|3|275.1|825.3|104|20.01.2026|TERMOSIS ŞIRIA|0|PĂUN VIORICA",
                               "8|MOŢOC ANIŞOARA|3|412.65|1237.95|105|20.01.2026|TERMOSIS ŞIRIA|0|MOŢOC ANIŞOARA",
                               "9|COSTĂCHESCU DUMITRU|3|0|0|150|21.01.2026|TERMOSIS ŞIRIA|0|COSTĂCHESCU DUMITRU"}));
        EXPECT_TRUE(column(independentRows(folder + "/OAMENI.DBF"), "TITULAR").contains("MOŢOC ŞTEFAN"));
        EXPECT_TRUE(column(independentRows(folder + "/LOG.DBF"), "ACTIUNE")
                        .filter(QRegularExpression("^Modificare Cerere 5 .*DRĂGHICI ŞERBAN"))
                        .size() == 1)
            << column(independentRows(folder + "/LOG.DBF"), "ACTIUNE").join(" | ").toStdString();
        EXPECT_TRUE(
            column(independentRows(folder + "/LOG.DBF"), "ACTIUNE").contains("Adaugare Cerere 7 - PĂUN VIORICA"))
            << column(independentRows(folder + "/LOG.DBF"), "ACTIUNE").join(" | ").toStdString();
        // The settings file as Windows reads it: Windows-1250, CR LF.
        const std::string set = readFile((folder + "/FOCARIS.SET").toStdString());
        EXPECT_NE(set.find("PRIMARIA=\xaaIRIA\r\n"), std::string::npos);
        EXPECT_NE(set.find("LUNA_LUCRU=01.2026\r\n"), std::string::npos);
        EXPECT_EQ(QByteArray::fromStdString(set).count('\n'), QByteArray::fromStdString(set).count("\r\n"));
    }
    // Another dBase writer can go on writing the tables the program wrote (an office that
    // takes its data back to the old computer).
    EXPECT_EQ(oldOffice({"append", back + "/CERERI.DBF", "ŢĂRANU VASILE"}), "15\n");
    for (const auto &m : ui.messages)
        EXPECT_NE(m.kind, MessageKind::Error) << m.text.toStdString();
}

// The archive the old computer saved, in the oldest layout of the applications table,
// opened from the command line: the upgrade runs inside the opened save, the work goes on
// there, and the save at closing writes back into that archive.
TEST_F(OldOffice, AnOldArchiveOpenedFromTheCommandLine)
{
    const QString oldPc = dir.qpath() + "/oldpc";
    writeOldFolder("old", oldPc + "/Data", oldPc);
    const QString archive = dir.qpath() + "/SIRIA.T21";
    oldOffice({"archive", oldPc + "/Data", archive});
    const shell::StartupResult started = start({archive});
    ASSERT_EQ(started.workMode, "Lucru in salvarea: SIRIA.T21.");
    ASSERT_NE(DataFolder(), program + "/Data");
    EXPECT_EQ(QDir(program + "/Data").entryList({"*.dbf", "*.DBF"}, QDir::Files), QStringList());
    EXPECT_EQ(twiceWithoutCase(DataFolder()), QStringList());
    // A member name in Windows-1250 becomes the same name on this system.
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/Notă şefă.txt"))
        << QDir(DataFolder()).entryList().join(" ").toStdString();

    // The upgrade: the contract holder moved from TITULAR to TITT (the name where it was
    // blank), the tariff and the monthly aid added as 0.
    EXPECT_EQ(
        rows(QStringLiteral("SELECT NRCRT, TITT, CNPT, TARIF, VALMAX, TOTAL FROM %1 WHERE LUNACRT=%2 ORDER BY NRCRT")
                 .arg(cereri())
                 .arg(kDec)),
        (Rows{"5|ŞTEFĂNESCU ANDREEA|2800305020012|0|0|0", "6|ŢURCANU ION|1700712020024|0|0|0",
              "7|DRĂGHICI ŞERBAN|1810410020091|0|0|0"}));
    const QJsonObject upgraded = independentRows(DataFolder() + "/CERERI.DBF");
    EXPECT_EQ(upgraded["codepage"].toString(), "cp1250");
    EXPECT_TRUE(upgraded["fields"].toArray().contains(QJsonValue("TITT")));
    EXPECT_FALSE(upgraded["fields"].toArray().contains(QJsonValue("TITULAR")));
    EXPECT_EQ(column(upgraded, "TITT").mid(0, 2), (QStringList{"ŞTEFĂNESCU ANDREEA", "ŢURCANU ION"}));

    // January with the continuing applications, on the upgraded table; at closing the
    // work is saved back into the opened archive, which the independent reader still reads.
    gui::MainWindow main(ui);
    gui::WirePeriods(main, ui);
    gui::PeriodWindow period(ui);
    const QString saves = dir.qpath() + "/Salvari";
    shell::RunSession(ui, shell::SessionSteps::defaults(), [&] {
        [&] {
            main.setMonth(WorkingMonth());
            EXPECT_EQ(main.month(), "12.2025");
            addMonth(period, 0, "2026");
            ASSERT_EQ(main.month(), "01.2026") << ui.hints.join(" | ").toStdString();
            gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
            ASSERT_TRUE(list.openMonth(kJan));
            gui::ChooseMonthAnswer() = [](const QString &, QString &month) {
                month = QStringLiteral("12.2025");
                return true;
            };
            QTest::mouseClick(list.button("CopyFromMonth"), Qt::LeftButton);
            ASSERT_EQ(list.countLabel()->text(), "Total cereri: 3") << ui.lastMessage().toStdString();
        }();
        closeWithSave(saves);
        return shell::DecideSave(ui, shell::CurrentCloseState(true));
    });
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(QDir(saves).entryList({"*.T21"}, QDir::Files), QStringList());
    QDir::setCurrent(startFolder); // the unpacked folder, current until now, went with the closing
    const QString back = dir.qpath() + "/inapoi";
    const QString members = QString::fromStdString(oldOffice({"unpack", archive, back}));
    EXPECT_TRUE(members.contains("CERERI.DBF ")) << members.toStdString();
    EXPECT_FALSE(members.contains("CERERI.MDX")) << members.toStdString();
    const QJsonObject saved = independentRows(back + "/CERERI.DBF");
    EXPECT_EQ(saved["dbfRows"].toInt(), 10);
    // The table the upgrade restructured takes rows from another dBase writer.
    EXPECT_EQ(oldOffice({"append", back + "/CERERI.DBF", "ŢĂRANU VASILE"}), "11\n");
    EXPECT_EQ(column(saved, "SUBSEMN").count("DRĂGHICI ŞERBAN"), 2);
    EXPECT_EQ(readFile((back + "/LUNI.LST").toStdString()), "01.2026\r\n12.2025\r\n11.2025\r\n");
    for (const auto &m : ui.messages)
        EXPECT_NE(m.kind, MessageKind::Error) << m.text.toStdString();
}

// The same archive restored over a new installation: the next start works on the old
// computer's files.
TEST_F(OldOffice, AnOldArchiveRestoredOverANewInstallation)
{
    ASSERT_EQ(start().workMode, "Lucru local.");
    const QString oldPc = dir.qpath() + "/oldpc";
    writeOldFolder("current", oldPc + "/Data", oldPc);
    const QString archive = dir.qpath() + "/SIRIA.T21";
    oldOffice({"archive", oldPc + "/Data", archive});
    ASSERT_TRUE(RestoreArchive(ui, archive)) << ui.lastMessage().toStdString();
    EXPECT_TRUE(ui.lastMessage().startsWith("Restaurare incheiata cu succes !")) << ui.lastMessage().toStdString();

    ASSERT_EQ(start().workMode, "Lucru local.");
    EXPECT_EQ(twiceWithoutCase(DataFolder()), QStringList());
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/CERERI.DBF"));
    EXPECT_EQ(LoadMunicipality().primaria, "ŞIRIA");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "12.2025");
    EXPECT_EQ(rows(QStringLiteral("SELECT SUBSEMN FROM %1 WHERE LUNACRT=%2 ORDER BY NRCRT").arg(cereri()).arg(kNov)),
              (Rows{"ŞTEFĂNESCU ANDREEA", "ŢURCANU ION", "COSTĂCHESCU DUMITRU", "PĂUN VIORICA"}));
    EXPECT_EQ(PeekKeyText("NRCRT"), "9");
}

// The old computer's folder left on the office's network share, which the new computer
// names as its data folder (the machine setting SERVER).
TEST_F(OldOffice, TheOldFolderOnTheNetworkShare)
{
    const QString share = dir.qpath() + "/share/FocarisDate";
    writeOldFolder("current", share, dir.qpath() + "/share");
    WriteMachineSetting("SERVER", share);
    ASSERT_EQ(start().workMode, "Lucru in retea: " + share) << ui.lastMessage().toStdString();
    EXPECT_EQ(DataFolder(), share);
    EXPECT_EQ(twiceWithoutCase(share), QStringList());
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"12.2025", "11.2025"}));
    gui::MainWindow main(ui);
    main.setMonth(ReadSetting("VARIABILE", "LUNA_LUCRU"));
    gui::ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    ASSERT_TRUE(list.openMonth(kDec));
    EXPECT_EQ(list.countLabel()->text(), "Total cereri: 3");
    typeText(list.searchField(), "DRĂ");
    ASSERT_EQ(list.grid()->model()->rowCount(), 1);
    QStringList shown;
    for (int c = 0; c < list.grid()->model()->columnCount(); ++c)
        shown << list.grid()->model()->index(0, c).data().toString();
    EXPECT_TRUE(shown.contains("DRĂGHICI ŞERBAN")) << shown.join(" | ").toStdString();
}

} // namespace

// A clerk's morning in the real windows: the list opened on the month, two applications
// added and one modified through the editor's hooks, one deleted, a search, a sort that
// keeps the current application, the copy from the previous month (refused the second
// time), the numbering of rejected ones, the change of months and the recalculation from
// the administration window, checked against the tables and the log.
#include "MonthFixture.h"

#include "core/Keys.h"
#include "core/Settings.h"
#include "gui/admin/AdminWindow.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/ApplicationsWiring.h"
#include "gui/applications/MonthsDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/shell/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::ApplicationsListWindow;

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
        ResetKeys();  // as every start of the program does
        gui::AlegeLunaAnswer() = [](const QString &, QString &month) {
            month = QStringLiteral("01.2024");
            return true;
        };
    }
    void TearDown() override { gui::AlegeLunaAnswer() = {}; }

    // Runs `fill` on the next turn of the event loop, while a window waits in exec().
    static void whenShown(std::function<void()> fill) { QTimer::singleShot(0, std::move(fill)); }
    QString countText(ApplicationsListWindow &l) { return l.countLabel()->text(); }
    QString currentName(ApplicationsListWindow &l)
    {
        return l.model().list().text(l.grid()->currentIndex().row(), 4);
    }
    // What the editor's store does when it adds an application.
    qint64 store(qint64 key, const QString &name, int number)
    {
        add(house(key, w, name, number));
        return key;
    }
};

TEST_F(ListWindow, AClerksMorning)
{
    ApplicationsListWindow list(ui);
    qint64 nextKey = 100;
    list.onAdd = [&] {
        ++nextKey;
        return store(nextKey, nextKey == 101 ? QStringLiteral("BARBU IOANA") : QStringLiteral("IONITA RADU"),
                     static_cast<int>(nextKey - 96));
    };
    std::vector<qint64> modified;
    list.onModify = [&](qint64 key) {
        modified.push_back(key);
        ExecSql(QStringLiteral("UPDATE %1 SET SUBSEMN=\"BARBU IOANA MARIA\" WHERE NRCRT=%2").arg(cereri()).arg(key));
        return true;
    };
    list.haveMonth = [](const QString &) { return true; };
    list.chooseMonth = [&](const QString &caption) {
        QString month;
        return gui::AlegeLuna(ui, caption, month, &list) ? MonthCode(month) : 0;
    };
    ASSERT_TRUE(list.openMonth(w));
    EXPECT_EQ(countText(list), "Total cereri: 3");
    EXPECT_EQ(list.model().headerData(16, Qt::Horizontal).toString(), "Compen- sare(%)");
    EXPECT_TRUE(list.button("&Modifica cerere")->isEnabled());

    // Two applications added: the list comes back on each new one.
    QTest::mouseClick(list.button("&Adauga cerere"), Qt::LeftButton);
    EXPECT_EQ(currentName(list), "BARBU IOANA");
    QTest::mouseClick(list.button("&Adauga cerere"), Qt::LeftButton);
    EXPECT_EQ(currentName(list), "IONITA RADU");
    EXPECT_EQ(countText(list), "Total cereri: 5");

    // Enter in the grid modifies the current application and stays on it.
    list.selectKey(101);
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_EQ(modified, (std::vector<qint64>{101}));
    EXPECT_EQ(currentName(list), "BARBU IOANA MARIA");

    // Delete ZAMFIR DAN (the last row): the list comes back on the one before it.
    list.selectKey(3);
    ui.messageAnswers = {ResNu};
    QTest::mouseClick(list.button("&Sterge cerere"), Qt::LeftButton);
    EXPECT_EQ(ui.messages.back().text, "\rDoriti sa stergem cererea lui ZAMFIR DAN?");
    EXPECT_EQ(count(cereri(), "NRCRT=3"), 1);
    ui.messageAnswers = {ResDa};
    QTest::mouseClick(list.button("&Sterge cerere"), Qt::LeftButton);
    EXPECT_EQ(count(cereri(), "NRCRT=3"), 0);
    EXPECT_EQ(count(oameni(), "NRCRT=3"), 0);
    EXPECT_EQ(currentName(list), "POPA ION");
    EXPECT_EQ(countText(list), "Total cereri: 4");

    // Search, then a sort by "Nr." that keeps IONITA RADU current.
    QTest::keyClicks(list.searchField(), "ion");
    EXPECT_EQ(list.searchField()->text(), "ION");
    EXPECT_EQ(countText(list), "Total cereri: 2");
    list.selectKey(102);
    list.grid()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(list.model().list().sortColumn(), "NR_CERE");
    EXPECT_EQ(list.model().list().text(0, 4), "IONESCU ANA");
    EXPECT_EQ(currentName(list), "IONITA RADU");
    list.grid()->horizontalHeader()->sectionClicked(2);  // "Incepand cu luna": nothing
    EXPECT_EQ(list.model().list().sortColumn(), "NR_CERE");
    list.searchField()->clear();
    EXPECT_EQ(countText(list), "Total cereri: 4");

    // The copy from the previous month, then the same copy refused.
    QTest::mouseClick(list.button("Adau&ga cereri din alta luna"), Qt::LeftButton);
    EXPECT_EQ(countText(list), "Total cereri: 6");
    EXPECT_EQ(count(oameni(), QStringLiteral("NRCRT IN (SELECT NRCRT FROM %1 WHERE LUNACRT=%2)").arg(cereri()).arg(w)), 6);
    ui.messages.clear();
    QTest::mouseClick(list.button("Adau&ga cereri din alta luna"), Qt::LeftButton);
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
    QTest::mouseClick(list.button("&Numeroteaza dispozitiile"), Qt::LeftButton);
    EXPECT_FALSE(nd.isVisible());
    EXPECT_EQ(rows(QStringLiteral("SELECT NRCRT, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 AND NR_DISP<>\"\"").arg(cereri()).arg(w)),
              (Rows{"2|100|20.02.2024"}));

    // Three months for everybody.
    gui::MonthsDialog &md = list.monthsDialog();
    whenShown([&] {
        QTest::keyClicks(md.months(), "3");
        QTest::keyClick(md.months(), Qt::Key_Return);
    });
    QTest::mouseClick(list.button("Modificare N&umar luni"), Qt::LeftButton);
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
    EXPECT_EQ(log, (Rows{"Stergere Cerere 3/01.02.2024 - ZAMFIR DAN", "Adaugare Cereri din luna 01.2024",
                         "Numerotare Dispozitii.", "Modificare Numar luni.", "Recalculare cereri."}));
    EXPECT_FALSE(ui.progressVisible);
}

TEST_F(ListWindow, TheProgramsListAddsAndModifiesThroughTheEditor)
{
    SetWorkingMonth(QStringLiteral("11.2025"));
    WriteSetting("VARIABILE", "LUNA_LUCRU", "11.2025");
    SetKey("NRCRT", 30);
    gui::MainWindow main(ui);
    ApplicationsListWindow &list = gui::ApplicationsList(ui, main);
    ASSERT_TRUE(list.openMonth(MonthCode("11.2025")));
    auto *editor = list.findChild<gui::ApplicationEditorWindow *>();
    ASSERT_NE(editor, nullptr);
    auto text = [&](const char *field, const char *value) {
        if (auto *combo = qobject_cast<QComboBox *>(editor->field(field)))
            QTest::keyClicks(combo->lineEdit(), value);
        else
            static_cast<QLineEdit *>(editor->field(field))->setText(value);
    };
    whenShown([&] {
        QTest::keyClicks(editor->field("CNPSol"), "1800101123450");
        text("SubSemn", "POPESCU ION");
        text("TitT", "POPESCU ION");
        text("CNPT", "1800101123450");
        text("Adresa", "STR. MICA 2");
        text("Localit", "ORAS");
        text("Furnizor", "TERMO SA");
        text("Tarif", "300");
        text("NrMembri", "1");
        text("VenitTotal", "650");
        text("NrCam", "2");
        editor->button("&Memoreaza")->click();
        if (editor->isVisible())
            editor->reject();  // refused: the expectations below say why
    });
    QTest::mouseClick(list.button("&Adauga cerere"), Qt::LeftButton);
    ASSERT_EQ(countText(list), "Total cereri: 1") << ui.hints.join(" | ").toStdString();
    EXPECT_EQ(list.currentKey(), 30);
    EXPECT_EQ(currentName(list), "POPESCU ION");

    whenShown([&] {
        auto *name = static_cast<QLineEdit *>(editor->field("SubSemn"));
        name->clear();
        QTest::keyClicks(name, "POPESCU ION VASILE");
        editor->button("&Memoreaza")->click();
        if (editor->isVisible())
            editor->reject();
    });
    ui.messageAnswers = {ResNu, ResNu};
    QTest::keyClick(list.grid(), Qt::Key_Return);
    EXPECT_EQ(currentName(list), "POPESCU ION VASILE") << ui.hints.join(" | ").toStdString();
    EXPECT_EQ(lastLog(), "Modificare Cerere " + ToQString(QuerySql("SELECT NR_CERE FROM " + cereri()).value(0, 0)) + " - POPESCU ION VASILE");
}

TEST_F(ListWindow, AnEmptyListDisablesTheRowCommandsAndHintsAtTheNumbering)
{
    ApplicationsListWindow list(ui);
    ASSERT_TRUE(list.openMonth(MonthCode("05.2024")));
    EXPECT_EQ(countText(list), "Total cereri: 0");
    for (const char *c : {"&Modifica cerere", "&Sterge cerere", "Listeaza cerere", "Adauga", "Sterge", "Arata"})
        EXPECT_FALSE(list.button(c)->isEnabled()) << c;
    QTest::mouseClick(list.button("&Numeroteaza dispozitiile"), Qt::LeftButton);
    QTest::mouseClick(list.button("Modificare &Data cereri"), Qt::LeftButton);
    EXPECT_EQ(ui.hints, (QStringList{"Nu aveti afisata nici o cerere!", "Nu aveti afisata nici o cerere!"}));
    // Documents and exports wait for their handlers.
    QTest::mouseClick(list.button("Situatie Plati"), Qt::LeftButton);
    EXPECT_EQ(ui.messages.back().title, "Situatie Plati");
    bool exported = false;
    list.setAction("E&xporta tabel", [&] { exported = true; });
    QTest::mouseClick(list.button("E&xporta tabel"), Qt::LeftButton);
    EXPECT_TRUE(exported);
}

TEST_F(ListWindow, AFailedStatementIsReportedAndTheListStaysUsable)
{
    ApplicationsListWindow list(ui);
    ASSERT_TRUE(list.openMonth(w));
    // The members table is gone: the copy fails half-way, says why and claims nothing.
    QFile::remove(TablePath("Oameni.dbf"));
    QTest::mouseClick(list.button("Adau&ga cereri din alta luna"), Qt::LeftButton);
    ASSERT_FALSE(list.chooseMonth);  // no chooser plugged in: not available
    list.chooseMonth = [this](const QString &) { return p; };
    ui.messages.clear();
    QTest::mouseClick(list.button("Adau&ga cereri din alta luna"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Adaugare Cereri");
    EXPECT_EQ(ui.messages[0].kind, MsgError);
    EXPECT_FALSE(ui.progressVisible);
    EXPECT_EQ(countText(list), "Total cereri: 3");
    EXPECT_NE(lastLog(), "Adaugare Cereri din luna 01.2024");
    QTest::keyClicks(list.searchField(), "Z");
    EXPECT_EQ(countText(list), "Total cereri: 1");
}

} // namespace

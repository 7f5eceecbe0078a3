// The administration window: typing rules, the labels that follow the limits, the county
// code, the checks of "Memoreaza si inchide", Escape dropping edits and the password group.
#include "GuiFixture.h"

#include "admin/Password.h"
#include "core/Settings.h"
#include "gui/admin/AdminWindow.h"
#include "shell/Access.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace focaris;
using namespace focaris::test;
using focaris::gui::AdminWindow;

namespace {

class AdminWindowTest : public GuiFixture {
protected:
    void fill(AdminWindow &w)
    {
        w.field("Localit")->setText("SANTANA");
        w.county()->setCurrentIndex(27); // MURES
        w.field("CodFiscal")->setText("4322653");
    }
};

TEST_F(AdminWindowTest, FieldsShowDefaultsAndFollowTypingRules)
{
    AdminWindow w(ui);
    w.loadSettings();
    EXPECT_EQ(w.uat()->currentText(), "U.A.T.");
    EXPECT_EQ(w.county()->currentText(), "ALBA");
    EXPECT_EQ(w.county()->count(), 48);
    EXPECT_EQ(w.field("Lim10")->text(), "1386");
    EXPECT_EQ(w.cap(10)->text(), "1386");
    EXPECT_EQ(w.field("CL4")->text(), "2.37");
    EXPECT_EQ(w.serverLabel()->text(), "-");

    QLineEdit *name = w.field("Localit");
    QTest::keyClicks(name, "Santana de mu");
    name->insert(QString::fromUtf8("reș"));
    EXPECT_EQ(name->text(), QString::fromUtf8("SANTANA DE MUREȘ"));
    EXPECT_EQ(name->maxLength(), 32);
    EXPECT_EQ(w.field("CodFiscal")->maxLength(), 16);

    QLineEdit *lim = w.field("Lim3");
    lim->clear();
    QTest::keyClicks(lim, "4a5x07");
    EXPECT_EQ(lim->text(), "4507");
    EXPECT_EQ(w.cap(3)->text(), "4507");
    QTest::keyClicks(lim, "9");
    EXPECT_EQ(lim->text(), "4507");

    QLineEdit *cl = w.field("CL1");
    cl->clear();
    QTest::keyClicks(cl, "123.456");
    EXPECT_EQ(cl->text(), "12.45");
}

TEST_F(AdminWindowTest, CountyCodeFollowsTheCountyOnlyWhileEmpty)
{
    AdminWindow w(ui);
    w.loadSettings();
    w.field("CodJud")->clear();
    w.county()->setCurrentIndex(41); // BUCURESTI
    EXPECT_EQ(w.field("CodJud")->text(), "42");
    w.county()->setCurrentIndex(0);
    EXPECT_EQ(w.field("CodJud")->text(), "42");
    w.field("CodJud")->setText("AB");
    w.county()->setCurrentIndex(1);
    EXPECT_EQ(w.field("CodJud")->text(), "AB");
}

TEST_F(AdminWindowTest, StoreShowsTheHintAtTheFieldAndKeepsTheWindowOpen)
{
    AdminWindow w(ui);
    w.loadSettings();
    w.show();
    EXPECT_FALSE(w.storeAndClose());
    EXPECT_EQ(ui.hints, QStringList{"Nu ati completat numele UAT!"});
    EXPECT_TRUE(w.isVisible());

    fill(w);
    w.field("CodFiscal")->setText("RO 4322650");
    EXPECT_FALSE(w.storeAndClose());
    EXPECT_EQ(ui.hints.back(), "Cod Fiscal incorect!");
    EXPECT_EQ(w.field("Localit")->text(), "SANTANA");

    fill(w);
    w.field("MayorName")->setText("Ion Pop");
    w.field("Lim1")->setText("250");
    EXPECT_TRUE(w.storeAndClose());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(ReadSetting("SETARI", "PRIMARIA"), "SANTANA");
    EXPECT_EQ(ReadSetting("SETARI", "JUDET"), "MURES");
    EXPECT_EQ(ReadSetting("SETARI", "PRIMAR"), "Ion Pop");
    EXPECT_EQ(ReadSetting("SETARI", "Lim1"), "250");
    EXPECT_EQ(w.cap(1)->text(), "250");
}

// The backup server's address is set in the window and kept in "Local.set", where the
// remote copy looks for it; a malformed one is refused at its field.
TEST_F(AdminWindowTest, BackupServerAddressIsCheckedAndStored)
{
    AdminWindow w(ui);
    w.loadSettings();
    fill(w);
    w.field("ServerCopii")->setText("copii.vulcan.ro:99999");
    EXPECT_FALSE(w.storeAndClose());
    EXPECT_EQ(ui.hints.back(), "Adresa serverului de copii este incorecta!");
    w.field("ServerCopii")->setText(" copii.vulcan.ro:1240 ");
    ASSERT_TRUE(w.storeAndClose());
    EXPECT_EQ(ReadLocalSetting("CONST", "SERVERCOPII"), "copii.vulcan.ro:1240");
    AdminWindow again(ui);
    again.loadSettings();
    EXPECT_EQ(again.field("ServerCopii")->text(), "copii.vulcan.ro:1240");
}

TEST_F(AdminWindowTest, EscapeDropsEditsAndTheNextOpeningShowsStoredValues)
{
    AdminWindow w(ui);
    w.loadSettings();
    fill(w);
    ASSERT_TRUE(w.storeAndClose());
    w.show();
    w.field("Localit")->setText("ALTCEVA");
    w.field("Lim2")->setText("1");
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.field("Localit")->text(), "SANTANA");
    EXPECT_EQ(w.field("Lim2")->text(), "320");
    EXPECT_EQ(w.cap(2)->text(), "320");
}

TEST_F(AdminWindowTest, PasswordGroupStoresAtOnceAndEmptiesTheFields)
{
    AdminWindow w(ui);
    w.field("NewPassword")->setText("abc");
    w.field("RepeatPassword")->setText("abc");
    w.findChild<QPushButton *>("ChangePasswordButton")->click();
    EXPECT_EQ(ReadSetting("INIT", "WIN"), ScramblePassword("abc"));
    EXPECT_TRUE(w.field("NewPassword")->text().isEmpty());
    EXPECT_TRUE(w.field("RepeatPassword")->text().isEmpty());
    EXPECT_EQ(w.field("NewPassword")->echoMode(), QLineEdit::Password);

    // Enter walks from "Parola noua" to "Inca odata" and on to "Memoreaza si inchide".
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.field("NewPassword")->setFocus();
    QTest::keyClick(w.field("NewPassword"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w.field("RepeatPassword"));
    QTest::keyClick(w.field("RepeatPassword"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w.storeButton());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(AdminWindowTest, ReadOnlyAccessCannotStore)
{
    shell::UnlockAdmin(true);
    AdminWindow w(ui);
    w.loadSettings();
    fill(w);
    EXPECT_FALSE(w.storeAndClose());
    EXPECT_EQ(ui.lastMessage(), "Nu aveti dreptul sa modificati datele!");
    EXPECT_TRUE(ReadSetting("SETARI", "PRIMARIA").isEmpty());
}

} // namespace

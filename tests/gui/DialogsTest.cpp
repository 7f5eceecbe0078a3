// The small pieces behind the Ui: field hint, progress window, new-password dialog and the
// single running instance.
#include "GuiFixture.h"

#include "gui/admin/LoginDialog.h"
#include "gui/admin/NewPasswordDialog.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/DatesDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/documents/DispositionRangeDialog.h"
#include "gui/documents/SingleDispositionDialog.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/TreasuryWindow.h"
#include "gui/shell/SingleInstance.h"
#include "gui/shell/StartWindow.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/FieldHint.h"
#include "gui/widgets/FindButton.h"
#include "gui/widgets/ProgressWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <functional>

using namespace focaris;
using namespace focaris::test;

namespace {

class DialogsTest : public GuiFixture {};

TEST_F(DialogsTest, FieldHintShowsBesideTheControlWithoutBlocking)
{
    QWidget form;
    QLineEdit edit(&form);
    form.show();
    gui::FieldHint hint;
    hint.showHint("\rNu ati ales Judetul!", &edit);
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.text(), "Nu ati ales Judetul!");
    EXPECT_TRUE(hint.findChildren<QLabel *>().first()->text() == "Problema !");
    EXPECT_EQ(gui::FieldHint::kDurationMs, 5000);
}

TEST_F(DialogsTest, ProgressWindowDisablesTheActiveWindowUntilHidden)
{
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    gui::ProgressWindow contor;
    contor.setDescription("Deschid baza de date...");
    contor.setMaximum(2);
    contor.progressShow();
    EXPECT_TRUE(contor.isVisible());
    EXPECT_FALSE(window.isEnabled());
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    contor.progressStep();
    contor.progressStep();
    contor.progressStep(); // stays at its maximum
    EXPECT_EQ(contor.bar()->value(), 2);
    EXPECT_EQ(contor.bar()->text(), "100%");
    contor.progressShow(); // shown again: back to 0, the window stays disabled once
    EXPECT_EQ(contor.bar()->value(), 0);
    contor.progressHide();
    EXPECT_FALSE(contor.isVisible());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_NE(window.cursor().shape(), Qt::WaitCursor);
}

TEST_F(DialogsTest, NewPasswordDialogRefusesAnEmptyEntryAndTypesCapitals)
{
    gui::NewPasswordDialog dialog;
    dialog.setUi(&ui);
    QString password;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::keyClicks(dialog.field(), "  ");
        dialog.storeButton()->click(); // refused, stays open
        QTest::keyClicks(dialog.field(), "noua ");
        dialog.storeButton()->click();
    });
    ASSERT_TRUE(dialog.ask(password));
    EXPECT_EQ(ui.hints, QStringList{"Nu ati scris nicio parola!"});
    EXPECT_EQ(password, "NOUA");
    // Opened again: empty field; Escape cancels.
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(dialog.field()->text().isEmpty());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.ask(password));
}

TEST_F(DialogsTest, LoginAcceptsOnVerifyOrEnterAndStartsEmpty)
{
    gui::LoginDialog login;
    QString typed;
    QTimer::singleShot(0, &login, [&] {
        EXPECT_EQ(login.field()->echoMode(), QLineEdit::Password);
        QTest::keyClicks(login.field(), "secret ");
        QTest::keyClick(login.field(), Qt::Key_Return);
    });
    ASSERT_TRUE(login.ask(typed));
    EXPECT_EQ(typed, "secret ");
    QTimer::singleShot(0, &login, [&] {
        EXPECT_TRUE(login.field()->text().isEmpty());
        login.closeButton()->click();
    });
    EXPECT_FALSE(login.ask(typed));
    QTimer::singleShot(0, &login, [&] { QTest::keyClick(&login, Qt::Key_Escape); });
    EXPECT_FALSE(login.ask(typed));
    QTimer::singleShot(0, &login, [&] { login.verifyButton()->click(); });
    ASSERT_TRUE(login.ask(typed));
    EXPECT_EQ(typed, "");
}

TEST_F(DialogsTest, SecondInstanceAsksTheFirstToComeForward)
{
    const QString key = "focaris-test-" + QUuid::createUuid().toString(QUuid::Id128);
    gui::SingleInstance first(key);
    int raised = 0;
    first.onRaise = [&] { ++raised; };
    ASSERT_FALSE(first.otherRunning());
    gui::SingleInstance second(key);
    EXPECT_TRUE(second.otherRunning());
    // The request arrives through a local socket; wait for it (the bound only ends a
    // hung run).
    for (int i = 0; i < 12000 && raised == 0; ++i)
        QTest::qWait(10);
    EXPECT_EQ(raised, 1);
}

TEST_F(DialogsTest, StartWindowVersionHasAtLeastSixCharacters)
{
    EXPECT_EQ(gui::StartWindow::versionLabel("1.0029"), "ver. 1.0029");
    EXPECT_EQ(gui::StartWindow::versionLabel("1.1"), "ver. 1.1000");
    gui::StartWindow start("1.0029");
    EXPECT_EQ(start.status()->text(), "Incarcare date");
    EXPECT_EQ(start.cursor().shape(), Qt::WaitCursor);
}

// Every date field of the program keeps what was typed and refuses a day the calendar
// has not at the field: the window stays open and nothing is done with the date.
TEST_F(DialogsTest, EveryDateFieldRefusesADayTheCalendarHasNot)
{
    auto refused = [this](QDialog &dialog, gui::DateField *field, QPushButton *button,
                          const std::function<void()> &open) {
        ui.hints.clear();
        ui.messages.clear();
        bool stayed = false;
        QString typed;
        QTimer::singleShot(0, [&] {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, "31022026");
            typed = field->text();
            button->click();
            stayed = dialog.isVisible();
            dialog.reject();
        });
        open();
        EXPECT_EQ(typed, "31.02.2026") << dialog.objectName().toStdString();
        EXPECT_FALSE(field->date().isValid());
        EXPECT_TRUE(stayed) << dialog.objectName().toStdString();
        EXPECT_EQ(ui.hints, QStringList{gui::WrongDateText()}) << dialog.objectName().toStdString();
        EXPECT_TRUE(ui.messages.empty()) << dialog.objectName().toStdString();
    };
    gui::DispositionRangeDialog range(ui);
    documents::DispositionRange r;
    refused(range, range.grantDate(), range.listButton(), [&] { range.choose(r); });
    gui::SingleDispositionDialog single(ui);
    documents::SingleDispositionFields f;
    refused(single, single.startDate(), single.listButton(), [&] { single.choose(f); });
    gui::NumberingDialog numbering(ui);
    QPushButton *number = gui::FindButton<QPushButton>(numbering, "Number");
    refused(numbering, numbering.date(), number, [&] { numbering.run(24290); });
    gui::DatesDialog dates(ui);
    QPushButton *put = gui::FindButton<QPushButton>(dates, "PutDate");
    refused(dates, dates.date(), put, [&] { dates.run(24290); });
    gui::AjpisPeriodDialog period(ui);
    reports::ReportPeriod p;
    refused(period, period.to(), period.chooseButton(), [&] { period.ask(p); });
    gui::TreasuryWindow treasury(ui);
    refused(treasury, treasury.dateField(), treasury.createButton(), [&] { treasury.openWindow(); });

    // The application editor's "din data", on its save.
    gui::ApplicationEditorWindow editor(ui);
    auto *date = qobject_cast<gui::DateField *>(editor.field("DataCereD"));
    ASSERT_NE(date, nullptr);
    ui.hints.clear();
    date->setText("31.02.2026");
    editor.button("Save")->click();
    EXPECT_EQ(ui.hints, QStringList{gui::WrongDateText()});
}

} // namespace

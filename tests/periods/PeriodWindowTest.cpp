// The windows of the working months driven as a person uses them: "Perioada in lucru"
// with its dialog "Adaugare Luna", the two choosers, and the main window's label.
#include "GuiFixture.h"
#include "SqlRows.h"

#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/MonthChooser.h"
#include "gui/periods/PaymentMonthChooser.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/PeriodsWiring.h"
#include "gui/widgets/ProgressWindow.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace focaris;
using namespace focaris::test;

namespace {

// Runs `step` as soon as the next modal dialog is running (its own event loop), so that
// the test can type into it like a person would.
void whenModal(std::function<void(QWidget *)> step)
{
    QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
}

class PeriodWindowTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        CreateTables();
        main = std::make_unique<gui::MainWindow>(ui);
        gui::WirePeriods(*main, ui);
        window = std::make_unique<gui::PeriodWindow>(ui);
    }
    void TearDown() override { periods::SetWorkingMonthListener({}); }

    // "&Adauga luna", then in "Adaugare Luna" the month chosen and the year typed; the
    // dialog's "&Adauga" pressed (and "&Renunta" when it stays open).
    void addMonth(int monthIndex, const QString &year)
    {
        whenModal([this, monthIndex, year](QWidget *) {
            gui::AddMonthDialog &d = window->addDialog();
            d.monthList()->setCurrentIndex(monthIndex);
            d.yearField()->selectAll();
            QTest::keyClicks(d.yearField(), year);
            QTest::mouseClick(d.addButton(), Qt::LeftButton);
            if (d.isVisible())
                QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(window->button("AddButton"), Qt::LeftButton);
    }
    QStringList listed() const
    {
        QStringList items;
        for (int i = 0; i < window->list()->count(); ++i)
            items << window->list()->itemText(i);
        return items;
    }

    std::unique_ptr<gui::MainWindow> main;
    std::unique_ptr<gui::PeriodWindow> window;
};

TEST_F(PeriodWindowTest, AddingMonthsRefusingAListedOneAndKeepingTheList)
{
    periods::WriteMonthList({"01.2025"});
    WriteSetting("VARIABILE", "LUNA_LUCRU", "01.2025");
    SetWorkingMonth("01.2025");
    window->load();
    window->show();
    EXPECT_EQ(window->windowTitle(), "Perioada in lucru");
    EXPECT_EQ(window->list()->currentText(), "01.2025");

    addMonth(1, "2025");
    EXPECT_EQ(listed(), (QStringList{"02.2025", "01.2025"}));
    EXPECT_EQ(window->list()->currentText(), "02.2025");
    EXPECT_EQ(main->month(), "02.2025");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "02.2025");
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"01.2025"})); // not written yet

    addMonth(0, "2025");
    EXPECT_EQ(ui.hints.back(), "Luna aleasa exista deja!");
    EXPECT_EQ(listed(), (QStringList{"02.2025", "01.2025"}));

    // A year out of range keeps the dialog open with its hint.
    addMonth(4, QString::number(QDate::currentDate().year() + 2));
    EXPECT_EQ(ui.hints.back(), "Anul este scris gresit!");
    EXPECT_EQ(listed().size(), 2);

    window->list()->setCurrentIndex(1);
    QTest::mouseClick(window->button("SaveButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"02.2025", "01.2025"}));
    EXPECT_EQ(main->month(), "01.2025");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "01.2025");
}

TEST_F(PeriodWindowTest, LeavingWithoutKeepingLeavesTheNewMonthWorkingButUnlisted)
{
    window->load();
    window->show();
    addMonth(2, "2026");
    QTest::mouseClick(window->button("CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(main->month(), "03.2026");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "03.2026");
    EXPECT_TRUE(periods::ReadMonthList().isEmpty());
    window->load();
    EXPECT_EQ(window->list()->count(), 0);
}

// Changes the window's selection while the first question is open, as a person clicking
// in the list behind the question would.
class ReselectingUi : public FakeUi {
public:
    std::function<void()> onFirstQuestion;
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        if (onFirstQuestion) {
            auto f = std::move(onFirstQuestion);
            onFirstQuestion = {};
            f();
        }
        return FakeUi::message(title, text, kind, buttons);
    }
};

TEST_F(PeriodWindowTest, DeletingRemovesTheMonthSelectedWhenTheButtonWasPressed)
{
    ReselectingUi person;
    gui::PeriodWindow w(person);
    periods::WriteMonthList({"02.2025", "01.2025"});
    ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT) VALUES (1,24300)");
    ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT) VALUES (2,24301)");
    w.load();
    w.show();
    w.list()->setCurrentIndex(1); // 01.2025
    person.onFirstQuestion = [&w] { w.list()->setCurrentIndex(0); };
    person.messageAnswers = {MessageResult::Da, MessageResult::Da};
    QTest::mouseClick(w.button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(person.messages[0].text, "Doriti sa sterg luna 01.2025\rcu toate cererile aferente?");
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"02.2025"}));
    EXPECT_EQ(rowsOf(QuerySql("SELECT LUNACRT FROM \"Cereri.dbf\"")), (Rows{"24301"}));

    // The last month: the file goes, the working month empties; then nothing is left.
    person.messageAnswers = {MessageResult::Da, MessageResult::Da};
    QTest::mouseClick(w.button("DeleteButton"), Qt::LeftButton);
    EXPECT_TRUE(periods::ReadMonthList().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(tmp / "prog/Data/Luni.lst"));
    EXPECT_EQ(WorkingMonth(), "");
    EXPECT_EQ(main->month(), "");
    QTest::mouseClick(w.button("DeleteButton"), Qt::LeftButton);
    EXPECT_EQ(person.hints.back(), "Nu mai aveti ce sterge!");
}

TEST_F(PeriodWindowTest, TheImportMenuOffersBothRegistersAndACancelledDialogDoesNothing)
{
    window->load();
    window->show();
    QTest::mouseClick(window->button("ImportButton"), Qt::LeftButton);
    QMenu *menu = window->importMenu();
    EXPECT_TRUE(menu->isVisible());
    QStringList items;
    for (QAction *a : menu->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"Import din VMG", "Import din ASF"}));
    menu->actions()[0]->trigger(); // the file dialog is cancelled (FakeUi's default)
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(rowsOf(QuerySql("SELECT COUNT(*) FROM \"Cereri.dbf\"")), (Rows{"0"}));
}

TEST_F(PeriodWindowTest, TheChoosersReturnTheChosenMonthOrRefuseABlankOne)
{
    gui::MonthChooser chooser(ui);
    QString month;
    // An empty list: "&Am ales luna" gives the hint and the dialog stays; "Renunt" returns false.
    whenModal([&chooser](QWidget *) {
        QTest::mouseClick(chooser.chooseButton(), Qt::LeftButton);
        QTest::mouseClick(chooser.cancelButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(chooser.choose("Sterge cereri din luna", month));
    EXPECT_EQ(ui.hints.back(), "Alegeti mai intai o luna!");

    periods::WriteMonthList({"03.2025", "02.2025", "01.2025"});
    SetWorkingMonth("03.2025");
    whenModal([&chooser](QWidget *) {
        EXPECT_EQ(chooser.windowTitle(), "Adaugare cereri din luna");
        EXPECT_EQ(chooser.list()->currentText(), "02.2025");
        chooser.list()->setCurrentIndex(1);
        QTest::keyClick(chooser.list(), Qt::Key_Return);
    });
    EXPECT_TRUE(chooser.choose("Adaugare cereri din luna", month));
    EXPECT_EQ(month, "01.2025");

    gui::PaymentMonthChooser payment(ui);
    int year = 0;
    whenModal([&payment](QWidget *) {
        payment.list()->setCurrentIndex(2);
        payment.yearField()->setText("2009");
        QTest::mouseClick(payment.chooseButton(), Qt::LeftButton);
        payment.yearField()->setText("2024");
        QTest::mouseClick(payment.chooseButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(payment.choose(true, month, year));
    EXPECT_EQ(ui.hints.back(), "An incorect!");
    EXPECT_EQ(month, "01");
    EXPECT_EQ(year, 2024);
}

TEST_F(PeriodWindowTest, TheMainWindowsPeriodButtonOpensTheWindowOnItsListOnce)
{
    periods::WriteMonthList({"02.2025", "01.2025"});
    SetWorkingMonth("01.2025");
    QStringList seen;
    for (int click = 0; click < 2; ++click) {
        whenModal([&seen](QWidget *w) {
            auto *list = w->findChild<QComboBox *>("Luna");
            seen << w->windowTitle() + ":" + list->currentText();
            QTest::mouseClick(w->findChild<QPushButton *>("CancelButton"), Qt::LeftButton);
        });
        main->trigger(gui::MainWindow::Command::Period);
    }
    EXPECT_EQ(seen, (QStringList{"Perioada in lucru:01.2025", "Perioada in lucru:01.2025"}));
    EXPECT_EQ(main->findChildren<gui::PeriodWindow *>().size(), 1);
}

TEST_F(PeriodWindowTest, AProgressMaximumOfZeroShowsAnEmptyBar)
{
    gui::ProgressWindow contor;
    contor.setDescription("Preluare date...");
    contor.setMaximum(0);
    contor.progressShow();
    EXPECT_EQ(contor.bar()->value(), 0);
    contor.progressHide();
}

} // namespace

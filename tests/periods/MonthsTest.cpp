// The month operations without their windows: the list file, the guard, deleting a month
// with its applications, and the checks of the dialogs and choosers.
#include "GuiFixture.h"
#include "SqlRows.h"

#include "core/DataStore.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "periods/MonthChoosers.h"
#include "periods/MonthList.h"
#include "periods/Periods.h"
#include "periods/WorkingMonth.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;

namespace {

class MonthsTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        CreateTables();
    }
    void TearDown() override { periods::SetWorkingMonthListener({}); }
    static void application(int key, int month)
    {
        ExecSql("INSERT INTO \"Cereri.dbf\" (NRCRT,LUNACRT) VALUES (" + QString::number(key) + "," +
                QString::number(month) + ")");
        ExecSql("INSERT INTO \"Oameni.dbf\" (NROM,NRCRT) VALUES (" + QString::number(key) + "," + QString::number(key) +
                ")");
    }
    static Rows rows(const QString &statement) { return rowsOf(QuerySql(statement)); }
    std::filesystem::path listFile() const { return tmp / "prog/Data/Luni.lst"; }
};

TEST_F(MonthsTest, TheListIsWindows1250WithCrLfFoundWhateverItsCaseAndDeletedWhenEmpty)
{
    periods::WriteMonthList({"02.2025", "01.2025"});
    EXPECT_EQ(readFile(listFile()), "02.2025\r\n01.2025\r\n");
    std::filesystem::rename(listFile(), tmp / "prog/Data/LUNI.LST");
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"02.2025", "01.2025"}));
    periods::WriteMonthList({"03.2025", "02.2025", "01.2025"});
    EXPECT_EQ(readFile(tmp / "prog/Data/LUNI.LST"), "03.2025\r\n02.2025\r\n01.2025\r\n");
    EXPECT_FALSE(std::filesystem::exists(listFile()));
    periods::WriteMonthList({});
    EXPECT_FALSE(std::filesystem::exists(tmp / "prog/Data/LUNI.LST"));
    EXPECT_TRUE(periods::ReadMonthList().isEmpty());
}

TEST_F(MonthsTest, TheGuardStopsWithoutAWorkingMonthAndTheLabelFollowsEveryChange)
{
    QStringList shown;
    periods::SetWorkingMonthListener([&shown](const QString &m) { shown << m; });
    for (const QString &month : {QString(), QString("1.2025")}) {
        periods::ChangeWorkingMonth(month);
        ui.messages.clear();
        EXPECT_FALSE(periods::WorkingMonthChosen(ui, "Recalculare cereri"));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].title, "Recalculare cereri");
        EXPECT_EQ(ui.messages[0].text, "Alegeti mai intai o luna de la butonul Perioada!");
        EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    }
    periods::ChangeWorkingMonth("01.2025");
    ui.messages.clear();
    EXPECT_TRUE(periods::WorkingMonthChosen(ui, "Recalculare cereri"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "01.2025");
    EXPECT_EQ(shown, (QStringList{"", "1.2025", "01.2025"}));
}

TEST_F(MonthsTest, DeletingAMonthRemovesOnlyItsRowsAfterASaveAndTheFirstMonthTakesOver)
{
    periods::WriteMonthList({"03.2025", "02.2025", "01.2025"});
    periods::ChangeWorkingMonth("03.2025");
    application(1, 24300); // 01.2025
    application(2, 24301); // 02.2025
    application(3, 24302); // 03.2025
    application(4, 1);     // an imported household

    // "&Nu" to the second question: nothing happens, nothing is saved.
    periods::PeriodList list = periods::OpenPeriodList();
    EXPECT_EQ(list.selected, 0);
    ui.messageAnswers = {MessageResult::Da, MessageResult::Nu};
    periods::DeleteOutcome out = periods::DeleteListedMonth(ui, list, 1);
    EXPECT_FALSE(out.deleted);
    EXPECT_TRUE(out.savedTo.isEmpty());
    EXPECT_EQ(list.months.size(), 3);

    ui.messages.clear();
    ui.messageAnswers = {MessageResult::Da, MessageResult::Da};
    out = periods::DeleteListedMonth(ui, list, 1);
    ASSERT_TRUE(out.deleted);
    ASSERT_GE(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].title, "Stergere luna");
    EXPECT_EQ(ui.messages[0].text, "Doriti sa sterg luna 02.2025\rcu toate cererile aferente?");
    EXPECT_EQ(ui.messages[1].text, "Daca aveti cereri pe luna aceasta,\rLE STERG DE TOT DE TOT !!!\rStergem totusi ?");
    EXPECT_EQ(ui.messages[0].buttons, MessageButton::Da | MessageButton::Nu);
    EXPECT_TRUE(ui.messages.back().text.contains(out.savedTo));
    EXPECT_TRUE(QFileInfo::exists(out.savedTo));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\" ORDER BY NRCRT"), (Rows{"1", "3", "4"}));
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Oameni.dbf\" ORDER BY NRCRT"), (Rows{"1", "3", "4"}));
    EXPECT_EQ(periods::ReadMonthList(), (QStringList{"03.2025", "01.2025"}));
    EXPECT_EQ(WorkingMonth(), "03.2025");

    // Deleting the last months empties the list, removes the file and the working month.
    ui.messageAnswers = {MessageResult::Da, MessageResult::Da, MessageResult::OK, MessageResult::Da, MessageResult::Da};
    ASSERT_TRUE(periods::DeleteListedMonth(ui, list, 0).deleted);
    ASSERT_TRUE(periods::DeleteListedMonth(ui, list, 0).deleted);
    EXPECT_FALSE(std::filesystem::exists(listFile()));
    EXPECT_EQ(WorkingMonth(), "");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "");
    EXPECT_EQ(rows("SELECT NRCRT FROM \"Cereri.dbf\""), (Rows{"4"}));
    EXPECT_EQ(periods::DeleteListedMonth(ui, list, 0).refusal->message, "Nu mai aveti ce sterge!");
}

TEST_F(MonthsTest, TheDialogsAndChoosersCheckTheirYears)
{
    QString text;
    EXPECT_FALSE(periods::CheckNewMonth("05", "2027", 2026, text));
    EXPECT_EQ(text, "05.2027");
    EXPECT_FALSE(periods::CheckNewMonth("01", "2006", 2026, text));
    for (const char *year : {"2005", "2028", "", "20a6"}) {
        const auto refusal = periods::CheckNewMonth("05", year, 2026, text);
        ASSERT_TRUE(refusal) << year;
        EXPECT_EQ(refusal->message, "Anul este scris gresit!");
        EXPECT_EQ(refusal->field, "Anul");
    }
    int year = 0;
    EXPECT_FALSE(periods::CheckPaymentYear("2010", 2026, year));
    EXPECT_EQ(year, 2010);
    EXPECT_FALSE(periods::CheckPaymentYear("2026", 2026, year));
    EXPECT_EQ(periods::CheckPaymentYear("2027", 2026, year)->message, "An incorect!");
    EXPECT_TRUE(periods::CheckPaymentYear("2009", 2026, year));
    EXPECT_EQ(periods::CheckChosenMonth(" ")->message, "Alegeti mai intai o luna!");

    periods::WriteMonthList({"03.2025", "02.2025", "01.2025"});
    periods::ChangeWorkingMonth("02.2025");
    EXPECT_EQ(periods::MonthsForChooser(), (QStringList{"03.2025", "01.2025"}));
    QStringList digits;
    for (const auto &m : periods::PaymentMonths())
        digits << m.name + "=" + m.digits;
    EXPECT_EQ(digits, (QStringList{"Noiembrie=11", "Decembrie=12", "Ianuarie=01", "Februarie=02", "Martie=03"}));
}

} // namespace

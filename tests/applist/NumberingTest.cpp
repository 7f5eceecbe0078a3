// The bulk edits of the working month: numbering of dispositions by category and range,
// the application dates, the number of months and the recalculation with the parameters
// in force.
#include "MonthFixture.h"

#include "admin/AidParameters.h"
#include "applications/MonthRecalculation.h"
#include "applications/Numbering.h"
#include "core/Settings.h"

using namespace focaris;
using namespace focaris::test;

namespace {

class BulkEdits : public MonthFolder {
protected:
    // Applications 1..10 of the working month: 3 and 7 rejected, 4 approved with a
    // modification, the rest approved; one application of the previous month numbered 5.
    void SetUp() override
    {
        MonthFolder::SetUp();
        for (int i = 1; i <= 10; ++i) {
            Household h = house(i, w, QStringLiteral("NUME %1").arg(i, 2, 10, QLatin1Char('0')));
            if (i == 3 || i == 7)
                h.status = QStringLiteral("RESPINS");
            if (i == 4)
                h.modified = QStringLiteral("X");
            add(h);
        }
        add(house(20, p, QStringLiteral("ALTA LUNA"), 5));
        ExecSql(QStringLiteral("UPDATE %1 SET NR_DISP=\"7\", DATADISP=\"01.01.2024\"").arg(cereri()));
    }
    Rows dispositions()
    {
        return rows(QStringLiteral("SELECT NR_CERE, NR_DISP, DATADISP FROM %1 WHERE LUNACRT=%2 ORDER BY NR_CERE")
                        .arg(cereri())
                        .arg(w));
    }
    NumberingRequest request(qint64 a, qint64 b, qint64 d, DispositionCategory c)
    {
        NumberingRequest r;
        r.from = a;
        r.to = b;
        r.start = d;
        r.date = QDate(2024, 2, 15);
        r.category = c;
        return r;
    }
};

TEST_F(BulkEdits, RejectedOnesOfARangeGetConsecutiveNumbersAndTheDate)
{
    const Outcome o = NumberDispositions(ui, w, request(1, 10, 100, DispositionCategory::Rejected));
    ASSERT_TRUE(o.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(o.rows, 2);
    const Rows r = dispositions();
    EXPECT_EQ(r[2], "3|100|15.02.2024");
    EXPECT_EQ(r[6], "7|101|15.02.2024");
    EXPECT_EQ(r[0], "1|7|01.01.2024");
    EXPECT_EQ(ui.messages.back().title, "Numerotare dispozitii");
    EXPECT_EQ(ui.messages.back().text, "\rDispozitiile au fost numerotate.");
    EXPECT_FALSE(ui.progressVisible);
    // The other month is not touched.
    EXPECT_EQ(rows(QStringLiteral("SELECT NR_DISP FROM %1 WHERE NRCRT=20").arg(cereri())), (Rows{"7"}));
}

TEST_F(BulkEdits, ApprovedIncludesTheBlankModificationFlagAndCanShareOneNumber)
{
    NumberingRequest r = request(1, 10, 40, DispositionCategory::Approved);
    r.sameNumber = true;
    ASSERT_TRUE(NumberDispositions(ui, w, r).done);
    const Rows d = dispositions();
    for (int i : {1, 2, 5, 6, 8, 9, 10})
        EXPECT_EQ(d[i - 1], std::to_string(i) + "|40|15.02.2024");
    EXPECT_EQ(d[3], "4|7|01.01.2024"); // approved with modification
    EXPECT_EQ(d[2], "3|7|01.01.2024"); // rejected

    ASSERT_TRUE(NumberDispositions(ui, w, request(1, 10, 60, DispositionCategory::ApprovedModified)).done);
    EXPECT_EQ(dispositions()[3], "4|60|15.02.2024");
}

TEST_F(BulkEdits, ClearingTheOthersLeavesOnlyTheRangeNumbered)
{
    NumberingRequest r = request(5, 6, 1, DispositionCategory::All);
    r.clearOthers = true;
    ASSERT_TRUE(NumberDispositions(ui, w, r).done);
    const Rows d = dispositions();
    for (int i = 1; i <= 10; ++i) {
        if (i == 5)
            EXPECT_EQ(d[i - 1], "5|1|15.02.2024");
        else if (i == 6)
            EXPECT_EQ(d[i - 1], "6|2|15.02.2024");
        else
            EXPECT_EQ(d[i - 1], std::to_string(i) + "|~|~");
    }
}

TEST_F(BulkEdits, WrongNumbersAndRangesAreRefusedInOrderWithoutWriting)
{
    struct Case {
        qint64 a, b, d;
        const char *field, *message;
    } cases[] = {{0, 0, 0, "a", "Numar incorect!"},
                 {1, 0, 0, "b", "Numar incorect!"},
                 {1, 2, 0, "d", "Numar incorect!"},
                 {10, 5, 1, "a", "Intervalul ales este incorect!"}};
    for (const Case &c : cases) {
        const Outcome o = NumberDispositions(ui, w, request(c.a, c.b, c.d, DispositionCategory::All));
        EXPECT_EQ(o.field, c.field);
        EXPECT_EQ(o.message, c.message);
    }
    EXPECT_EQ(SetApplicationDates(ui, w, 0, 3, QDate(2024, 3, 1)).field, "a");
    EXPECT_EQ(SetApplicationDates(ui, w, 3, 0, QDate(2024, 3, 1)).field, "b");
    EXPECT_EQ(SetApplicationDates(ui, w, 5, 3, QDate(2024, 3, 1)).message, "Intervalul ales este incorect!");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dispositions()[0], "1|7|01.01.2024");
}

TEST_F(BulkEdits, DatesOfARangeAreSet)
{
    const Outcome o = SetApplicationDates(ui, w, 2, 4, QDate(2024, 3, 1));
    EXPECT_EQ(o.rows, 3);
    EXPECT_EQ(
        rows(QStringLiteral("SELECT NR_CERE FROM %1 WHERE DATACERE=\"01.03.2024\" ORDER BY NR_CERE").arg(cereri())),
        (Rows{"2", "3", "4"}));
    EXPECT_EQ(ui.messages.back().title, "Cereri");
    EXPECT_EQ(ui.messages.back().text, "Cererilor specificate li s-a setat data.");
}

TEST_F(BulkEdits, ChangingTheMonthsRecomputesTotalsWhereThereIsAPercentage)
{
    ExecSql(QStringLiteral("UPDATE %1 SET CUANTUM=1, TOTAL=11 WHERE NRCRT=2").arg(cereri()));
    EXPECT_EQ(ChangeMonths(ui, w, 0).message, "Numar de luni incorect!");
    EXPECT_EQ(ChangeMonths(ui, w, 6).field, "k");
    const Outcome o = ChangeMonths(ui, w, 3);
    EXPECT_EQ(o.rows, 10);
    EXPECT_EQ(rows(QStringLiteral("SELECT NRCRT, NR_LUNI, TOTAL FROM %1 WHERE NRCRT<=2 OR NRCRT=20 ORDER BY NRCRT")
                       .arg(cereri())),
              (Rows{"1|3|300", "2|3|11", "20|5|500"}));
    EXPECT_EQ(ui.messages.back().title, "Modificare Numar luni");
    EXPECT_EQ(ui.messages.back().text, "Recalcularea s-a incheiat cu succes!");
    EXPECT_EQ(lastLog(), "Modificare Numar luni.");
}

TEST_F(BulkEdits, RecalculationAfterLoweringTheCeilingRejectsTheHigherIncomes)
{
    AidParameters params;
    params.lim[10] = Amount(450);
    // Application 1 earns more than the new ceiling per member; application 2 stays under.
    ExecSql(QStringLiteral("UPDATE %1 SET TVENIT=600, SUMAL=5 WHERE NRCRT=1").arg(cereri()));
    ExecSql(QStringLiteral("UPDATE %1 SET TVENIT=150 WHERE NRCRT=2").arg(cereri()));
    const Outcome o = RecalculateMonth(ui, w, params);
    ASSERT_TRUE(o.done) << ui.lastMessage().toStdString();
    EXPECT_EQ(o.rows, 10);
    EXPECT_EQ(rows(QStringLiteral(
                       "SELECT NRCRT, STATUT, MOTIVR, CUANTUM, SUMAL, VENITM FROM %1 WHERE NRCRT<=2 ORDER BY NRCRT")
                       .arg(cereri())),
              (Rows{"1|RESPINS|nu se incadreaza in limita maxima legala a veniturilor pe membru de familie|0|20|500",
                    "2|APROBAT|~|100|0|500"}));
    EXPECT_EQ(lastLog(), "Recalculare cereri.");
    EXPECT_EQ(ui.messages.back().text, "Recalcularea s-a incheiat cu succes!");
}

TEST_F(BulkEdits, RecalculationShowsOneProgressStepPerHundredApplications)
{
    for (int i = 100; i < 340; ++i)
        add(house(i, w, QStringLiteral("X %1").arg(i)));
    ASSERT_TRUE(RecalculateMonth(ui, w, AidParameters()).done);
    EXPECT_EQ(ui.progressSteps, 2); // 250 applications
}

} // namespace

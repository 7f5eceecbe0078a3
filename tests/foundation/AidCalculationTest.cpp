// The aid calculation with the default parameters: bracket bounds, the single person,
// the monthly value and total, the recalculation's status and supplements, the month
// operations and the children count.
#include "applications/AidCalculation.h"

#include <gtest/gtest.h>

using namespace focaris;

namespace {

Amount num(const char *text)
{
    return *Amount::parse(text);
}

int percent(int members, const char *income, bool approved = true, const AidParameters &p = AidParameters{})
{
    return CompensationPercent(members, approved, num(income), p);
}

TEST(CompensationPercent, BracketBoundsAreInclusive)
{
    EXPECT_EQ(percent(2, "640"), 90);    // 320 per member, equal to Lim2
    EXPECT_EQ(percent(2, "640.02"), 80); // 320.01
    EXPECT_EQ(percent(3, "600"), 100);   // exactly Lim1
    EXPECT_EQ(percent(3, "600.03"), 90);
    EXPECT_EQ(percent(4, "5544"), 10); // exactly Lim10
    EXPECT_EQ(percent(2, "0"), 100);
    EXPECT_EQ(percent(2, "640", false), 0);
    EXPECT_EQ(percent(0, "0"), 0);
    EXPECT_EQ(percent(-2, "100"), 0);
}

TEST(CompensationPercent, SinglePersonKeepsARightUpToLim11)
{
    EXPECT_EQ(percent(1, "200"), 100);
    EXPECT_EQ(percent(1, "1386"), 10);    // bracket 10
    EXPECT_EQ(percent(1, "1386.01"), 10); // Cu11
    EXPECT_EQ(percent(1, "1500"), 10);
    EXPECT_EQ(percent(1, "2053"), 10);
    EXPECT_EQ(percent(1, "2053.01"), 0);
    // A family with the same income per member has no right above Lim10.
    EXPECT_EQ(percent(3, "4200"), 0);
    EXPECT_EQ(percent(2, "2772.02"), 0);
    // Cu11 is its own parameter, not the tenth bracket's.
    AidParameters p;
    p.cu[10] = 15;
    EXPECT_EQ(percent(1, "1400", true, p), 15);
    EXPECT_EQ(percent(1, "1386", true, p), 10);
}

TEST(AverageConsumption, OneTwoThreeRoomsAndEverythingElse)
{
    const AidParameters p;
    EXPECT_EQ(AverageConsumption(1, p), num("0.82"));
    EXPECT_EQ(AverageConsumption(3, p), num("1.7"));
    EXPECT_EQ(AverageConsumption(4, p), num("2.37"));
    EXPECT_EQ(AverageConsumption(7, p), num("2.37"));
    EXPECT_EQ(AverageConsumption(0, p), num("2.37"));
    EXPECT_EQ(AverageConsumption(-1, p), num("2.37"));
}

ApplicationInput application(int members, const char *income, int rooms, const char *tariff, int months)
{
    ApplicationInput in;
    in.members = members;
    in.totalIncome = num(income);
    in.rooms = rooms;
    in.tariff = num(tariff);
    in.months = months;
    return in;
}

TEST(CalculeazaCerere, MonthlyValueAndTotal)
{
    const AidParameters p;
    ApplicationAmounts a = CalculeazaCerere(application(2, "640", 2, "300", 5), p);
    EXPECT_EQ(a.venitm, num("320"));
    EXPECT_EQ(a.cuantum, 90);
    EXPECT_EQ(a.valmax, num("353.7"));
    EXPECT_EQ(a.total, num("1768.5"));

    // 70 %, 3 rooms: 412.8 × 0.7 × 1.7 = 491.232; 4 months 1964.928.
    a = CalculeazaCerere(application(1, "500", 3, "412.8", 4), p);
    EXPECT_EQ(a.cuantum, 70);
    EXPECT_EQ(a.valmax, num("491.232"));
    EXPECT_EQ(a.total, num("1964.928"));

    // Income per member to four decimals, halves to even: 100 / 3, 0.0001 / 2 and 0.0003 / 2.
    EXPECT_EQ(CalculeazaCerere(application(3, "100", 1, "0", 1), p).venitm, num("33.3333"));
    EXPECT_EQ(CalculeazaCerere(application(2, "0.0001", 1, "0", 1), p).venitm, num("0"));
    EXPECT_EQ(CalculeazaCerere(application(2, "0.0003", 1, "0", 1), p).venitm, num("0.0002"));
    // The monthly value is rounded once at the end, halves to even.
    AidParameters one;
    one.cl[0] = 1;
    EXPECT_EQ(MonthlyValue(num("0.0005"), 10, 1, one), num("0"));
    EXPECT_EQ(MonthlyValue(num("0.0015"), 10, 1, one), num("0.0002"));
    EXPECT_EQ(MonthlyValue(num("0.0125"), 10, 1, p), num("0.001")); // 0.001025
}

TEST(CalculeazaCerere, WithoutHeatingAidOrApprovalNothingIsGranted)
{
    const AidParameters p;
    ApplicationInput in = application(2, "640", 2, "300", 5);
    in.heatingAid = false;
    ApplicationAmounts a = CalculeazaCerere(in, p);
    EXPECT_EQ(a.venitm, 320);
    EXPECT_EQ(a.cuantum, 0);
    EXPECT_EQ(a.valmax, 0);
    EXPECT_EQ(a.total, 0);
    in.heatingAid = true;
    in.status = kStatusRejected;
    EXPECT_EQ(CalculeazaCerere(in, p).total, 0);
    // No members: no division by zero.
    EXPECT_EQ(CalculeazaCerere(application(0, "640", 2, "300", 5), p).venitm, 0);
}

TEST(Recalculeaza, StatusFollowsThePercentageGreaterThanOne)
{
    AidParameters p;
    ApplicationInput in = application(3, "4200", 2, "300", 5); // family above Lim10
    in.sumaL = 20;
    Recalculation r = Recalculeaza(in, p);
    EXPECT_EQ(r.status, kStatusRejected);
    EXPECT_EQ(r.reason, kIncomeRejectReason);
    EXPECT_EQ(r.sumaL, 20); // a rejection keeps the supplements
    EXPECT_EQ(r.valmax, 0);

    in = application(2, "640", 2, "300", 5);
    in.status = kStatusRejected;
    in.reason = "dosar incomplet";
    r = Recalculeaza(in, p);
    EXPECT_EQ(r.status, kStatusRejected); // a rejected row stays rejected
    EXPECT_EQ(r.reason, kIncomeRejectReason);

    in.status = kStatusApproved;
    r = Recalculeaza(in, p);
    EXPECT_EQ(r.status, kStatusApproved);
    EXPECT_EQ(r.reason, "");
    EXPECT_EQ(r.total, num("1768.5"));

    // A bracket percentage of 1 rejects here (the editor would accept it).
    p.cu[1] = 1;
    r = Recalculeaza(in, p);
    EXPECT_EQ(r.status, kStatusRejected);
    EXPECT_EQ(r.cuantum, 1);
    p.cu[1] = 2;
    EXPECT_EQ(Recalculeaza(in, p).status, kStatusApproved);
}

TEST(Recalculeaza, SupplementsTakeTheCurrentValuesAndElectricityAloneTheHigherOne)
{
    AidParameters p;
    ApplicationInput in = application(2, "640", 2, "300", 5);
    in.sumaE = 30;
    EXPECT_EQ(Recalculeaza(in, p).sumaE, 70); // only supplement: IndE2
    in.sumaL = 20;
    Recalculation r = Recalculeaza(in, p);
    EXPECT_EQ(r.sumaE, 30);
    EXPECT_EQ(r.sumaL, 20);
    EXPECT_EQ(r.sumaG, 0);
    EXPECT_EQ(r.sumaT, 0);
    p.indL = 25;
    p.indG = 12;
    p.indT = 11;
    in.sumaL = 20;
    in.sumaG = 10;
    in.sumaT = 10;
    in.sumaE = 0;
    r = Recalculeaza(in, p);
    EXPECT_EQ(r.sumaL, 25);
    EXPECT_EQ(r.sumaG, 12);
    EXPECT_EQ(r.sumaT, 11);
    EXPECT_EQ(r.sumaE, 0);
}

TEST(MonthOperations, ChangeAndCopy)
{
    EXPECT_EQ(TotalAfterMonthsChange(3, 90, num("353.7"), num("1768.5")), num("1061.1"));
    EXPECT_EQ(TotalAfterMonthsChange(3, 1, num("353.7"), num("1768.5")), num("1768.5"));
    EXPECT_EQ(MonthsAfterCopy(kStatusApproved, 4), 3);
    EXPECT_EQ(MonthsAfterCopy(kStatusApproved, 1), 5);
    EXPECT_EQ(MonthsAfterCopy(kStatusApproved, 0), 5);
    EXPECT_EQ(MonthsAfterCopy(kStatusRejected, 3), 3);
    EXPECT_EQ(MonthsAfterCopy(kStatusCeased, 1), 1);
}

TEST(CountChildren, EighteenAndFourteenYearsBeforeTheApplicationDate)
{
    const QDate d(2024, 10, 15);
    // Born exactly 18 years before: still a child, over 14. Born a day earlier: adult.
    EXPECT_EQ(CountChildren({"5061015000000"}, d).over14, 1);
    EXPECT_EQ(CountChildren({"5061014000000"}, d).over14, 0);
    // Born exactly 14 years before: over 14; a day later: under 14.
    ChildrenCount c = CountChildren({"6101015000000", "6101016000000"}, d);
    EXPECT_EQ(c.over14, 1);
    EXPECT_EQ(c.under14, 1);
    // No date (short CNP) and an impossible date (1 January 1900) are never children.
    c = CountChildren({"123", "5991399000000", ""}, d);
    EXPECT_EQ(c.over14 + c.under14, 0);
    // The day is clamped to the target month: 29.02.2024 minus 14 years is 28.02.2010.
    c = CountChildren({"6100228000000", "6100301000000"}, QDate(2024, 2, 29));
    EXPECT_EQ(c.over14, 1);
    EXPECT_EQ(c.under14, 1);
}

} // namespace

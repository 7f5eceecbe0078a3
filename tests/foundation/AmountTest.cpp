// Fixed-point amounts: reading numbers as the settings files and fields hold them,
// rounding of halves, and the shortest decimal form.
#include "core/Amount.h"
#include "core/Formats.h"

#include <gtest/gtest.h>

using focaris::Amount;

namespace {

Amount units(std::int64_t u)
{
    return Amount::fromUnits(u);
}

TEST(Amount, ParsesTheNumberFormsOfSettingsAndFields)
{
    EXPECT_EQ(Amount::parse("2053"), Amount(2053));
    EXPECT_EQ(Amount::parse(" 0.82 "), units(8200));
    EXPECT_EQ(Amount::parse("-1.0029"), units(-10029));
    EXPECT_EQ(Amount::parse(".5"), units(5000));
    EXPECT_EQ(Amount::parse("5."), Amount(5));
    EXPECT_EQ(Amount::parse("1e3"), Amount(1000));
    EXPECT_EQ(Amount::parse("15E-1"), units(15000));
    for (const char *bad : {"", " ", "-", ".", "1,5", "12a", "1e", "--1", "1.2.3", "e5"})
        EXPECT_EQ(Amount::parse(bad), std::nullopt) << bad;
    EXPECT_EQ(Amount::parse("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(Amount::parseOrZero("abc"), Amount());
}

TEST(Amount, RoundsHalvesToEvenUnlessToldOtherwise)
{
    EXPECT_EQ(Amount::parse("0.00005"), units(0));
    EXPECT_EQ(Amount::parse("0.00015"), units(2));
    EXPECT_EQ(Amount::parse("-0.00015"), units(-2));
    EXPECT_EQ(Amount::parse("0.000051"), units(1));
    EXPECT_EQ(Amount::divide(Amount(1), 3), units(3333));
    EXPECT_EQ(Amount::divide(units(1), 2), units(0));
    EXPECT_EQ(Amount::divide(units(3), 2), units(2));
    EXPECT_EQ(Amount::divide(units(3), 2, Amount::Rounding::HalfUp), units(2));
    EXPECT_EQ(Amount::divide(units(1), 2, Amount::Rounding::HalfUp), units(1));
    EXPECT_EQ(Amount::divide(Amount(5), 0), Amount());
    EXPECT_EQ(Amount::multiply(units(5), units(5000)), units(2));  // 0.00025 → 0.0002
    EXPECT_EQ(Amount::multiply(units(15), units(5000)), units(8)); // 0.00075 → 0.0008
    EXPECT_EQ(units(25000).rounded(0), Amount(2));
    EXPECT_EQ(units(35000).rounded(0), Amount(4));
    EXPECT_EQ(units(12345).rounded(2, Amount::Rounding::Truncate), units(12300));
    // The editor's labels: nearest whole number, halves upwards.
    EXPECT_EQ(units(25000).roundedHalfUp(), 3);
    EXPECT_EQ(units(24999).roundedHalfUp(), 2);
    EXPECT_EQ(units(-25000).roundedHalfUp(), -3);
    EXPECT_EQ(units(-19999).truncated(), -1);
}

TEST(Amount, WritesTheShortestDecimalForm)
{
    EXPECT_EQ(Amount(2053).toString(), "2053");
    EXPECT_EQ(units(8200).toString(), "0.82");
    EXPECT_EQ(units(10029).toString(), "1.0029");
    EXPECT_EQ(units(-5000).toString(), "-0.5");
    EXPECT_EQ(units(-1).toString(), "-0.0001");
    EXPECT_EQ(Amount().toString(), "0");
    EXPECT_EQ(units(INT64_MIN + 1).toString(), "-922337203685477.5807");
    EXPECT_EQ(focaris::FormatNumber(units(19649280)), "1964.928");
}

TEST(Formats, DatesAreDayMonthYearWithDots)
{
    EXPECT_EQ(focaris::FormatDate(QDate(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(focaris::FormatDate(QDate()), "");
    EXPECT_EQ(focaris::ParseDate("29.02.2024"), QDate(2024, 2, 29));
    EXPECT_FALSE(focaris::ParseDate("29.02.2023").isValid());
    EXPECT_FALSE(focaris::ParseDate("2024-02-01").isValid());
}

} // namespace

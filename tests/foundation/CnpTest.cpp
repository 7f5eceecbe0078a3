// The personal numeric code: control digit, calendar dates with leap years, centuries,
// birth date and sex.
#include "applications/Cnp.h"

#include <gtest/gtest.h>

using namespace focaris;

namespace {

TEST(Cnp, ControlDigit)
{
    // First twelve digits 180010100054 weigh 136: 136 mod 11 = 4.
    EXPECT_TRUE(cnp::IsValid("1800101000544"));
    for (char c : std::string("0123567895"))
        EXPECT_FALSE(cnp::IsValid(QString("180010100054") + c)) << c;
    // 180010100051 weighs 109: remainder 10 requires 1, not 0.
    EXPECT_TRUE(cnp::IsValid("1800101000511"));
    EXPECT_FALSE(cnp::IsValid("1800101000510"));
}

TEST(Cnp, SexDigitCenturyAndCalendar)
{
    // 29 February: 1900 is not a leap year, 2000 and 2004 are.
    EXPECT_FALSE(cnp::IsValid("1000229123456"));
    EXPECT_TRUE(cnp::IsValid("5000229123453"));
    EXPECT_FALSE(cnp::IsValid("2010229123454"));
    // Born in the 1800s (3, 4) and the digit 0 are refused even with a right control digit.
    EXPECT_FALSE(cnp::IsValid("3800101000548"));
    EXPECT_FALSE(cnp::IsValid("0800101000542"));
    EXPECT_FALSE(cnp::IsValid("1801301000542")); // month 13
    EXPECT_FALSE(cnp::IsValid("1800100000541")); // day 0
    EXPECT_FALSE(cnp::IsValid("180010100054"));  // 12 characters
    EXPECT_FALSE(cnp::IsValid("18001010005a4"));
    EXPECT_FALSE(cnp::IsValid(""));
    EXPECT_TRUE(cnp::IsValid("", true));
}

TEST(Cnp, BirthDateAndSex)
{
    EXPECT_EQ(cnp::BirthDate("6050317"), QDate(2005, 3, 17));
    EXPECT_EQ(cnp::BirthDate("8050317000000"), QDate(1905, 3, 17));
    EXPECT_EQ(cnp::BirthDate("3800101000542"), QDate(1980, 1, 1)); // not valid, still a date
    EXPECT_EQ(cnp::BirthDate("1000229"), QDate(1900, 1, 1));       // no such day
    EXPECT_FALSE(cnp::BirthDate("180010").isValid());              // 6 characters: date 0
    EXPECT_FALSE(cnp::BirthDate("18a0101").isValid());
    EXPECT_EQ(cnp::Sex("9"), "masculin");
    EXPECT_EQ(cnp::Sex("8800101000000"), "feminin");
    EXPECT_EQ(cnp::Sex("2"), "feminin");
    EXPECT_EQ(cnp::Sex(""), "masculin");
}

} // namespace

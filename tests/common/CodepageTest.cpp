// Code page conversion and Windows-style file-name look-up.
#include "engines/common/Codepage.h"
#include "TestSupport.h"
#include "engines/common/FileNames.h"

#include <gtest/gtest.h>

using namespace focaris;

TEST(Codepage, RomanianLettersRoundTripThroughWindows1250)
{
    const std::string utf8 = "ĂÂÎŞŢăâîşţ";
    const std::string bytes = text::utf8ToCp1250(utf8);
    EXPECT_EQ(bytes, "\xC3\xC2\xCE\xAA\xDE\xE3\xE2\xEE\xBA\xFE");
    EXPECT_EQ(text::cp1250ToUtf8(bytes), utf8);
}

TEST(Codepage, CommaBelowLettersBecomeCedillaLettersNeverQuestionMarks)
{
    EXPECT_EQ(text::utf8ToCp1250("ȘșȚț"), "\xAA\xBA\xDE\xFE");
    EXPECT_EQ(text::utf8ToCp1250("€ ω"), "\x80 ?");
}

TEST(Codepage, UndefinedBytesAndMalformedUtf8SurviveARoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    for (auto cp : {text::Codepage::Cp1250, text::Codepage::Cp1252, text::Codepage::Cp852, text::Codepage::Cp866,
                    text::Codepage::Cp437})
        EXPECT_EQ(text::fromUtf8(text::toUtf8(all, cp), cp), all) << int(cp);
    // A truncated sequence is taken as Latin-1: Ã, which Windows-1252 holds.
    EXPECT_EQ(text::fromUtf8("a\xC3", text::Codepage::Cp1252), "a\xC3");
    // An overlong line feed stays two bytes of text and never becomes a line break.
    EXPECT_EQ(text::fromUtf8("\xC0\x8A", text::Codepage::Cp1252), "\xC0?");
    EXPECT_EQ(text::fromUtf8("\xED\xA0\x80", text::Codepage::Cp1252), "\xED\xA0?"); // a surrogate
}

// Capitals of a printed name: every Romanian letter and the other accented Latin letters
// of the code pages in use; what has no single capital stays.
TEST(Codepage, UpperCaseTakesTheRomanianAndOtherAccentedLetters)
{
    EXPECT_EQ(text::upperCase("Sâncraiu de Mureş, judeţul Mureș, Țara Hațegului, Făget, Bârsana, Însurăţei"),
              "SÂNCRAIU DE MUREŞ, JUDEŢUL MUREȘ, ȚARA HAȚEGULUI, FĂGET, BÂRSANA, ÎNSURĂŢEI");
    EXPECT_EQ(text::upperCase("ăâîşţșț"), "ĂÂÎŞŢȘȚ");
    EXPECT_EQ(text::upperCase("éöüőűčďěňřšťžľĺŕłńśźżąę àçñÿ"), "ÉÖÜŐŰČĎĚŇŘŠŤŽĽĹŔŁŃŚŹŻĄĘ ÀÇÑŸ");
    EXPECT_EQ(text::upperCase("ĂÂÎ ß µ ÷ 12-ab"), "ĂÂÎ ß µ ÷ 12-AB");
    EXPECT_EQ(text::upperCase("a\xE3"), "A\xE3"); // a byte that is not UTF-8 is kept as it is
}

TEST(Codepage, OtherCodepagesDecode)
{
    EXPECT_EQ(text::toUtf8("\x8F", text::Codepage::Cp866), "П");
    EXPECT_EQ(text::toUtf8("\xC0", text::Codepage::Cp1251), "А");
    EXPECT_EQ(text::toUtf8("\x82", text::Codepage::Cp852), "é");
}

TEST(FileNames, FindsAFileWhateverTheCaseOfItsName)
{
    test::TempDir dir;
    test::writeFile(dir / "CERERI.DBF", "x");
    std::filesystem::create_directories(dir / "Data");
    test::writeFile(dir / "Data" / "Log.dbf", "y");
    EXPECT_EQ(files::resolveCaseInsensitive(dir / "Cereri.dbf"), dir / "CERERI.DBF");
    EXPECT_EQ(files::resolveCaseInsensitive(dir / "DATA" / "LOG.DBF"), dir / "Data" / "Log.dbf");
    EXPECT_EQ(files::resolveCaseInsensitive(dir / "Oameni.dbf"), dir / "Oameni.dbf");
}

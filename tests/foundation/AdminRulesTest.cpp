// The administration rules: fiscal code, paragraph letter, counties, the settings check
// and the password scrambling.
#include "admin/Municipality.h"
#include "admin/Password.h"
#include "core/Context.h"
#include "engines/common/Codepage.h"

#include "FakeUi.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris;

namespace {

TEST(CheckFiscalCode, DigitsAfterAnyPrefixPaddedToTen)
{
    EXPECT_TRUE(CheckFiscalCode("14399840"));
    EXPECT_TRUE(CheckFiscalCode("RO 14399840"));
    EXPECT_TRUE(CheckFiscalCode(" ro14399 840 "));
    EXPECT_FALSE(CheckFiscalCode("14399841"));
    EXPECT_FALSE(CheckFiscalCode("RO14399840X"));
    // Three digits are padded to 0000000108: weights 3 and 2 give 30 × 10 mod 11 = 8.
    EXPECT_TRUE(CheckFiscalCode("108"));
    EXPECT_FALSE(CheckFiscalCode("109"));
    EXPECT_FALSE(CheckFiscalCode("RO10"));        // two digits
    EXPECT_FALSE(CheckFiscalCode("00014399840")); // eleven digits
    EXPECT_FALSE(CheckFiscalCode(""));
    EXPECT_FALSE(CheckFiscalCode("RO"));
}

TEST(CompensationLetter, FirstBracketWithThatPercentage)
{
    AidParameters p;
    EXPECT_EQ(CompensationLetter(100, p), "a");
    EXPECT_EQ(CompensationLetter(50, p), "f");
    EXPECT_EQ(CompensationLetter(10, p), "j"); // bracket 10 comes before Cu11
    EXPECT_EQ(CompensationLetter(55, p), "j");
    p.cu[10] = 5;
    EXPECT_EQ(CompensationLetter(5, p), "k");
}

TEST(Counties, AbbreviationAndDerivedCode)
{
    EXPECT_EQ(Counties().size(), 48);
    EXPECT_EQ(DerivedCountyCode("ALBA"), "01");
    EXPECT_EQ(DerivedCountyCode("BUCURESTI"), "42");
    EXPECT_EQ(DerivedCountyCode("sector 6"), "48");
    EXPECT_EQ(DerivedCountyCode("ATLANTIDA"), "");
    EXPECT_EQ(JudAbr("IASI"), "II");
    EXPECT_EQ(JudAbr("VRANCEA"), "VN");
    EXPECT_EQ(JudAbr("SECTOR 3"), "B");
    EXPECT_EQ(JudAbr("BUCURESTI"), "B");
}

TEST(SettingsReady, FirstMissingSettingInOrder)
{
    Municipality m;
    EXPECT_EQ(SettingsReady(m, ""), "\rCompletati la Administrare denumirea UAT!");
    m.primaria = "DEJ";
    m.judet.clear();
    EXPECT_EQ(SettingsReady(m, ""), "\rAlegeti la Administrare Judetul!");
    m.judet = "CLUJ";
    EXPECT_EQ(SettingsReady(m, ""), "\rCompletati la Administrare Codul Fiscal");
    m.sirues = "4305857";
    EXPECT_EQ(SettingsReady(m, ""), "\rAlegeti mai intai luna de la butonul Perioada!");
    EXPECT_EQ(SettingsReady(m, "01.2024"), "");

    focaris::test::TempDir dir;
    InitContextForTests(dir.qpath());
    focaris::test::FakeUi ui;
    EXPECT_FALSE(SettingsReady(ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Raport AJPIS");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].buttons, MessageButton::OK);
}

TEST(ScramblePassword, FollowsTheGeneratorBitForBit)
{
    // Reference values from a separate implementation of the generator.
    EXPECT_EQ(ScramblePasswordBytes("abc").toHex(), "4895602c734861413c5c93708d626b63");
    EXPECT_EQ(ScramblePasswordBytes("").toHex(), "572c2a48574fa1");
    EXPECT_EQ(ScramblePasswordBytes("secret ").toHex(), "ad7c613d4d9cad8ea473655f635a237a745f65507220");
    // The Windows-1250 bytes are scrambled: "ă" is 0xE3 and "Ș" is written as 0xAA.
    const std::string onDisk = text::utf8ToCp1250(ScramblePassword("Parolă Ș").toStdString());
    EXPECT_EQ(QByteArray::fromStdString(onDisk).toHex(), "7272746f95806e2050613c665968866ce3a0b572274a272a46a757aa");
    EXPECT_EQ(ScramblePasswordBytes("Parol\xE3 \xAA").toHex(),
              "7272746f95806e2050613c665968866ce3a0b572274a272a46a757aa");
    EXPECT_EQ(ScramblePassword("abc"), ScramblePassword("abc"));
    EXPECT_NE(ScramblePassword("abc "), ScramblePassword("abc"));
}

} // namespace

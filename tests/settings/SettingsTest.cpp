// The three settings files of the program and the parameters read from them.
#include "core/Settings.h"
#include "admin/AidParameters.h"
#include "admin/Municipality.h"
#include "core/Context.h"

#include "TestSupport.h"

#include <functional>

#include <gtest/gtest.h>

using namespace focaris;
using focaris::test::readFile;
using focaris::test::writeFile;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InitContextForTests(dir.qpath()); }
    std::filesystem::path data() const { return dir / "Data"; }
    focaris::test::TempDir dir;
};

TEST_F(SettingsTest, EachFileLivesInItsFolder)
{
    WriteSetting("VARIABILE", "LUNA_LUCRU", "01.2024");
    WriteLocalSetting("CONST", "EM", "a@b.ro");
    WriteMachineSetting("CALESALVARI", "-");
    EXPECT_EQ(readFile(data() / "Focaris.set"), "[VARIABILE]\r\nLUNA_LUCRU=01.2024\r\n");
    EXPECT_EQ(readFile(dir / "Local.set"), "[CONST]\r\nEM=a@b.ro\r\n");
    EXPECT_EQ(readFile(dir / "machine" / "Focaris.ini"), "[94]\r\nCALESALVARI=-\r\n");
    EXPECT_EQ(ReadMachineSetting("calesalvari"), "-");
    EXPECT_EQ(ReadLocalSetting("const", "em"), "a@b.ro");
    EXPECT_EQ(ReadSetting("Variabile", "Luna_Lucru"), "01.2024");
}

TEST_F(SettingsTest, SharedFileIsFoundWhateverTheCaseOfItsName)
{
    writeFile(data() / "FOCARIS.SET", "[INIT]\r\nWIN=abc\r\n");
    EXPECT_EQ(ReadSetting("INIT", "WIN"), "abc");
    WriteSetting("INIT", "WIN", "");
    EXPECT_EQ(readFile(data() / "FOCARIS.SET"), "[INIT]\r\nWIN=\r\n");
    EXPECT_FALSE(std::filesystem::exists(data() / "Focaris.set"));
}

TEST_F(SettingsTest, NumbersAreWrittenShortestAndReadWithFourDecimals)
{
    WriteSettingNumber("SETARI", "Lim11", 2053);
    WriteSettingNumber("SETARI", "CL1", Amount::fromUnits(8200));
    WriteSettingNumber("SERVER", "Versiune", Amount::fromUnits(10029));
    WriteSettingNumber("SETARI", "X", Amount::fromUnits(-5000));
    EXPECT_EQ(ReadSetting("SETARI", "Lim11"), "2053");
    EXPECT_EQ(ReadSetting("SETARI", "CL1"), "0.82");
    EXPECT_EQ(ReadSetting("SERVER", "Versiune"), "1.0029");
    EXPECT_EQ(ReadSetting("SETARI", "X"), "-0.5");
    EXPECT_EQ(ReadSettingNumber("SERVER", "Versiune"), Amount::fromUnits(10029));
    // Absent keys and text that is not a number read as 0.
    WriteSetting("CONST", "LASTPACK", "sapte");
    EXPECT_EQ(ReadSettingNumber("CONST", "LASTPACK"), Amount());
    EXPECT_EQ(ReadSettingNumber("CONST", "ABSENT"), Amount());
    // More than four decimals are rounded, halves to the even digit.
    WriteSetting("CONST", "R", "0.00005");
    EXPECT_EQ(ReadSettingNumber("CONST", "R"), Amount());
    WriteSetting("CONST", "R", "0.00015");
    EXPECT_EQ(ReadSettingNumber("CONST", "R"), Amount::fromUnits(2));
}

TEST_F(SettingsTest, AidParametersFallBackToDefaultsTheWayTheWindowDoes)
{
    EXPECT_EQ(LoadAidParameters().lim, AidParameters{}.lim);
    writeFile(data() / "Focaris.set",
              "[SETARI]\r\nLim1=\r\nLim2=abc\r\nCu3=85\r\nIndL=25.7\r\nIndG=x\r\nCL2=1.5\r\nCL3=\r\n");
    const AidParameters p = LoadAidParameters();
    EXPECT_EQ(p.lim[0], 200); // empty keeps the default
    EXPECT_EQ(p.lim[1], 0);   // present but not a number counts as 0
    EXPECT_EQ(p.cu[2], 85);
    EXPECT_EQ(p.indL, 25); // truncated to whole lei
    EXPECT_EQ(p.indG, 10); // not a number: the default stays
    EXPECT_EQ(p.cl[1], Amount::fromUnits(15000));
    EXPECT_EQ(p.cl[2], Amount::fromUnits(17000));

    SaveAidParameters(AidParameters{});
    EXPECT_EQ(ReadSetting("SETARI", "CL3"), "1.7");
    EXPECT_EQ(ReadSetting("SETARI", "Lim10"), "1386");
    EXPECT_EQ(LoadAidParameters().lim[1], 320);
}

TEST_F(SettingsTest, MunicipalityReadsTheStoredIdentity)
{
    Municipality m = LoadMunicipality();
    EXPECT_EQ(m.uat, "U.A.T.");
    EXPECT_EQ(m.judet, "ALBA");
    writeFile(data() / "Focaris.set", "[SETARI]\r\nUAT=Orasul\r\nJUDET=cluj\r\nTIPLOC=2\r\nPRIMARIA=DEJ\r\n");
    m = LoadMunicipality();
    EXPECT_EQ(m.uat, "Orasul");
    EXPECT_EQ(m.judet, "CLUJ");
    EXPECT_EQ(m.tipLoc, 2);
    EXPECT_EQ(m.primaria, "DEJ");
    m.codJud = "12";
    SaveMunicipality(m);
    EXPECT_EQ(LoadMunicipality().codJud, "12");
}

} // namespace

namespace {

TEST_F(SettingsTest, AFileThatIsNotOursIsRefusedByNameAndNeverWritten)
{
    // UTF-16 with its byte-order mark, as a Windows editor saves "Unicode"; bytes that
    // hold no INI text at all.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[INDEX]\r\nNROM=7\r\n"))
        utf16 += std::string{c, '\0'};
    for (const std::string &bytes :
         {utf16, std::string("\x89PNG\r\n\x1a\n\x00\x00", 10), std::string("not a settings file\n")}) {
        writeFile(data() / "Focaris.set", bytes);
        for (const std::function<void()> &call : std::vector<std::function<void()>>{
                 [] { ReadSetting("INDEX", "NROM"); }, [] { WriteSetting("INDEX", "NROM", "1"); },
                 [] { WriteSettingNumber("INDEX", "NROM", Amount(1)); },
                 [] { RequireOwnSettingsFile(SharedSettingsFile()); }}) {
            try {
                call();
                ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
            } catch (const std::runtime_error &e) {
                EXPECT_NE(std::string(e.what()).find((data() / "Focaris.set").string()), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(readFile(data() / "Focaris.set"), bytes);
    }
    // An empty file and a file of the program's own pass.
    writeFile(data() / "Focaris.set", "");
    EXPECT_NO_THROW(RequireOwnSettingsFile(SharedSettingsFile()));
    WriteSetting("INDEX", "NROM", "2");
    EXPECT_EQ(ReadSetting("INDEX", "NROM"), "2");
}

} // namespace

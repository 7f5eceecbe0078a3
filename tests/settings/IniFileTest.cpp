// The INI engine against files written the Windows way: CR LF, Windows-1250 diacritics,
// names in another case, comments and blank lines that must survive every write.
#include "engines/settings/IniFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ini = focaris::ini;
using focaris::test::readFile;
using focaris::test::writeFile;

namespace {

// A settings file as the Windows installations leave it: Windows-1250 bytes (0xBA = ş,
// 0xE3 = ă, 0xEE = î), CR LF, a comment, blank lines between sections.
const std::string kWindowsFile = "; Focaris\r\n"
                                 "[SETARI]\r\n"
                                 "UAT=Comuna\r\n"
                                 "PRIMARIA=B\xE3ile\xBAti\r\n"
                                 "Lim1 = 200 \r\n"
                                 "\r\n"
                                 "[Index]\r\n"
                                 "NRCRT=41\r\n"
                                 "\r\n"
                                 "[CODURIP]\r\n"
                                 "BR\xC3ILA=7\r\n";

class IniFileTest : public ::testing::Test {
protected:
    focaris::test::TempDir dir;
    std::filesystem::path file = dir / "Focaris.set";
};

TEST_F(IniFileTest, ReadsWindowsFileWhateverTheCaseOfNames)
{
    writeFile(file, kWindowsFile);
    EXPECT_EQ(ini::readValue(file, "setari", "uat"), "Comuna");
    EXPECT_EQ(ini::readValue(file, "SETARI", "primaria"), "Băileşti");
    EXPECT_EQ(ini::readValue(file, "Setari", "LIM1"), "200"); // blanks around "=" ignored
    EXPECT_EQ(ini::readValue(file, "INDEX", "nrcrt"), "41");
    // Locality names with diacritics match in either case.
    EXPECT_EQ(ini::readValue(file, "coduriP", "brăila"), "7");
    EXPECT_EQ(ini::readValue(file, "SETARI", "NRCRT"), std::nullopt);
    EXPECT_EQ(ini::readValue(file, "NOSECTION", "UAT"), std::nullopt);
    EXPECT_EQ(ini::readString(file, "SETARI", "JUDET", "ALBA"), "ALBA");
    EXPECT_EQ(ini::sectionNames(file), (std::vector<std::string>{"SETARI", "Index", "CODURIP"}));
    EXPECT_EQ(ini::keyNames(file, "setari"), (std::vector<std::string>{"UAT", "PRIMARIA", "Lim1"}));
}

TEST_F(IniFileTest, WritingChangesOnlyTheLineOfTheKey)
{
    writeFile(file, kWindowsFile);
    ini::writeValue(file, "setari", "uat", "Orasul");
    std::string expected = kWindowsFile;
    expected.replace(expected.find("UAT=Comuna"), 10, "UAT=Orasul");
    EXPECT_EQ(readFile(file), expected);

    // A key written twice keeps one line.
    ini::writeValue(file, "SETARI", "UAT", "Municipiul");
    expected.replace(expected.find("UAT=Orasul"), 10, "UAT=Municipiul");
    EXPECT_EQ(readFile(file), expected);
}

TEST_F(IniFileTest, NewKeyGoesAtTheEndOfItsSectionAndNewSectionAtTheEndOfTheFile)
{
    writeFile(file, kWindowsFile);
    ini::writeValue(file, "SETARI", "JUDET", "ALBA");
    ini::writeValue(file, "INIT", "WIN", "x");
    std::string expected = kWindowsFile;
    expected.insert(expected.find("\r\n[Index]"), "JUDET=ALBA\r\n");
    expected += "[INIT]\r\nWIN=x\r\n";
    EXPECT_EQ(readFile(file), expected);
}

TEST_F(IniFileTest, TextIsWindows1250OnDiskAndCommaBelowLettersBecomeCedillas)
{
    ini::writeValue(file, "SETARI", "PRIMARIA", "Ștefănești Țară");
    EXPECT_EQ(readFile(file), "[SETARI]\r\nPRIMARIA=\xAAtef\xE3ne\xBAti \xDE"
                              "ar\xE3\r\n");
    EXPECT_EQ(ini::readValue(file, "SETARI", "PRIMARIA"), "Ştefăneşti Ţară");
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndFirstWriteCreatesIt)
{
    EXPECT_EQ(ini::readValue(file, "SETARI", "UAT"), std::nullopt);
    EXPECT_TRUE(ini::sectionNames(file).empty());
    ini::writeValue(file, "VARIABILE", "LUNA_LUCRU", "");
    EXPECT_EQ(readFile(file), "[VARIABILE]\r\nLUNA_LUCRU=\r\n");
    EXPECT_EQ(ini::readValue(file, "VARIABILE", "LUNA_LUCRU"), ""); // present, empty
}

TEST_F(IniFileTest, OddLinesAreKeptAndReadTheWindowsWay)
{
    writeFile(file, "[A]\nK1=\"quoted value\"\nnot a key line\n;K2=comment\n[A]\nK2=second\n[B]\r\n  K=last");
    EXPECT_EQ(ini::readValue(file, "A", "K1"), "quoted value");
    EXPECT_EQ(ini::readValue(file, "A", "K2"), std::nullopt); // the first [A] wins
    EXPECT_EQ(ini::readValue(file, "B", "K"), "last");
    ini::writeValue(file, "a", "k1", "plain");
    // A last line without a line break gets one before the new key; the rest stays.
    ini::writeValue(file, "B", "N", "1");
    ini::writeValue(file, "b", "k", "end");
    EXPECT_EQ(readFile(file), "[A]\nK1=plain\nnot a key line\n;K2=comment\n[A]\nK2=second\n"
                              "[B]\r\n  K=end\r\nN=1\r\n");
}

TEST_F(IniFileTest, ValuesCannotAddLinesAndBadNamesAreRefused)
{
    ini::writeValue(file, "S", "K", "one\r\n[S]\r\nK=two");
    EXPECT_EQ(ini::readValue(file, "S", "K"), "one  [S]  K=two");
    EXPECT_EQ(ini::sectionNames(file).size(), 1u);
    // Values the reader would trim or unquote go inside quotes and read back unchanged: a
    // scrambled password may well end in a blank.
    ini::writeValue(file, "S", "B", " a b ");
    ini::writeValue(file, "S", "Q", "'x'");
    ini::writeValue(file, "S", "H", "\"half");
    EXPECT_EQ(ini::readValue(file, "S", "B"), " a b ");
    EXPECT_EQ(ini::readValue(file, "S", "Q"), "'x'");
    EXPECT_EQ(ini::readValue(file, "S", "H"), "\"half");
    EXPECT_EQ(readFile(file), "[S]\r\nK=one  [S]  K=two\r\nB=\" a b \"\r\nQ=\"'x'\"\r\nH=\"half\r\n");
    EXPECT_THROW(ini::writeValue(file, "S", "", "v"), std::invalid_argument);
    EXPECT_THROW(ini::writeValue(file, "S", "A=B", "v"), std::invalid_argument);
    EXPECT_THROW(ini::writeValue(file, "S]", "K", "v"), std::invalid_argument);
    EXPECT_THROW(ini::writeValue(dir / "new.set", "S", "", "v"), std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(dir / "new.set"));
}

TEST_F(IniFileTest, EraseSectionAndKeyLeaveTheRest)
{
    writeFile(file, kWindowsFile);
    ini::eraseSection(file, "index");
    ini::eraseKey(file, "setari", "lim1");
    EXPECT_EQ(readFile(file), "; Focaris\r\n[SETARI]\r\nUAT=Comuna\r\nPRIMARIA=B\xE3ile\xBAti\r\n"
                              "\r\n[CODURIP]\r\nBR\xC3ILA=7\r\n");
    ini::eraseSection(dir / "absent.set", "X");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.set"));
}

TEST_F(IniFileTest, WriteReplacesTheFileWholeAndKeepsItsMode)
{
    writeFile(file, kWindowsFile);
    ::chmod(file.c_str(), 0640);
    ini::writeValue(file, "SETARI", "UAT", "Orasul");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left beside it.
    int entries = 0;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        entries += e.path() != file;
    EXPECT_EQ(entries, 0);
    // A folder that does not exist cannot be written: an error, not silence.
    EXPECT_THROW(ini::writeValue(dir / "missing" / "x.set", "S", "K", "V"), std::runtime_error);
}

TEST_F(IniFileTest, ProcessesWritingDifferentKeysAtTheSameTimeAllKeepTheirValue)
{
    writeFile(file, kWindowsFile);
    // Each child waits for the start signal, then writes its own keys as fast as it can.
    const auto go = dir / "go";
    std::vector<pid_t> children;
    for (int c = 0; c < 8; ++c) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            while (!std::filesystem::exists(go))
                ::usleep(100);
            int failed = 0;
            for (int k = 0; k < 10; ++k) {
                try {
                    ini::writeValue(file, "INDEX", "K" + std::to_string(c * 10 + k), std::to_string(c));
                } catch (...) {
                    ++failed;
                }
            }
            ::_exit(failed);
        }
        children.push_back(pid);
    }
    writeFile(go, "");
    for (pid_t pid : children) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 8; ++c)
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(ini::readValue(file, "INDEX", "K" + std::to_string(c * 10 + k)), std::to_string(c));
    EXPECT_EQ(ini::readValue(file, "SETARI", "PRIMARIA"), "Băileşti");
    EXPECT_EQ(ini::keyNames(file, "INDEX").size(), 81u);
}

} // namespace

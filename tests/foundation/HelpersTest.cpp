// Month codes, text rules, temporary files and folders, and the working context.
#include "core/Context.h"
#include "core/Months.h"
#include "core/TempFiles.h"
#include "core/TextRules.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace focaris;

namespace {

TEST(Months, CodesTextsAndNames)
{
    EXPECT_EQ(MonthCode("01.2024"), 24288);
    EXPECT_EQ(MonthCode("12.2023"), 24287);
    EXPECT_EQ(MonthCode("1.2024"), 24288);
    // Impossible months and years outside the program's range read as no month, never as
    // a neighbouring one (13.2025 is not 01.2026).
    for (const char *bad : {"", "2024", ".2024", "01.", "ab.2024", "01.20x4", "01,2024", " 01.2024", "13.2025",
                            "00.2025", "12.2005", "01.2301"})
        EXPECT_EQ(MonthCode(bad), 0) << bad;
    EXPECT_EQ(MonthText(24288), "01.2024");
    EXPECT_EQ(MonthText(24299), "12.2024");
    EXPECT_EQ(MonthText(1), "02.0000");
    EXPECT_EQ(MonthCode(MonthText(2)), 0); // the reserved codes are no month
    EXPECT_EQ(MonthName(1), "ianuarie");
    EXPECT_EQ(MonthName(12), "decembrie");
    EXPECT_EQ(MonthName(0), "");
    EXPECT_EQ(MonthName(13), "");
}

TEST(TextRules, CleanText)
{
    EXPECT_EQ(CleanText("  Ion   \"Popescu\"  "), "Ion Popescu ");
    EXPECT_EQ(CleanText("\tStr.  Mare\r\n"), "Str. Mare");
    EXPECT_EQ(CleanText("\"\""), " ");
    EXPECT_EQ(CleanText(""), "");
    EXPECT_EQ(CleanText("Ştefan  cel   Mare"), "Ştefan cel Mare");
    // Comma-below letters typed on a Linux keyboard become the cedilla letters the
    // Windows-1250 tables hold; nothing else of the text changes.
    EXPECT_EQ(CleanText("  ȘTEFĂNEȘTI  Țara  "), "ŞTEFĂNEŞTI Ţara");
    EXPECT_EQ(WithCedillaLetters(" ș ț  Ș Ț \"ă\" "), " ş ţ  Ş Ţ \"ă\" ");
}

TEST(TextRules, PhoneAndEmail)
{
    EXPECT_TRUE(CheckPhone("0722 123 456"));
    EXPECT_TRUE(CheckPhone("(0256) 123-456"));
    EXPECT_TRUE(CheckPhone("0112345678"));
    EXPECT_FALSE(CheckPhone("0522123456"));
    EXPECT_FALSE(CheckPhone("+40722123456")); // 11 digits
    EXPECT_FALSE(CheckPhone("072212345"));

    EXPECT_TRUE(CheckEmail("ion.pop@gmail.com"));
    EXPECT_TRUE(CheckEmail("abc@yahoo.ro"));
    EXPECT_FALSE(CheckEmail("ab@yahoo.ro"));    // at-sign at position 3
    EXPECT_FALSE(CheckEmail("abc@a.ro"));       // 4 characters after it
    EXPECT_FALSE(CheckEmail("abc@mail.info"));  // 4 after the first dot
    EXPECT_FALSE(CheckEmail("abc@mail.co.uk")); // 5 after the first dot
    EXPECT_FALSE(CheckEmail("abc@mailcom"));
    EXPECT_FALSE(CheckEmail("a bc@mail.com"));
    EXPECT_FALSE(CheckEmail("abc@ma@il.com"));
    EXPECT_FALSE(CheckEmail("ştefan@mail.ro"));
}

class TempFilesTest : public ::testing::Test {
protected:
    void SetUp() override { InitContextForTests(dir.qpath()); }
    focaris::test::TempDir dir;
};

TEST_F(TempFilesTest, NewTempFileSkipsOnlyFilesThatCannotBeDeleted)
{
    const QString first = NewTempFile("Disp", ".rtf");
    EXPECT_EQ(first, TempFolder() + "/TmpFoc/Disp0.rtf");
    EXPECT_EQ(NewTempFile("Disp", ".rtf"), first); // never created: same name again
    // An existing file that can be deleted is deleted and its name reused.
    focaris::test::writeFile(first.toStdString(), "old");
    EXPECT_EQ(NewTempFile("Disp", ".rtf"), first);
    EXPECT_FALSE(QFile::exists(first));
    // A file open in the word processor (its lock file beside it) is skipped.
    focaris::test::writeFile(first.toStdString(), "open");
    focaris::test::writeFile((TempFolder() + "/TmpFoc/.~lock.Disp0.rtf#").toStdString(), "x");
    EXPECT_EQ(NewTempFile("Disp", ".rtf"), TempFolder() + "/TmpFoc/Disp1.rtf");
    EXPECT_TRUE(QFile::exists(first));
}

TEST_F(TempFilesTest, FoldersAndTheInUseTest)
{
    const QString folder = NewTempFolder("Lst");
    EXPECT_EQ(folder, TempFolder() + "/Lst0");
    EXPECT_TRUE(QDir(folder).exists());
    const QString file = folder + "/sub/a.xls";
    QDir().mkpath(folder + "/sub");
    focaris::test::writeFile(file.toStdString(), "x");

    // A POSIX lock held on a file below keeps the whole folder.
    // The child tells when it holds the lock and keeps it until the parent closes its
    // end of the release pipe.
    int fd = ::open(file.toLocal8Bit().constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(release[1]);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        ::fcntl(fd, F_SETLKW, &lock);
        char c = 'x';
        (void)!::write(ready[1], &c, 1);
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    ::close(fd);
    ::close(release[0]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(FileInUse(file));
    EXPECT_FALSE(DeleteFolder(folder));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(NewTempFolder("Lst"), TempFolder() + "/Lst1");
    ::close(release[1]);
    ::waitpid(child, nullptr, 0);

    EXPECT_FALSE(FileInUse(file));
    EXPECT_TRUE(DeleteFolder(folder));
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_FALSE(DeleteFolder(folder)); // nothing left to delete
    EXPECT_EQ(NewSessionFolder(), ProgramFolder() + "/TMP0");
}

TEST(Context, FoldersOfLocalAndNetworkWork)
{
    focaris::test::TempDir dir;
    InitContextForTests(dir.qpath() + "/");
    EXPECT_EQ(ProgramFolder(), dir.qpath());
    EXPECT_EQ(DataFolder(), dir.qpath() + "/Data");
    EXPECT_EQ(TempFolder(), dir.qpath() + "/Temp");
    EXPECT_TRUE(QDir(DataFolder()).exists());
    EXPECT_FALSE(NetworkMode());
    EXPECT_FALSE(AdminUnlocked());
    EXPECT_TRUE(OperatorName().contains(" - "));
    Context().dataFolder = "/mnt/share/Data";
    EXPECT_TRUE(NetworkMode());
    SetWorkingMonth("02.2024");
    EXPECT_EQ(WorkingMonthCode(), 24289);
    qputenv("FOCARIS_HOME", dir.qpath().toLocal8Bit() + "/home/");
    EXPECT_EQ(DefaultProgramFolder(), dir.qpath() + "/home");
    qunsetenv("FOCARIS_HOME");
}

} // namespace

// Installing the data folder's templates and refreshing them on upgrade: what is
// written, what is left as the office edited it.
#include "documents/TemplateStore.h"
#include "documents/ResourceStore.h"

#include "core/Context.h"
#include "core/Settings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace focaris;
using namespace focaris::test;

namespace {

std::string builtIn(const char *resource)
{
    return ResourceBytes(QString::fromLatin1(resource), QStringLiteral("Model"))->toStdString();
}

// Puts an edited copy of every template into the folder.
void editAll(const TempDir &dir)
{
    for (const DataTemplate &t : kDataTemplates)
        writeFile(dir / t.file, std::string("edited ") + t.file);
}

TEST(TemplateStore, InstallsEveryMissingTemplateAndKeepsPresentOnes)
{
    TempDir dir;
    EXPECT_EQ(InstallMissingFiles(dir.qpath()), int(kDataTemplates.size()));
    for (const DataTemplate &t : kDataTemplates)
        EXPECT_EQ(readFile(dir / t.file), builtIn(t.resource)) << t.file;

    // An edited template stays; a deleted one comes back; a file named in another case
    // (as Windows installations leave them) counts as present.
    writeFile(dir / "Referat.rtf", "edited");
    std::filesystem::remove(dir / "Stat.xls");
    std::filesystem::rename(dir / "Modificare.rtf", dir / "MODIFICARE.RTF");
    EXPECT_EQ(InstallMissingFiles(dir.qpath()), 1);
    EXPECT_EQ(readFile(dir / "Referat.rtf"), "edited");
    EXPECT_EQ(readFile(dir / "Stat.xls"), builtIn("Stat"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Modificare.rtf"));
}

TEST(TemplateStore, RefreshByStoredVersion)
{
    TempDir dir;
    editAll(dir);
    RefreshTemplates(dir.qpath(), Amount::parseOrZero("1.0013"));
    for (const char *replaced : {"Referat.rtf", "Stabilire.rtf", "StabilireU.xls", "Anexa14.xls"})
        EXPECT_NE(readFile(dir / replaced), std::string("edited ") + replaced);
    EXPECT_EQ(readFile(dir / "Referat.rtf"), builtIn("Referat"));
    for (const char *kept : {"Anexa15.xls", "Anexa16.xls", "Anexa17.xls", "ModCerere.rtf", "Stat.xls"})
        EXPECT_EQ(readFile(dir / kept), std::string("edited ") + kept);

    // Below 1.0011 the four annexes go too; from 1.0026 on nothing is touched.
    editAll(dir);
    RefreshTemplates(dir.qpath(), Amount::parseOrZero("1.0010"));
    EXPECT_EQ(readFile(dir / "Anexa17.xls"), builtIn("Anexa17"));
    editAll(dir);
    RefreshTemplates(dir.qpath(), Amount::parseOrZero("1.0026"));
    for (const DataTemplate &t : kDataTemplates)
        EXPECT_EQ(readFile(dir / t.file), std::string("edited ") + t.file);

    // A template open in another program is not replaced.
    writeFile(dir / ".~lock.Referat.rtf#", "lock");
    RefreshTemplates(dir.qpath(), Amount::parseOrZero("1.0013"));
    EXPECT_EQ(readFile(dir / "Referat.rtf"), "edited Referat.rtf");
    EXPECT_EQ(readFile(dir / "Stabilire.rtf"), builtIn("Stabilire"));
}

TEST(TemplateStore, UpgradeReadsAndStoresTheDataFolderVersion)
{
    TempDir dir;
    InitContextForTests(dir.qpath());
    const std::filesystem::path dataFolder = DataFolder().toStdString();
    for (const DataTemplate &t : kDataTemplates)
        writeFile(dataFolder / t.file, std::string("edited ") + t.file);
    WriteSettingNumber(QStringLiteral("SERVER"), QStringLiteral("Versiune"), Amount::parseOrZero("1.0013"));

    UpgradeTemplates();
    EXPECT_EQ(ReadSetting(QStringLiteral("SERVER"), QStringLiteral("Versiune")), QStringLiteral("1.0029"));
    EXPECT_EQ(readFile(dataFolder / "Referat.rtf"), builtIn("Referat"));
    EXPECT_EQ(readFile(dataFolder / "Anexa15.xls"), "edited Anexa15.xls");

    // The next start finds 1.0029 and changes nothing.
    writeFile(dataFolder / "Referat.rtf", "edited again");
    UpgradeTemplates();
    EXPECT_EQ(readFile(dataFolder / "Referat.rtf"), "edited again");
}

} // namespace

// The start-up sequence on scratch folders: local, network and opened-save work, the
// update installer hand-over and the file-type registration.
#include "ShellFixture.h"

#include "core/Keys.h"
#include "core/Tables.h"
#include "core/TempFiles.h"
#include "safety/Backup.h"
#include "shell/FileType.h"
#include "shell/Startup.h"

#include <QFileInfo>
#include <QThread>

using namespace focaris;
using namespace focaris::test;

namespace {

class StartupTest : public ShellFixture {
protected:
    shell::StartupResult start(const QStringList &arguments = {})
    {
        shell::StartupOptions options;
        options.executable = root + QStringLiteral("/bin/focaris");
        options.arguments = arguments;
        options.programFolder = program;
        steps.loadAdminSettings = [this] { calls << QStringLiteral("admin:") + DataFolder(); };
        return shell::RunStartup(ui, options, steps, feedback);
    }

    // Real tables in a folder, as another computer's data folder would hold them.
    QString realTables(const QString &name)
    {
        const QString folder = root + "/" + name;
        QDir().mkpath(folder);
        const QString saved = Context().dataFolder;
        Context().dataFolder = folder;
        CreateTables();
        Context().dataFolder = saved;
        return folder;
    }

    shell::StartupSteps steps = shell::StartupSteps::defaults();
    shell::StartupFeedback feedback;
    QStringList calls;
};

TEST_F(StartupTest, EmptyFolderGetsTablesTemplatesAndKeysAtOne)
{
    std::vector<int> bar;
    feedback.barPosition = [&](int p) { bar.push_back(p); };
    const auto result = start();
    EXPECT_EQ(result.workMode, "Lucru local.");
    for (const char *table : {"Cereri.dbf", "Oameni.dbf"})
        EXPECT_TRUE(QFileInfo::exists(program + "/Data/" + table)) << table;
    EXPECT_EQ(QDir(program + "/Data").entryList({"log.dbf"}, QDir::Files).size(), 1);
    for (const char *file : {"ModelAncheta2.rtf", "ModCerere.rtf", "Referat.rtf", "Stat.xls", "Anexa14.xls"})
        EXPECT_TRUE(QFileInfo::exists(program + "/Data/" + file)) << file;
    for (const char *key : {"NRCRT", "NROM", "IDLOG"})
        EXPECT_EQ(PeekKeyText(key), "1") << key;
    // The weekly packing of a new folder runs and reports its three tables.
    EXPECT_EQ(bar, (std::vector<int>{0, 1, 2, 3, 6}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupTest, EmptyFolderStartsLocalWithFoldersSettingsAndSteps)
{
    steps.createTables = [this] { calls << QStringLiteral("tables"); };
    steps.purgeLog = nullptr;
    steps.weeklyPacking = nullptr;
    steps.upgradeData = nullptr;
    steps.resetKeys = [this] { calls << QStringLiteral("keys"); };
    steps.installMissingFiles = [this] { calls << QStringLiteral("templates"); };
    QStringList statuses;
    feedback.status = [&](const QString &s) { statuses << s; };
    const auto result = start();
    EXPECT_FALSE(result.handedOver);
    EXPECT_EQ(result.workMode, "Lucru local.");
    EXPECT_EQ(result.caption, "Foc aris  ver.1.0029");
    EXPECT_TRUE(QFileInfo(program + "/Data").isDir());
    EXPECT_TRUE(QFileInfo(program + "/Temp").isDir());
    EXPECT_TRUE(QFileInfo(program + "/TMP0").isDir());
    EXPECT_EQ(DataFolder(), program + "/Data");
    EXPECT_EQ(ReadMachineSetting("CALE"), program);
    EXPECT_EQ(ReadMachineSetting("VER"), "1.0029");
    EXPECT_EQ(ReadSetting("94", "VER"), "1.0029");
    EXPECT_FALSE(AdminUnlocked());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(statuses, QStringList{"Verific baza de date ..."});
    // The tables come before the keys, the keys are reset twice around the templates.
    EXPECT_EQ(calls, (QStringList{"admin:" + program + "/Data", "tables", "keys", "templates", "keys"}));
    // With no save named on the command line the file type is registered for the user.
    EXPECT_TRUE(shell::FileTypeRegistered(root + "/bin/focaris"));
}

TEST_F(StartupTest, NetworkFolderWithTwoTablesGivesMessageAndLocalWork)
{
    const QString server = tableFolder("share", {"Cereri", "Oameni"});
    WriteMachineSetting("SERVER", server);
    const auto result = start();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Conectare server");
    EXPECT_EQ(ui.messages[0].text, "Baza de date " + server +
                                       "\rNU este accesibila sau este incompleta!\r"
                                       "Verificati conexiunea si baza si reporniti programul!");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(result.workMode, "Lucru local.");
    EXPECT_FALSE(NetworkMode());
    EXPECT_EQ(ReadMachineSetting("SERVER"), server);
}

TEST_F(StartupTest, NetworkFolderWithTheThreeTablesInAnyCaseIsUsed)
{
    const QString server = realTables("share");
    WriteMachineSetting("SERVER", server);
    const auto result = start();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(NetworkMode());
    EXPECT_EQ(DataFolder(), server);
    EXPECT_EQ(LocalDataFolder(), program + "/Data");
    EXPECT_EQ(result.workMode, "Lucru in retea: " + server);
    EXPECT_TRUE(calls.contains("admin:" + server));
}

TEST_F(StartupTest, SaveOnCommandLineWorksOnUnpackedCopy)
{
    // An archive made from another data folder.
    touch(DataFolder() + "/Focaris.set", "[VARIABILE]\r\nLUNA_LUCRU=03.2024\r\n[SERVER]\r\nVersiune=1.0029\r\n");
    touch(DataFolder() + "/Referat.rtf", "{\\rtf1 saved}");
    const QString archive = root + "/Copie_1.t21";
    ASSERT_TRUE(SaveArchive(ui, archive));
    QDir(DataFolder()).removeRecursively();

    const auto result = start({archive});
    EXPECT_EQ(result.workMode, "Lucru in salvarea: COPIE_1.T21.");
    EXPECT_EQ(OpenedSave(), archive);
    EXPECT_EQ(ProgramFolder(), program + "/Temp/SAV0");
    EXPECT_EQ(DataFolder(), program + "/Temp/SAV0/Data");
    EXPECT_EQ(readFile((DataFolder() + "/Referat.rtf").toStdString()), "{\\rtf1 saved}");
    EXPECT_EQ(ReadSetting("VARIABILE", "LUNA_LUCRU"), "03.2024");
    // The real data folder is not touched beyond being there.
    EXPECT_TRUE(QDir(program + "/Data").entryList(QDir::Files).filter("Referat").isEmpty());
    // No registration while a save is opened.
    EXPECT_FALSE(shell::FileTypeRegistered(root + "/bin/focaris"));
}

TEST_F(StartupTest, ParameterThatIsNoFileCountsAsNone)
{
    const auto result = start({root + "/missing.T21"});
    EXPECT_EQ(result.workMode, "Lucru local.");
    EXPECT_TRUE(OpenedSave().isEmpty());
    EXPECT_TRUE(shell::FileTypeRegistered(root + "/bin/focaris"));
}

TEST_F(StartupTest, UpdateInstallerRunsOnceAndIsDeletedNextTime)
{
    const QString installer = program + "/UpFocaris";
    const QString marker = root + "/installer-ran";
    // The marker appears whole: written beside it and renamed.
    touch(installer,
          ("#!/bin/sh\necho \"$1\" > '" + marker + ".part' && mv '" + marker + ".part' '" + marker + "'\n").toUtf8());
    QFile::setPermissions(installer, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_TRUE(start().handedOver);
    EXPECT_EQ(ReadSetting("CONST", "Lansat"), "DA");
    // The installer runs on its own; wait for its marker (the bound only ends a hung run).
    for (int i = 0; i < 12000 && !QFileInfo::exists(marker); ++i)
        QThread::msleep(10);
    EXPECT_EQ(readFile(marker.toStdString()), (root + "/bin/focaris\n").toStdString());

    // The next start finds the installer done: it is deleted and the start goes on.
    EXPECT_FALSE(start().handedOver);
    EXPECT_FALSE(QFileInfo::exists(installer));
    // And the one after that forgets the hand-over.
    start();
    EXPECT_EQ(ReadSetting("CONST", "Lansat"), "NU");
}

TEST_F(StartupTest, InstallerThatCannotStartIsNotTakenForInstalled)
{
    const QString installer = program + "/UpFocaris";
    touch(installer, "not a program");
    QFile::setPermissions(installer, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_FALSE(start().handedOver);
    EXPECT_EQ(ReadSetting("CONST", "Lansat"), "NU");
    EXPECT_TRUE(QFileInfo::exists(installer));
}

TEST_F(StartupTest, RegistrationWritesMimeTypeAndDesktopEntryOnce)
{
    const QString exe = root + "/bin/my \"focaris\"";
    ASSERT_TRUE(shell::RegisterFileType(exe, program + "/ico1.ico"));
    const std::string entry = readFile((root + "/xdgdata/applications/focaris.desktop").toStdString());
    EXPECT_NE(entry.find("Exec=\"" + (root + "/bin/my \\\"focaris\\\"").toStdString() + "\" %f"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-focaris-save;"), std::string::npos);
    const std::string mime = readFile((root + "/xdgdata/mime/packages/focaris-t21.xml").toStdString());
    EXPECT_NE(mime.find("*.T21"), std::string::npos);
    EXPECT_TRUE(shell::FileTypeRegistered(exe));
    EXPECT_FALSE(shell::FileTypeRegistered(root + "/bin/other"));
}

} // namespace

namespace {

TEST_F(StartupTest, ASettingsFileInAnotherEncodingStopsTheStartAndStaysUntouched)
{
    QDir().mkpath(program + "/Data");
    const std::string utf16("\xFF\xFE[\0V\0]\0\r\0\n\0", 12);
    writeFile(std::filesystem::path((program + "/Data/Focaris.set").toStdString()), utf16);
    try {
        start();
        ADD_FAILURE() << "the start went on";
    } catch (const std::runtime_error &e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf(program + "/Data/Focaris.set"), -1) << e.what();
    }
    EXPECT_EQ(readFile(std::filesystem::path((program + "/Data/Focaris.set").toStdString())), utf16);
    EXPECT_TRUE(calls.isEmpty());
}

} // namespace

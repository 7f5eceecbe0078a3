// The four folder commands of the administration window.
#include "ShellFixture.h"

#include "shell/Access.h"
#include "shell/Folders.h"

#include <QFileInfo>

using namespace focaris;
using namespace focaris::test;
using namespace focaris::shell;

namespace {

class FoldersTest : public ShellFixture {};

TEST_F(FoldersTest, NetworkFolderMustBeAnotherFolderWithTheThreeTables)
{
    QString label = "-";
    // Cancelled.
    EXPECT_EQ(ChangeServerFolder(ui, label), FolderResult::Unchanged);
    EXPECT_TRUE(ui.messages.empty());

    // The local data folder, also written with a trailing separator and another case.
    ui.folderAnswers = {LocalDataFolder().toLower() + "/"};
    EXPECT_EQ(ChangeServerFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(ui.messages.back().title, "Selectare Cale salvari");
    EXPECT_EQ(ui.messages.back().text, "Nu puteti salva aici!");

    const QString two = tableFolder("two", {"Cereri", "Oameni"});
    ui.folderAnswers = {two};
    EXPECT_EQ(ChangeServerFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(ui.messages.back().title, "Conectare server");
    EXPECT_EQ(ui.messages.back().text, "Baza de date " + two + "\rNU este corecta!\rVerificati ce-ati ales!");
    EXPECT_TRUE(ReadMachineSetting("SERVER").isEmpty());
    EXPECT_EQ(label, "-");

    const QString three = tableFolder("three", {"Cereri", "Oameni", "LOG"});
    ui.folderAnswers = {three + "/"};
    EXPECT_EQ(ChangeServerFolder(ui, label), FolderResult::EndProgram);
    EXPECT_EQ(label, three);
    EXPECT_EQ(ReadMachineSetting("SERVER"), three);
    EXPECT_EQ(ui.messages.back().title, "Conectat la server");
    EXPECT_EQ(ui.messages.back().text, "Conectarea la server a reusit!\rPorniti programul din nou !");
}

TEST_F(FoldersTest, LeavingTheNetwork)
{
    QString label = " - ";
    EXPECT_EQ(LeaveServerFolder(ui, label, nullptr), FolderResult::Unchanged);
    EXPECT_EQ(ui.hints, QStringList{"Nu aveti ce sterge."});

    WriteMachineSetting("SERVER", "/srv/share");
    label = "/srv/share";
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_EQ(LeaveServerFolder(ui, label, nullptr), FolderResult::Unchanged);
    EXPECT_EQ(ReadMachineSetting("SERVER"), "/srv/share");

    ui.messageAnswers = {MessageResult::Da};
    EXPECT_EQ(LeaveServerFolder(ui, label, nullptr), FolderResult::EndProgram);
    EXPECT_EQ(label, "  -");
    EXPECT_TRUE(ReadMachineSetting("SERVER").isEmpty());
    EXPECT_EQ(ui.messages.back().text, "Sunteti deconectat de la server!\rPorniti programul din nou !");
}

TEST_F(FoldersTest, SaveFolderMustBeWritableAndKeepsFilesThere)
{
    QString label = "-";
    const QString saves = root + "/saves";
    QDir().mkpath(saves);
    // A file of the person's own named like the write test is left as it was.
    touch(saves + "/test.txt", "mine");
    ui.folderAnswers = {saves + "/"};
    EXPECT_EQ(ChangeSaveFolder(ui, label), FolderResult::Changed);
    EXPECT_EQ(label, saves);
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), saves);
    EXPECT_EQ(ui.messages.back().title, "Salvari automate");
    EXPECT_EQ(ui.messages.back().text, "Calea pentru Salvari Automate este acum \r" + saves + ".");
    EXPECT_EQ(readFile((saves + "/test.txt").toStdString()), "mine");
    EXPECT_EQ(QDir(saves).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const QString missing = root + "/no/such/folder";
    ui.folderAnswers = {missing};
    EXPECT_EQ(ChangeSaveFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(ui.messages.back().title, "Stabilire cale salvari");
    EXPECT_EQ(ui.messages.back().text, "Nu pot scrie in " + missing + " !\rAlegeti alta cale, unde sa pot scrie!");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), saves);

    // Inside the data folder, which every closing would refuse.
    const QString inside = DataFolder() + "/Salvari";
    QDir().mkpath(inside);
    ui.folderAnswers = {inside};
    EXPECT_EQ(ChangeSaveFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(ui.messages.back().text, "Nu puteti salva aici!");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), saves);
}

TEST_F(FoldersTest, NetworkModeRefusesTheSaveFolderButMaySwitchItOff)
{
    Context().dataFolder = tableFolder("share", {"Cereri", "Oameni", "Log"});
    ASSERT_TRUE(NetworkMode());
    QString label = "/saves";
    ui.folderAnswers = {root};
    EXPECT_EQ(ChangeSaveFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(ui.messages.back().text, "Numai Serverul poate salva automat!");
    EXPECT_EQ(ui.folderAnswers.size(), 1u);

    ui.messageAnswers = {MessageResult::Da};
    EXPECT_EQ(SwitchOffSaveFolder(ui, label, nullptr), FolderResult::Changed);
    EXPECT_EQ(label, "-");
    EXPECT_EQ(ReadMachineSetting("CALESALVARI"), "-");
    EXPECT_EQ(ui.messages.back().text, "Salvarea automata a fost dezactivata!");
    EXPECT_EQ(SwitchOffSaveFolder(ui, label, nullptr), FolderResult::Unchanged);
    EXPECT_EQ(ui.hints.back(), "Salvarea automata este deja dezactivata.");
}

TEST_F(FoldersTest, ReadOnlyAccessRefusesEveryFolderChange)
{
    UnlockAdmin(true);
    QString label = "/x";
    ui.folderAnswers = {root};
    ui.messageAnswers = {MessageResult::Da, MessageResult::Da, MessageResult::Da, MessageResult::Da};
    EXPECT_EQ(ChangeServerFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(LeaveServerFolder(ui, label, nullptr), FolderResult::Unchanged);
    EXPECT_EQ(ChangeSaveFolder(ui, label), FolderResult::Unchanged);
    EXPECT_EQ(SwitchOffSaveFolder(ui, label, nullptr), FolderResult::Unchanged);
    ASSERT_EQ(ui.messages.size(), 4u);
    for (const auto &m : ui.messages)
        EXPECT_EQ(m.text, "Nu aveti dreptul sa modificati datele!");
    EXPECT_EQ(label, "/x");
}

} // namespace

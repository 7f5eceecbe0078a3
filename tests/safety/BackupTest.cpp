// Save, restore, automatic save and archives opened for work, on a scratch working
// context with scripted answers.
#include "safety/Backup.h"

#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "engines/archive/Archive.h"

#include <QDir>

#include <gtest/gtest.h>

#include <set>

using namespace focaris;
using focaris::test::FakeUi;
using focaris::test::TempDir;
using focaris::test::readFile;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

fs::path p(const QString &s) { return fs::path(s.toStdString()); }

std::set<std::string> namesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// A table header with the production-index flag set, and its index file.
std::string tableBytes(const std::string &tail)
{
    std::string t(32, '\0');
    t[0] = 3;
    t[28] = 1;
    return t + tail;
}

class Backup : public ::testing::Test {
protected:
    TempDir root;
    FakeUi ui;
    fs::path data;
    void SetUp() override
    {
        InitContextForTests(root.qpath());
        data = p(DataFolder());
        writeFile(data / "Cereri.dbf", tableBytes("cereri rows"));
        writeFile(data / "Cereri.mdx", "index");
        writeFile(data / "Focaris.set", "[CONST]\r\n");
        writeFile(data / "Gol.lst", "");
    }
    QString archiveOf(const std::map<std::string, std::string> &files)
    {
        TempDir src;
        for (const auto &[name, bytes] : files)
            writeFile(src / name, bytes);
        const QString out = root.qpath() + "/in" + QString::number(counter++) + ".T21";
        archive::writeArchive(src.path(), p(out));
        return out;
    }
    int counter = 0;
};

} // namespace

TEST_F(Backup, SaveCarriesTablesWithoutIndexFlagAndNoIndexOrEmptyFiles)
{
    const QString out = root.qpath() + "/save.T21";
    writeFile(p(out), "old archive to be deleted first");
    ASSERT_TRUE(SaveArchive(ui, out));
    TempDir x;
    ASSERT_FALSE(archive::extractArchive(p(out), x.path()).failed);
    EXPECT_EQ(namesIn(x.path()), (std::set<std::string>{"Cereri.dbf", "Focaris.set"}));
    EXPECT_EQ(readFile(x / "Cereri.dbf")[28], '\0');
    EXPECT_EQ(readFile(data / "Cereri.dbf")[28], '\1');  // the data itself is untouched
    EXPECT_TRUE(fs::exists(data / "Cereri.mdx"));
    EXPECT_FALSE(ui.progressVisible);

    fs::remove(data / "Cereri.dbf");
    fs::remove(data / "Cereri.mdx");
    fs::remove(data / "Focaris.set");
    EXPECT_FALSE(SaveArchive(ui, out));
    EXPECT_EQ(ui.lastMessage(), "Nu pot scrie pe harddisk!!");
    EXPECT_FALSE(fs::exists(p(out)));
}

TEST_F(Backup, AutomaticSavesOfOneDayAreNumberedAndSwitchedOffByDash)
{
    const QString folder = root.qpath() + "/Salvari";
    WriteMachineSetting("CALESALVARI", folder);
    const QDate day(2024, 3, 5);
    ui.messageAnswers = {ResNu, ResDa};
    const auto first = AutomaticSave(ui, day);
    const auto second = AutomaticSave(ui, day);
    EXPECT_TRUE(first.saved && second.saved);
    EXPECT_EQ(first.file, folder + "/05032024_0.T21");
    EXPECT_EQ(second.file, folder + "/05032024_1.T21");
    EXPECT_FALSE(first.sendToServer);
    EXPECT_TRUE(second.sendToServer);
    EXPECT_EQ(ui.messages.back().title, "Copie la Distanta");
    EXPECT_EQ(archive::listArchive(p(second.file)).size(), 2u);
    EXPECT_TRUE(namesIn(p(TempFolder()) / "TmpFoc").empty());

    WriteMachineSetting("CALESALVARI", "-");
    const auto none = AutomaticSave(ui, day);
    EXPECT_FALSE(none.saved);
    EXPECT_EQ(namesIn(p(folder)).size(), 2u);
}

TEST_F(Backup, RestoreReplacesDataAndKeepsTheOldInDataBAK)
{
    writeFile(p(ProgramFolder()) / "DataBAK" / "stale.txt", "from an older restore");
    const QString in = archiveOf({{"CERERI.DBF", "new cereri"}, {"Oameni.dbf", "new oameni"}});
    ASSERT_TRUE(RestoreArchive(ui, in));
    EXPECT_EQ(namesIn(data), (std::set<std::string>{"CERERI.DBF", "Oameni.dbf", "Gol.lst"}));
    EXPECT_EQ(readFile(data / "CERERI.DBF"), "new cereri");
    EXPECT_EQ(namesIn(p(ProgramFolder()) / "DataBAK"),
              (std::set<std::string>{"Cereri.dbf", "Cereri.mdx", "Focaris.set"}));
    EXPECT_EQ(ui.lastMessage(), "Restaurare incheiata cu succes !\nVa rog sa porniti programul din nou !");
}

TEST_F(Backup, FailedRestoresLeaveTheOldDataComplete)
{
    const auto before = namesIn(data);
    // A truncated archive fails before anything is touched.
    const QString in = archiveOf({{"Cereri.dbf", std::string(5000, 'n')}, {"Oameni.dbf", "o"}});
    std::string bytes = readFile(p(in));
    writeFile(p(in), bytes.substr(0, bytes.size() - 20));
    EXPECT_FALSE(RestoreArchive(ui, in));
    EXPECT_EQ(ui.lastMessage(), "Restaurare esuata!");
    EXPECT_EQ(namesIn(data), before);

    // A failure in the middle of the swap (a folder stands where a new file must go) puts
    // the old files back whole.
    fs::create_directories(data / "Oameni.dbf");
    const QString in2 = archiveOf({{"Cereri.dbf", "new"}, {"Oameni.dbf", "new"}, {"Zeta.lst", "new"}});
    EXPECT_FALSE(RestoreArchive(ui, in2));
    EXPECT_EQ(ui.lastMessage(), "Restaurare esuata!");
    EXPECT_EQ(namesIn(data), (std::set<std::string>{"Cereri.dbf", "Cereri.mdx", "Focaris.set", "Gol.lst", "Oameni.dbf"}));
    EXPECT_EQ(readFile(data / "Cereri.dbf"), tableBytes("cereri rows"));
    EXPECT_EQ(readFile(data / "Focaris.set"), "[CONST]\r\n");
}

TEST_F(Backup, ManualSaveRefusesTheDataFolderAndReplacesAfterDa)
{
    ui.fileAnswers = {DataFolder() + "/x.T21"};
    EXPECT_FALSE(ManualSave(ui).saved);
    EXPECT_EQ(ui.lastMessage(), "\nNu puteti salva aici!");

    const QString target = root.qpath() + "/copie.T21";
    writeFile(p(target), "older save");
    ui.fileAnswers = {target, target};
    ui.messageAnswers = {ResNu};
    EXPECT_FALSE(ManualSave(ui).saved);
    EXPECT_EQ(readFile(p(target)), "older save");
    ui.messageAnswers = {ResDa, ResOK, ResNu};
    const auto out = ManualSave(ui);
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(archive::listArchive(p(target)).size(), 2u);
    EXPECT_EQ(ui.messages[ui.messages.size() - 2].text, "\nSalvare incheiata cu succes !");
}

TEST_F(Backup, ArchiveOpenedForWorkIsUnpackedAndSavedBack)
{
    const QString realData = DataFolder();
    const QString opened = archiveOf({{"Cereri.dbf", "from the archive"}});
    ASSERT_TRUE(OpenSaveForWork(ui, opened));
    EXPECT_NE(DataFolder(), realData);
    EXPECT_EQ(DataFolder(), ProgramFolder() + "/Data");
    EXPECT_EQ(readFile(p(DataFolder()) / "Cereri.dbf"), "from the archive");
    EXPECT_EQ(readFile(p(realData) / "Cereri.dbf"), tableBytes("cereri rows"));

    writeFile(p(DataFolder()) / "Oameni.dbf", "added while working");
    const auto saved = AutomaticSave(ui);
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.file, opened);
    EXPECT_EQ(archive::listArchive(p(opened)).size(), 2u);
}

TEST_F(Backup, ArchiveIsNeverUnpackedOverTheRealDataWhenNoScratchFolderCanBeMade)
{
    const QString realData = DataFolder();
    const QString opened = archiveOf({{"Cereri.dbf", "from the archive"}});
    writeFile(p(root.qpath()) / "blocker", "a file where the temporary folder should be");
    Context().tempFolder = root.qpath() + "/blocker/Temp";
    EXPECT_FALSE(OpenSaveForWork(ui, opened));
    EXPECT_EQ(DataFolder(), realData);
    EXPECT_TRUE(OpenedSave().isEmpty());
    EXPECT_EQ(readFile(p(realData) / "Cereri.dbf"), tableBytes("cereri rows"));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().kind, MsgError);
}

TEST_F(Backup, IncompletelyOpenedArchiveIsNotOverwrittenAtClose)
{
    const QString opened = archiveOf({{"Cereri.dbf", "first"}, {"Oameni.dbf", std::string(4000, 'o')}});
    std::string bytes = readFile(p(opened));
    bytes.resize(bytes.size() - 10);
    writeFile(p(opened), bytes);
    EXPECT_FALSE(OpenSaveForWork(ui, opened));
    EXPECT_EQ(readFile(p(DataFolder()) / "Cereri.dbf"), "first");

    const QString folder = root.qpath() + "/Salvari";
    WriteMachineSetting("CALESALVARI", folder);
    const auto saved = AutomaticSave(ui, QDate(2024, 1, 2));
    EXPECT_TRUE(saved.saved);
    EXPECT_EQ(saved.file, folder + "/02012024_0.T21");
    EXPECT_EQ(readFile(p(opened)), bytes);
}

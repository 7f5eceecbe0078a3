// Save, restore, automatic save and archives opened for work, on a scratch working
// context with scripted answers.
#include "safety/Backup.h"

#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "engines/archive/Archive.h"
#include "engines/dbase/DbfTable.h"
#include "safety/SavePlace.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include <map>
#include <set>

using namespace focaris;
using focaris::test::FakeUi;
using focaris::test::readFile;
using focaris::test::TempDir;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

fs::path p(const QString &s)
{
    return fs::path(s.toStdString());
}

std::set<std::string> namesIn(const fs::path &folder)
{
    std::set<std::string> names;
    for (const auto &e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

std::map<std::string, std::string> contentsOf(const fs::path &folder)
{
    std::map<std::string, std::string> files;
    for (const auto &e : fs::directory_iterator(folder))
        if (e.is_regular_file())
            files[e.path().filename().string()] = readFile(e.path());
    return files;
}

// A table header with the production-index flag set, and its index file.
std::string tableBytes(const std::string &tail)
{
    std::string t(32, '\0');
    t[0] = 3;
    t[28] = 1;
    return t + tail;
}

// A table the engine reads, of one row holding `text`: a restore takes only archives that
// hold the program's tables.
std::string tableWith(const std::string &text)
{
    TempDir t;
    const fs::path f = t / "T.dbf";
    dbf::DbfTable::create(f, {dbf::ColumnDef::charColumn("NUME", 20)});
    dbf::DbfTable(f).append({dbf::Value::fromText(text)});
    return readFile(f);
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
    EXPECT_EQ(readFile(data / "Cereri.dbf")[28], '\1'); // the data itself is untouched
    EXPECT_TRUE(fs::exists(data / "Cereri.mdx"));
    EXPECT_FALSE(ui.progressVisible);

    fs::remove(data / "Cereri.dbf");
    fs::remove(data / "Cereri.mdx");
    fs::remove(data / "Focaris.set");
    EXPECT_FALSE(SaveArchive(ui, out));
    EXPECT_EQ(ui.lastMessage(), "Nu pot scrie pe harddisk!!");
    EXPECT_FALSE(fs::exists(p(out)));
}

TEST_F(Backup, ALargeTableKeepsTheProgressWindowPaintedWithoutExtraSteps)
{
    // 9 MiB of one file (a workbook, whose bytes the save keeps as they are): written in
    // parts on a machine of several cores, each part repaints the window with its text;
    // the bar still moves once per file after the first.
    std::string table;
    for (unsigned i = 0; table.size() < (9u << 20); ++i)
        table += "POPESCU ION " + std::to_string(i * 7919u % 100003u) + " ";
    writeFile(data / "Anexa.xls", table);
    const QString out = root.qpath() + "/mare.T21";
    ASSERT_TRUE(SaveArchive(ui, out));
    EXPECT_EQ(ui.progressSteps, 2);
    const auto texts = std::count(ui.progressTexts.begin(), ui.progressTexts.end(), QString("Salvez datele..."));
    EXPECT_GE(texts, std::thread::hardware_concurrency() > 1 ? 2 : 1);
    TempDir x;
    ASSERT_FALSE(archive::extractArchive(p(out), x.path()).failed);
    EXPECT_TRUE(readFile(x / "Anexa.xls") == table);
}

TEST_F(Backup, AutomaticSavesOfOneDayAreNumberedAndSwitchedOffByDash)
{
    const QString folder = root.qpath() + "/Salvari";
    WriteMachineSetting("CALESALVARI", folder);
    const QDate day(2024, 3, 5);
    ui.messageAnswers = {MessageResult::Nu, MessageResult::Da};
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
    const QString in = archiveOf({{"CERERI.DBF", tableWith("new cereri")}, {"Oameni.dbf", tableWith("new oameni")}});
    ASSERT_TRUE(RestoreArchive(ui, in));
    EXPECT_EQ(namesIn(data), (std::set<std::string>{"CERERI.DBF", "Oameni.dbf", "Gol.lst"}));
    EXPECT_EQ(readFile(data / "CERERI.DBF"), tableWith("new cereri"));
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
    const auto bytesBefore = contentsOf(data);
    EXPECT_FALSE(RestoreArchive(ui, in));
    EXPECT_EQ(ui.lastMessage(), "Restaurare esuata!");
    EXPECT_EQ(namesIn(data), before);
    EXPECT_EQ(contentsOf(data), bytesBefore);

    // A failure in the middle of the swap (a folder stands where a new file must go) puts
    // the old files back whole.
    fs::create_directories(data / "Oameni.dbf");
    const QString in2 =
        archiveOf({{"Cereri.dbf", tableWith("new")}, {"Oameni.dbf", tableWith("new")}, {"Zeta.lst", "new"}});
    EXPECT_FALSE(RestoreArchive(ui, in2));
    EXPECT_EQ(ui.lastMessage(), "Restaurare esuata!");
    EXPECT_EQ(namesIn(data),
              (std::set<std::string>{"Cereri.dbf", "Cereri.mdx", "Focaris.set", "Gol.lst", "Oameni.dbf"}));
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
    ui.messageAnswers = {MessageResult::Nu};
    EXPECT_FALSE(ManualSave(ui).saved);
    EXPECT_EQ(readFile(p(target)), "older save");
    ui.messageAnswers = {MessageResult::Da, MessageResult::OK, MessageResult::Nu};
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
    EXPECT_EQ(ui.messages.back().kind, MessageKind::Error);
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

TEST_F(Backup, AFileMissingFromTheScratchCopyFailsTheSave)
{
    // Another computer takes a table away while the copy is made: the archive would miss
    // it, so the save fails instead of reporting success.
    BeforeScratchCopy = [](const QString &file) {
        if (file.endsWith("Focaris.set"))
            QFile::remove(file);
    };
    const QString target = root.qpath() + "/copie.T21";
    ui.fileAnswers = {target};
    const auto out = ManualSave(ui);
    BeforeScratchCopy = {};
    EXPECT_FALSE(out.saved);
    EXPECT_FALSE(fs::exists(p(target)));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.lastMessage(), "\nNu pot scrie pe harddisk!!");
    for (const auto &m : ui.messages)
        EXPECT_NE(m.text, "\nSalvare incheiata cu succes !");
    EXPECT_TRUE(namesIn(p(TempFolder())).count("SaveRA0") == 0);

    // The chosen folder is gone (a stick pulled out): the save's message, not an error
    // thrown at the window, and no archive left in the temporary folder.
    ui.messages.clear();
    ui.fileAnswers = {root.qpath() + "/stick/scos/copie.T21"};
    bool saved = true;
    EXPECT_NO_THROW(saved = ManualSave(ui).saved);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ui.lastMessage(), "\nNu pot scrie pe harddisk!!");
    EXPECT_EQ(ui.messages.back().title, "Salvare");
    for (const auto &name : namesIn(p(TempFolder())))
        EXPECT_EQ(name.find("SaveTmp"), std::string::npos) << name;
}

TEST_F(Backup, SavesAreRefusedInTheDataTempAndBackupFoldersHoweverSpelled)
{
    fs::create_directories(p(ProgramFolder()) / "DataBAK");
    fs::create_directories(p(TempFolder()) / "TmpFoc");
    fs::create_directory_symlink(data, p(root.qpath()) / "scurtatura");
    const QStringList refused{DataFolder() + "/x.T21",
                              DataFolder() + "/../Data/./x.T21",
                              DataFolder() + "//x",
                              root.qpath() + "/scurtatura/x.T21",
                              root.qpath() + "/DATA/x.T21",
                              TempFolder() + "/TmpFoc/x.T21",
                              ProgramFolder() + "/DataBAK/x.T21"};
    for (const QString &file : refused) {
        ui.messages.clear();
        EXPECT_FALSE(SaveCopyTo(ui, file).saved) << file.toStdString();
        ASSERT_EQ(ui.messages.size(), 1u) << file.toStdString();
        EXPECT_EQ(ui.messages[0].title, "Salvare date");
        EXPECT_EQ(ui.messages[0].text, "\nNu puteti salva aici!");
    }
    EXPECT_EQ(namesIn(data), (std::set<std::string>{"Cereri.dbf", "Cereri.mdx", "Focaris.set", "Gol.lst"}));
    EXPECT_FALSE(ForbiddenSavePlace(root.qpath()));
    EXPECT_FALSE(ForbiddenSavePlace(root.qpath() + "/Data2"));

    // An automatic save folder inside the data folder is refused the same way; the save
    // before destroying rows then goes to the temporary folder instead.
    WriteMachineSetting("CALESALVARI", DataFolder() + "/Salvari");
    ui.messages.clear();
    EXPECT_FALSE(AutomaticSave(ui, QDate(2024, 3, 5)).saved);
    EXPECT_EQ(ui.lastMessage(), "\nNu puteti salva aici!");
    EXPECT_FALSE(fs::exists(data / "Salvari"));
    const QString safety = SaveBeforeDestroying(ui, QDate(2024, 3, 5));
    EXPECT_EQ(safety, TempFolder() + "/05032024_0.T21");
}

TEST_F(Backup, RestoresAreRefusedWithoutThePasswordButSavingIsAllowed)
{
    SetReadOnlyAccess(true);
    const auto before = contentsOf(data);
    const QString in = archiveOf({{"Cereri.dbf", "other"}});
    ui.fileAnswers = {in};
    ui.messageAnswers = {MessageResult::Da};
    EXPECT_FALSE(RestoreFromBackupWindow(ui));
    ASSERT_EQ(ui.messages.size(), 1u); // refused before the question
    EXPECT_EQ(ui.messages[0].text, "Nu aveti dreptul sa modificati datele!");
    EXPECT_FALSE(RestoreArchive(ui, in));
    EXPECT_EQ(ui.lastMessage(), "Nu aveti dreptul sa modificati datele!");
    EXPECT_EQ(contentsOf(data), before);

    ui.messageAnswers = {MessageResult::OK, MessageResult::Nu};
    EXPECT_TRUE(SaveCopyTo(ui, root.qpath() + "/vizitator.T21").saved);
    SetReadOnlyAccess(false);
}

TEST_F(Backup, FailedWriteBackIntoTheOpenedArchiveOffersAnotherPlace)
{
    // The archive opened for work sits on a stick that is pulled out before closing.
    const QString stick = root.qpath() + "/stick";
    QDir().mkpath(stick);
    const QString opened = stick + "/Lucru.T21";
    archive::writeArchive(data, p(opened));
    ASSERT_TRUE(OpenSaveForWork(ui, opened));
    writeFile(p(DataFolder()) / "Oameni.dbf", "work of the day");
    fs::remove_all(p(stick));

    const QString elsewhere = root.qpath() + "/Salvat.T21";
    ui.fileAnswers = {TempFolder() + "/aici.T21", elsewhere};
    ui.messageAnswers = {MessageResult::OK, MessageResult::OK, MessageResult::Nu};
    const auto out = AutomaticSave(ui);
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(out.file, elsewhere);
    ASSERT_GE(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "\nEroare la salvare!");
    EXPECT_EQ(ui.messages[1].text, "\nNu puteti salva aici!");
    EXPECT_EQ(ui.messages.back().title, "Copie la Distanta");
    TempDir x;
    ASSERT_FALSE(archive::extractArchive(p(elsewhere), x.path()).failed);
    EXPECT_EQ(readFile(x / "Oameni.dbf"), "work of the day");
    EXPECT_TRUE(namesIn(p(TempFolder()) / "TmpFoc").empty());

    // Cancelled: nothing saved, and the caller keeps the unpacked copy.
    ui.messages.clear();
    ui.messageAnswers = {MessageResult::OK};
    EXPECT_FALSE(AutomaticSave(ui).saved);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(p(DataFolder()) / "Oameni.dbf"));
}

// The save made before an operation destroys rows uses zlib's fastest level; it must read
// back as any archive does: every file, the tables without their index flag.
TEST_F(Backup, TheSaveBeforeDestroyingReadsBackAsTheDataFolder)
{
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "POPESCU ION          STR. PRINCIPALA " + std::to_string(i) + "\r\n";
    writeFile(data / "Mare.lst", big);
    const QString safety = SaveBeforeDestroying(ui, QDate(2024, 3, 6));
    ASSERT_FALSE(safety.isEmpty()) << ui.lastMessage().toStdString();
    TempDir out;
    const auto result = archive::extractArchive(p(safety), out.path());
    EXPECT_FALSE(result.failed);
    auto expected = contentsOf(data);
    expected.erase("Cereri.mdx");
    expected.erase("Gol.lst");
    expected["Cereri.dbf"][28] = 0;
    EXPECT_EQ(contentsOf(out.path()), expected);
}

// A restore cut short, and what interrupted writes leave behind: the scratch files are
// never taken for data, never saved, and removed by the next start; a restore ended at any
// of its changes leaves the old data or the new, and the next restore works.
#include "safety/Backup.h"
#include "safety/FolderSwap.h"

#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "engines/archive/Archive.h"
#include "engines/dbase/DbfTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace focaris;
using focaris::test::FakeUi;
using focaris::test::readFile;
using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::TempDir;
using focaris::test::toolPath;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

fs::path p(const QString &s)
{
    return fs::path(s.toStdString());
}

// A table of the program's layout ("Cereri.dbf" or "Oameni.dbf") with one row naming `text`.
void makeTable(const fs::path &file, const std::string &text)
{
    const bool applications = file.filename() == "Cereri.dbf";
    const QString path = QString::fromStdString(file.string());
    applications ? CreateApplicationsTable(path) : CreateMembersTable(path);
    dbf::DbfTable t(file);
    dbf::Record row(t.fields().size());
    row[std::size_t(t.fieldIndex("NRCRT"))] = dbf::Value::fromNumber(1);
    row[std::size_t(t.fieldIndex(applications ? "SUBSEMN" : "TITULAR"))] = dbf::Value::fromText(text);
    t.append(row);
}

std::map<std::string, std::string> contentsOf(const fs::path &folder)
{
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(folder, ec))
        if (e.is_regular_file())
            files[e.path().filename().string()] = readFile(e.path());
    return files;
}

std::set<std::string> entriesOf(const fs::path &folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator(folder, ec))
        names.insert(e.path().filename().string());
    return names;
}

// An archive of the program's two tables holding `text`, with one more file.
fs::path archiveWith(const fs::path &where, const std::string &text)
{
    TempDir src;
    makeTable(src / "Cereri.dbf", text);
    makeTable(src / "Oameni.dbf", text);
    writeFile(src / "Luni.lst", text + "\r\n");
    const fs::path out = where / (text + ".T21");
    archive::writeArchive(src.path(), out);
    return out;
}

class RestoreCrash : public ::testing::Test {
protected:
    TempDir root;
    FakeUi ui;
    fs::path data;
    void SetUp() override
    {
        InitContextForTests(root.qpath());
        data = p(DataFolder());
        makeTable(data / "Cereri.dbf", "vechi");
        makeTable(data / "Oameni.dbf", "vechi");
        writeFile(data / "Focaris.set", "[CONST]\r\n");
    }
};

} // namespace

TEST_F(RestoreCrash, LeftoversOfEveryScratchKindAreNeitherDataNorSavedAndTheStartRemovesThem)
{
    const fs::path program = p(ProgramFolder());
    const fs::path saves = program / "Salvari";
    WriteMachineSetting("CALESALVARI", QString::fromStdString(saves.string()));
    const std::set<std::string> scratch{".restore-0.tmp",           ".restore-1.tmp",      ".Focaris.restore.Ab12Cd",
                                        ".Focaris.restore.journal", ".Focaris.set.Xy12Zw", ".Cereri.dbf.rebuild",
                                        ".Oameni.dbf.new"};
    for (const auto &name : scratch)
        writeFile(data / name, "leftover");
    writeFile(program / ".Local.set.Qw12Er", "leftover");
    writeFile(program / "DataBAK.new.Zx12Cv" / "Cereri.dbf", "half a DataBAK");
    writeFile(saves / "05032024_0.T21.part", "half a copy");
    writeFile(saves / ".05032024_1.T21.part.Po09Iu", "half a copy");
    writeFile(saves / "05032024_2.T21", "a finished copy");

    // A save carries none of them.
    const QString save = root.qpath() + "/copie.T21";
    ASSERT_TRUE(SaveArchive(ui, save));
    std::set<std::string> saved;
    for (const auto &m : archive::listArchive(p(save)))
        saved.insert(m.name);
    EXPECT_EQ(saved, (std::set<std::string>{"Cereri.dbf", "Oameni.dbf", "Focaris.set"}));

    // A restore over them succeeds, and neither the data folder nor DataBAK keeps them.
    ASSERT_TRUE(RestoreArchive(ui, QString::fromStdString(archiveWith(root.path(), "nou").string())))
        << ui.lastMessage().toStdString();
    EXPECT_EQ(entriesOf(data), (std::set<std::string>{"Cereri.dbf", "Oameni.dbf", "Luni.lst"}));
    EXPECT_EQ(entriesOf(program / "DataBAK"), (std::set<std::string>{"Cereri.dbf", "Oameni.dbf", "Focaris.set"}));

    // The start removes the rest, and only the leftovers.
    for (const auto &name : scratch)
        writeFile(data / name, "leftover");
    RemoveLeftovers();
    EXPECT_EQ(entriesOf(data), (std::set<std::string>{"Cereri.dbf", "Oameni.dbf", "Luni.lst"}));
    EXPECT_EQ(entriesOf(saves), (std::set<std::string>{"05032024_2.T21"}));
    EXPECT_FALSE(fs::exists(program / ".Local.set.Qw12Er"));
    EXPECT_FALSE(fs::exists(program / "DataBAK.new.Zx12Cv"));
}

TEST_F(RestoreCrash, AnArchiveWithoutTheProgramsTablesChangesNothing)
{
    const auto before = contentsOf(data);
    TempDir src;
    writeFile(src / "note.txt", "alte fisiere");
    makeTable(src / "Cereri.dbf", "doar cereri");
    const fs::path other = root / "alte.T21";
    archive::writeArchive(src.path(), other);
    writeFile(p(ProgramFolder()) / "DataBAK" / "Cereri.dbf", "the previous DataBAK");
    EXPECT_FALSE(RestoreArchive(ui, QString::fromStdString(other.string())));
    EXPECT_EQ(ui.lastMessage(), "Arhiva nu contine datele programului!");
    EXPECT_EQ(contentsOf(data), before);
    EXPECT_EQ(readFile(p(ProgramFolder()) / "DataBAK" / "Cereri.dbf"), "the previous DataBAK");
}

// focaris-tool restores with the process ended at each change it makes; the start that
// follows finds the old data with the previous DataBAK, or the new data with the old in
// DataBAK, never a mix, and a second restore then works.
TEST_F(RestoreCrash, ARestoreEndedAtEachChangeIsWholeAfterTheNextStart)
{
    const fs::path inst = root / "inst";
    const fs::path folder = inst / "Data";
    fs::create_directories(folder);
    makeTable(folder / "Cereri.dbf", "vechi");
    makeTable(folder / "Oameni.dbf", "vechi");
    writeFile(inst / "DataBAK" / "Cereri.dbf", "the previous DataBAK");
    const fs::path pristine = root / "pristine";
    fs::copy(inst, pristine, fs::copy_options::recursive);
    const fs::path archive = archiveWith(root.path(), "nou");
    const std::string tool = shellQuote(toolPath());
    const std::string env = "FOCARIS_MACHINE_DIR=" + shellQuote((root / "machine").string()) +
                            " FOCARIS_CRASH_ROOT=" + shellQuote(inst.string()) + " ";
    const std::string restore = tool + " backup restore " + shellQuote(folder.string()) + " " +
                                shellQuote(archive.string()) + " --yes >/dev/null 2>&1";
    const std::string start = tool + " store init " + shellQuote(folder.string()) + " >/dev/null 2>&1";

    const auto oldData = contentsOf(folder);
    const auto oldBak = contentsOf(inst / "DataBAK");
    const fs::path countFile = root / "count.txt";
    ASSERT_EQ(run(env + "FOCARIS_CRASH_COUNT=" + shellQuote(countFile.string()) + " " + restore), 0);
    const auto newData = contentsOf(folder);
    const int count = std::stoi(readFile(countFile));
    ASSERT_GT(count, 5);

    int sawOld = 0, sawNew = 0;
    for (int n = 1; n <= count; ++n) {
        fs::remove_all(inst);
        fs::copy(pristine, inst, fs::copy_options::recursive);
        const int status = run(env + "FOCARIS_CRASH_AT=" + std::to_string(n) + " " + restore);
        ASSERT_NE(status, 0) << "the restore was not ended at change " << n;
        ASSERT_EQ(run(start), 0);
        auto afterData = contentsOf(folder);
        const auto afterBak = contentsOf(inst / "DataBAK");
        // `store init` adds what a start adds to any folder (templates, missing tables).
        auto same = [](const auto &now, const auto &want) {
            for (const auto &[name, bytes] : want) {
                const auto it = now.find(name);
                if (it == now.end() || (name != "Focaris.set" && it->second != bytes))
                    return false;
            }
            return true;
        };
        if (afterData["Cereri.dbf"] == newData.at("Cereri.dbf")) {
            ++sawNew;
            EXPECT_TRUE(same(afterData, newData)) << "a mix at change " << n;
            EXPECT_TRUE(same(afterBak, oldData)) << "change " << n;
        } else {
            ++sawOld;
            EXPECT_TRUE(same(afterData, oldData) && afterData["Luni.lst"] != newData.at("Luni.lst"))
                << "a mix at change " << n;
            EXPECT_EQ(afterBak, oldBak) << "change " << n;
        }
        for (const auto &name : entriesOf(folder))
            EXPECT_FALSE(IsScratchFileName(QString::fromStdString(name))) << name << " at change " << n;
        for (const auto &name : entriesOf(inst))
            EXPECT_EQ(name.find("DataBAK."), std::string::npos) << name << " at change " << n;
        ASSERT_EQ(run(env + restore), 0) << "the restore after a crash at change " << n;
        EXPECT_TRUE(same(contentsOf(folder), newData));
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

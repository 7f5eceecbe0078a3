// focaris-tool backup save, restore and auto on a scratch installation: the same
// operations as the backup window, answered from the command line.
#include "TestSupport.h"

#include "core/Settings.h"
#include "engines/archive/Archive.h"
#include "engines/dbase/DbfTable.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace focaris;
using focaris::test::readFile;
using focaris::test::run;
using focaris::test::shellQuote;
using focaris::test::TempDir;
using focaris::test::toolPath;
using focaris::test::writeFile;
namespace fs = std::filesystem;

namespace {

class BackupTool : public ::testing::Test {
protected:
    TempDir root;
    fs::path data;
    void SetUp() override
    {
        data = root / "Data";
        std::string table(40, '\0');
        table[0] = 3;
        table[28] = 1;
        writeFile(data / "Cereri.dbf", table);
        writeFile(data / "Cereri.mdx", "index");
        writeFile(data / "Focaris.set", "[CONST]\r\n");
        qputenv("FOCARIS_MACHINE_DIR", (root / "machine").string().c_str());
        // An earlier test may have left the process in a folder that is gone.
        fs::current_path(root.path());
    }
    int tool(const std::string &args, std::string *out = nullptr)
    {
        return run(shellQuote(toolPath()) + " backup " + args, out, true);
    }
    std::string q(const fs::path &path) { return shellQuote(path.string()); }
};

TEST_F(BackupTool, SaveAsksBeforeReplacingAndRefusesTheDataFolder)
{
    const fs::path target = root / "copie.T21";
    std::string out;
    ASSERT_EQ(tool("save " + q(data) + " " + q(target), &out), 0) << out;
    EXPECT_NE(out.find("Informatie: Salvare incheiata cu succes !"), std::string::npos);
    EXPECT_NE(out.find("Cereri.dbf\t40"), std::string::npos);
    EXPECT_EQ(out.find("Cereri.mdx"), std::string::npos);
    const auto members = archive::listArchive(target);
    EXPECT_EQ(members.size(), 2u);

    // Without --yes the existing archive is kept; with it, replaced.
    writeFile(root / "old.T21", "older save");
    EXPECT_EQ(tool("save " + q(data) + " " + q(root / "old.T21"), &out), 1);
    EXPECT_EQ(readFile(root / "old.T21"), "older save");
    EXPECT_EQ(tool("save " + q(data) + " " + q(root / "old.T21") + " --yes", &out), 0) << out;
    EXPECT_EQ(archive::listArchive(root / "old.T21").size(), 2u);

    EXPECT_EQ(tool("save " + q(data) + " " + q(data / "x.T21"), &out), 1);
    EXPECT_NE(out.find("Salvare date: Nu puteti salva aici!"), std::string::npos);
    EXPECT_FALSE(fs::exists(data / "x.T21"));
}

TEST_F(BackupTool, RestoreKeepsTheReplacedFilesAndRefusesADamagedArchive)
{
    TempDir src;
    for (const char *name : {"Oameni.dbf", "Cereri.dbf"}) {
        dbf::DbfTable::create(src / name, {dbf::ColumnDef::charColumn("NUME", 20)});
        dbf::DbfTable(src / name).append({dbf::Value::fromText("restored")});
    }
    const std::string restored = readFile(src / "Oameni.dbf");
    const fs::path in = root / "in.T21";
    archive::writeArchive(src.path(), in);

    std::string out;
    EXPECT_EQ(tool("restore " + q(data) + " " + q(in), &out), 1); // the question got "Nu"
    EXPECT_TRUE(fs::exists(data / "Cereri.dbf"));

    std::string bytes = readFile(in);
    writeFile(root / "cut.T21", bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(tool("restore " + q(data) + " " + q(root / "cut.T21") + " --yes", &out), 1);
    EXPECT_NE(out.find("Restaurare date: Restaurare esuata!"), std::string::npos);
    EXPECT_TRUE(fs::exists(data / "Cereri.dbf"));

    ASSERT_EQ(tool("restore " + q(data) + " " + q(in) + " --yes", &out), 0) << out;
    EXPECT_NE(out.find("Oameni.dbf\t" + std::to_string(restored.size())), std::string::npos) << out;
    EXPECT_EQ(readFile(data / "Oameni.dbf"), restored);
    EXPECT_FALSE(fs::exists(data / "Cereri.mdx"));
    EXPECT_TRUE(fs::exists(root / "DataBAK" / "Cereri.mdx"));
}

TEST_F(BackupTool, AutomaticSaveNumbersTheDaysArchives)
{
    std::string out;
    EXPECT_EQ(tool("auto " + q(data), &out), 1); // no automatic save folder yet
    ResetMachineSettingsLocation();
    WriteMachineSetting("CALESALVARI", QString::fromStdString((root / "Salvari").string()));
    const std::string day = QDate::currentDate().toString("ddMMyyyy").toStdString();
    ASSERT_EQ(tool("auto " + q(data), &out), 0) << out;
    EXPECT_NE(out.find("archive=" + (root / "Salvari" / (day + "_0.T21")).string()), std::string::npos) << out;
    ASSERT_EQ(tool("auto " + q(data), &out), 0) << out;
    EXPECT_NE(out.find(day + "_1.T21"), std::string::npos) << out;
    EXPECT_EQ(archive::listArchive(root / "Salvari" / (day + "_1.T21")).size(), 2u);

    // A folder inside the data folder is refused.
    WriteMachineSetting("CALESALVARI", QString::fromStdString((data / "Salvari").string()));
    EXPECT_EQ(tool("auto " + q(data), &out), 1);
    EXPECT_NE(out.find("Salvare automata: Nu puteti salva aici!"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(data / "Salvari"));
}

} // namespace

// The tool takes its program folder as the program does: FOCARIS_HOME when set (there go
// "DataBAK" and the refusal of its Temp), the folder above FOLDER otherwise.
TEST_F(BackupTool, ProgramFolderIsFocarisHomeWhenSet)
{
    const fs::path home = root / "home";
    fs::create_directories(home / "Temp");
    // A restore takes only an archive of the program's tables.
    for (const char *name : {"Oameni.dbf", "Cereri.dbf"}) {
        fs::remove(data / name);
        dbf::DbfTable::create(data / name, {dbf::ColumnDef::charColumn("NUME", 20)});
    }
    const fs::path archive = root / "copie.T21";
    std::string out;
    ASSERT_EQ(tool("save " + q(data) + " " + q(archive), &out), 0) << out;
    ASSERT_EQ(run("FOCARIS_HOME=" + q(home) + " " + shellQuote(toolPath()) + " backup restore " + q(data) + " " +
                      q(archive) + " --yes",
                  &out, true),
              0)
        << out;
    EXPECT_TRUE(fs::exists(home / "DataBAK" / "Cereri.dbf"));
    EXPECT_FALSE(fs::exists(root / "DataBAK"));
    EXPECT_EQ(run("FOCARIS_HOME=" + q(home) + " " + shellQuote(toolPath()) + " backup save " + q(data) + " " +
                      q(home / "Temp" / "x.T21"),
                  &out, true),
              1);
    EXPECT_NE(out.find("Nu puteti salva aici!"), std::string::npos) << out;
    ASSERT_EQ(run("env -u FOCARIS_HOME " + shellQuote(toolPath()) + " backup restore " + q(data) + " " + q(archive) +
                      " --yes",
                  &out, true),
              0)
        << out;
    EXPECT_TRUE(fs::exists(root / "DataBAK" / "Cereri.dbf"));
    ASSERT_EQ(run(shellQuote(toolPath()) + " help", &out, true), 0);
    EXPECT_NE(out.find("FOCARIS_HOME"), std::string::npos);
}

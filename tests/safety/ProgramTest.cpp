// The backup windows inside the whole program run: the closing questions of a run on an
// opened archive with the copy sent to the server, and a restore from an archive written
// by an independent writer, after which the program ends and the next start works on
// the restored tables.
#include "GuiFixture.h"
#include "LoopbackServer.h"

#include "core/DataStore.h"
#include "core/Tables.h"
#include "engines/archive/Archive.h"
#include "gui/shell/Program.h"
#include "gui/shell/SafetyWiring.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <map>

using namespace focaris;
using namespace focaris::test;
namespace fs = std::filesystem;

namespace {

// Answers each message by its title; the rest as Escape. Every message is recorded.
class TitledUi : public FakeUi {
public:
    std::map<QString, MessageResult> answers;
    MessageResult message(const QString &title, const QString &text, MessageKind kind, MessageButtons buttons) override
    {
        messages.push_back({title, text, kind, buttons});
        const auto it = answers.find(title);
        return it == answers.end() ? MessageResult::Renunt : it->second;
    }
    bool asked(const QString &title) const
    {
        for (const auto &m : messages)
            if (m.title == title)
                return true;
        return false;
    }
};

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = tmp.qpath() + "/run";
        qputenv("FOCARIS_HOME", home.toLocal8Bit());
        qputenv("FOCARIS_MACHINE_DIR", (tmp.qpath() + "/machine").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (tmp.qpath() + "/xdg").toLocal8Bit());
        qputenv("FOCARIS_SAVE_ROOTS", "");
        ResetMachineSettingsLocation();
        WriteMachineSetting("CALESALVARI", tmp.qpath() + "/Salvari");
        QDir::setCurrent(tmp.qpath());
    }
    void TearDown() override { qunsetenv("FOCARIS_HOME"); }

    // Runs the program with `arguments`; `drive` is called every few milliseconds while
    // the run lasts, to act as the clerk on whatever window is open.
    void runProgram(gui::Program &program, const QStringList &arguments, const std::function<void()> &drive)
    {
        QTimer driver;
        bool inside = false;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (inside)
                return;
            inside = true;
            drive();
            inside = false;
        });
        driver.start(10);
        program.runAll(home + "/focaris", arguments);
    }

    TempDir tmp;
    QString home;
    TitledUi ui;
};

TEST_F(ProgramRun, ClosingAnOpenedArchiveSavesItBackAndSendsItToTheServer)
{
    TempDir storage;
    Server server(storage.qpath());
    // An account already confirmed on the server.
    InitContextForTests(tmp.qpath() + "/setup");
    {
        FakeUi quiet;
        remote::RemoteCopy rc(quiet);
        rc.server = remote::ServerAddress{"127.0.0.1", server.port};
        rc.email = "ioana@vulcan.ro";
        rc.password = "BUNA";
        rc.login();
        ASSERT_EQ(rc.confirm(server.code()), remote::RemoteCopy::Login::Ready);
    }
    TempDir work;
    writeFile(work / "Luni.lst", "03.2024\r\n");
    const QString opened = tmp.qpath() + "/Lucru.T21";
    archive::writeArchive(work.path(), opened.toStdString());

    ui.answers = {{"Salvare modificari", MessageResult::Da}, {"Copie la Distanta", MessageResult::Da}};
    gui::Program program(&ui);
    gui::SafetyWindows *windows = gui::SafetyWindowsOf(program);
    ASSERT_NE(windows, nullptr);
    windows->remote.remote().server = remote::ServerAddress{"127.0.0.1", server.port};
    bool closed = false, loggedIn = false;
    QString unpacked;
    runProgram(program, {opened}, [&] {
        gui::RemoteCopyWindow &w = windows->remote;
        if (w.isVisible() && !loggedIn) {
            loggedIn = true;
            QTest::keyClicks(w.field("Email"), "ioana@vulcan.ro");
            QTest::keyClicks(w.field("Pass"), "buna");
            QTest::mouseClick(w.button("LoginButton"), Qt::LeftButton);
        } else if (program.mainWindow().isVisible() && !closed) {
            closed = true;
            unpacked = ProgramFolder();
            writeFile(fs::path(DataFolder().toStdString()) / "Oameni.dbf", "work of the day");
            program.clickAdmin();
            program.mainWindow().close();
        }
    });
    ASSERT_TRUE(closed);
    EXPECT_TRUE(loggedIn);
    EXPECT_TRUE(ui.asked("Salvare modificari"));
    // The work went back into the archive, and the unpacked copy is gone.
    TempDir back;
    ASSERT_FALSE(archive::extractArchive(opened.toStdString(), back.path()).failed);
    EXPECT_EQ(readFile(back / "Oameni.dbf"), "work of the day");
    EXPECT_FALSE(QFileInfo::exists(unpacked));
    // The same archive is on the server with the note of the save at closing.
    InitContextForTests(tmp.qpath() + "/after");
    FakeUi quiet;
    remote::RemoteCopy rc(quiet);
    rc.server = remote::ServerAddress{"127.0.0.1", server.port};
    rc.email = "ioana@vulcan.ro";
    rc.password = "BUNA";
    const auto list = rc.listCopies();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1);
    EXPECT_EQ(list->at(0).note, "Salvare la inchiderea programului.");
    EXPECT_EQ(readFile(rc.fetchCopy(list->at(0).id).toStdString()), readFile(opened.toStdString()));
}

// Cereri.dbf with the program's columns and one application, written by python3-dbf, and
// the ".T21" archive around it written with Python's zlib: nothing of this program.
const char *kWriter = R"(
import dbf, os, re, struct, sys, zlib
folder, columns, target = sys.argv[1], sys.argv[2], sys.argv[3]
specs = []
for col in columns.split(', '):
    name, kind = col.split(' ', 1)
    m = re.match(r'DECIMAL\((\d+),(\d+)\)', kind)
    if m: specs.append('%s N(%s,%s)' % (name, m.group(1), m.group(2)))
    elif kind == 'DATE': specs.append(name + ' D')
    else: specs.append('%s C(%s)' % (name, re.match(r'CHAR\((\d+)\)', kind).group(1)))
t = dbf.Table(os.path.join(folder, 'Cereri.dbf'), '; '.join(specs), dbf_type='db3', codepage='cp1250')
t.open(dbf.READ_WRITE)
t.append({'nrcrt': 7, 'lunacrt': 24290, 'subsemn': 'POPESCU ION', 'cnp': '1800101123456', 'statut': 'APROBAT'})
t.close()
m = dbf.Table(os.path.join(folder, 'Oameni.dbf'), 'NROM N(10,0); NRCRT N(10,0); TITULAR C(40); CNP C(13); VENIT N(10,2); CALITATE C(20)', dbf_type='db3', codepage='cp1250')
m.open(dbf.READ_WRITE)
m.append({'nrom': 1, 'nrcrt': 7, 'titular': 'POPESCU ION', 'cnp': '1800101123456', 'calitate': 'titular'})
m.close()
with open(os.path.join(folder, 'Focaris.set'), 'wb') as f:
    f.write(b'[VARIABILE]\r\nLUNA_LUCRU=03.2024\r\n')
names = sorted(os.listdir(folder))
with open(target, 'wb') as out:
    out.write(struct.pack('<i', len(names)))
    for n in names:
        data = open(os.path.join(folder, n), 'rb').read()
        out.write(struct.pack('<i', len(n)) + n.encode('cp1250') + struct.pack('<i', len(data)))
        out.write(zlib.compress(data, 9))
)";

TEST_F(ProgramRun, RestoreOfAnIndependentArchiveEndsTheRunAndTheNextStartUsesIt)
{
    if (run("/usr/bin/python3 -c 'import dbf'") != 0)
        GTEST_SKIP() << "python3-dbf is not installed";
    TempDir made;
    writeFile(made / "writer.py", kWriter);
    fs::create_directories(made / "files");
    const fs::path archivePath = made / "Independent.T21";
    ASSERT_EQ(run("/usr/bin/python3 " + shellQuote((made / "writer.py").string()) + " " +
                  shellQuote((made / "files").string()) + " " + shellQuote(ApplicationsColumns().toStdString()) + " " +
                  shellQuote(archivePath.string())),
              0);

    ui.answers = {{"Incarcare date", MessageResult::Da}, {"Salvare Automata", MessageResult::Da}};
    ui.fileAnswers = {QString::fromStdString(archivePath.string())};
    {
        gui::Program program(&ui);
        gui::SafetyWindows *windows = gui::SafetyWindowsOf(program);
        bool opened = false, loaded = false;
        runProgram(program, {}, [&] {
            if (windows->backup.isVisible() && !loaded) {
                loaded = true;
                QTest::mouseClick(windows->backup.loadButton(), Qt::LeftButton);
            } else if (program.mainWindow().isVisible() && !opened) {
                opened = true;
                program.clickAdmin();
                // The menu item opens a modal window: clicked once this step has returned.
                QTimer::singleShot(0, &program,
                                   [&program] { program.mainWindow().trigger(gui::MainWindow::Command::Backup); });
            }
        });
        EXPECT_TRUE(opened);
    }
    EXPECT_TRUE(ui.asked("Informatie"));
    // The run ended after the restore without offering to save over the restored files.
    EXPECT_FALSE(ui.asked("Salvare Automata"));
    EXPECT_FALSE(QFileInfo::exists(tmp.qpath() + "/Salvari"));

    // The next start: the tables of the archive are found, completed and read.
    ui.messages.clear();
    gui::Program next(&ui);
    QString month, name;
    runProgram(next, {}, [&] {
        if (next.mainWindow().isVisible() && name.isEmpty()) {
            month = next.mainWindow().month();
            const auto rows = QuerySql("SELECT SUBSEMN FROM " + Quoted(TablePath("Cereri.dbf")) + " WHERE NRCRT=7");
            name = rows.rowCount() == 1 ? ToQString(rows.value(0, 0)) : QStringLiteral("?");
            next.mainWindow().close();
        }
    });
    EXPECT_EQ(month, "03.2024");
    EXPECT_EQ(name, "POPESCU ION");
    EXPECT_TRUE(QFileInfo::exists(home + "/Data/Oameni.dbf"));
    for (const auto &m : ui.messages)
        EXPECT_NE(m.kind, MessageKind::Error) << m.text.toStdString();
}

} // namespace

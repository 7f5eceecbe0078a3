// One application's road on the desktop program, typed as a clerk types it: the program
// started on a small data folder under a window manager, every key sent through the X
// server (xdotool), nothing clicked. The clerk logs in, opens the month's list, adds an
// application, answers the message boxes and the field hints by keys, saves, closes the
// program and answers its question about the day's copy. Then the rows written are read
// back with focaris-tool.
//
// After a message box, a field hint or a dialog closes, the keyboard must be back in the
// window (and field) that opened it: the road types at once after each of them and checks
// where the keys went, in the window that has the keyboard and in the rows saved.
//
// Every step waits for the state it needs (a window with its caption holding the keyboard,
// the balloon on the screen, the program ended), within one generous bound for the road.
#include "PrivateDesktop.h"
#include "TestSupport.h"

#include "admin/Municipality.h"
#include "admin/Password.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "core/Tables.h"
#include "periods/MonthList.h"
#include "periods/WorkingMonth.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>

using namespace focaris;
using namespace focaris::test;

namespace {

constexpr qint64 kRoadBoundMs = 100000;

std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

// The clerk's keys and the questions about windows, through the X server.
std::string xdotool(const std::string &commands)
{
    std::string out;
    run("xdotool " + commands + " 2>/dev/null", &out);
    return trimmed(out);
}

// The caption of the window that has the keyboard.
std::string focusedCaption()
{
    return xdotool("getwindowfocus getwindowname");
}

// A valid CNP from its first 12 digits.
std::string Cnp(const std::string &first12)
{
    static const int weights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (first12[i] - '0') * weights[i];
    return first12 + std::to_string(sum % 11 == 10 ? 1 : sum % 11);
}

class KeyRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.start();
        pictures = qEnvironmentVariable("FOCARIS_KEYROAD_PICTURES", dir.qpath() + "/pictures");
        QDir(pictures).removeRecursively();
        QDir().mkpath(pictures);
        home = dir.qpath() + "/prog";
        saves = dir.qpath() + "/Salvari";
        QDir().mkpath(saves);
    }
    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(10000);
        }
        std::printf("road: %.1f s, pictures in %s\n", clock.elapsed() / 1000.0, qPrintable(pictures));
    }

    // A small data folder as an office has it after its first day: the tables, the
    // municipality, the administrator's password, the month of November 2026 with one
    // application, and a folder for the day's copies.
    void prepareFolder()
    {
        InitContextForTests(home);
        CreateTables();
        Municipality m;
        m.primaria = QStringLiteral("SANTANA");
        m.sirues = QStringLiteral("4322653");
        m.judet = QStringLiteral("MURES");
        m.primar = QStringLiteral("Ion Pop");
        SaveMunicipality(m);
        WriteSetting(QStringLiteral("INIT"), QStringLiteral("WIN"), ScramblePassword(QStringLiteral("road7")));
        periods::WriteMonthList({QStringLiteral("11.2026")});
        periods::ChangeWorkingMonth(QStringLiteral("11.2026"));
        WriteMachineSetting(QStringLiteral("CALESALVARI"), saves);
        ExecSql(QString("INSERT INTO %1 (NRCRT, LUNACRT, LUNADEC, CNP, CNPT, SUBSEMN, TITT, LOCALIT, ADRESA, FURNT,"
                        " NR_MEMBRI, TVENIT, NR_CERE, DATACERE, STATUT, CUAJUT, TARIF, NRCAM, NR_LUNI) VALUES (1, %2,"
                        " %2, \"%3\", \"%3\", \"IONESCU MARIA\", \"IONESCU MARIA\", \"SANTANA\", \"STR. MARE 1\","
                        " \"TERMO SA\", 2, 900, 1, \"02.11.2026\", \"APROBAT\", \"X\", 300, 2, 5)")
                    .arg(Quoted(TablePath("Cereri.dbf")))
                    .arg(MonthCode("11.2026"))
                    .arg(QString::fromStdString(Cnp("285030512345"))));
    }

    void startProgram()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("FOCARIS_HOME", home);
        env.insert("FOCARIS_MACHINE_DIR", home + "/machine");
        env.insert("FOCARIS_SAVE_ROOTS", saves);
        env.insert("XDG_DATA_HOME", dir.qpath() + "/xdgdata");
        env.insert("XDG_CONFIG_HOME", dir.qpath() + "/xdgconfig");
        // The program lets one copy run per user: a name of its own keeps it apart from
        // any other copy on this computer.
        env.insert("USER", QStringLiteral("keyroad%1").arg(::getpid()));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(qEnvironmentVariable("FOCARIS_PROGRAM"), {});
        ASSERT_TRUE(program.waitForStarted(30000));
    }

    // Waits until `ready` holds, looking again every 50 ms, within the road's bound.
    bool waitFor(const std::function<bool()> &ready)
    {
        while (!ready()) {
            if (clock.elapsed() > kRoadBoundMs || program.state() == QProcess::NotRunning)
                return ready();
            ::usleep(50000);
        }
        return true;
    }
    // Until the window with this caption has the keyboard.
    bool waitForKeyboard(const std::string &caption)
    {
        const bool ok = waitFor([&] { return focusedCaption() == caption; });
        if (!ok)
            ADD_FAILURE() << "the keyboard is in \"" << focusedCaption() << "\", not in \"" << caption << "\"";
        return ok;
    }
    // Until the field hint is on the screen; true when it is.
    bool hintShown(const std::string &what)
    {
        const bool ok = waitFor([&] { return !xdotool("search --onlyvisible --name '^Problema !$'").empty(); });
        if (!ok)
            ADD_FAILURE() << "no hint about " << what;
        picture(("indiciu-" + what).c_str());
        return ok;
    }
    // Until a window with this caption is on the screen (the hint balloon never takes the
    // keyboard).
    bool waitForWindow(const std::string &caption)
    {
        const bool ok = waitFor([&] { return !xdotool("search --onlyvisible --name '^" + caption + "$'").empty(); });
        if (!ok)
            ADD_FAILURE() << "no window \"" << caption << "\" on the screen";
        return ok;
    }

    void keys(const std::string &names) { xdotool("key --delay 20 " + names); }
    void type(const std::string &text) { xdotool("type --delay 20 " + shellQuote(text)); }

    // The whole screen as it is now, saved as NN-name.png among the road's pictures.
    void picture(const char *name)
    {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(
                QStringLiteral("%1/%2-%3.png").arg(pictures).arg(++shots, 2, 10, QChar('0')).arg(name));
    }

    // A statement on the data folder through focaris-tool, its CSV lines after the header.
    std::vector<std::string> rows(const std::string &statement)
    {
        std::string out;
        run(shellQuote(toolPath()) + " sql " + shellQuote((home + "/Data").toStdString()) + " " + shellQuote(statement),
            &out);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(trimmed(out.substr(start, end - start)));
        if (!lines.empty())
            lines.erase(lines.begin());
        return lines;
    }

    TempDir dir;
    QString home, saves, pictures;
    QProcess program;
    QElapsedTimer clock;
    int shots = 0;
};

TEST_F(KeyRoad, OneApplicationTypedByKeysOnly)
{
    prepareFolder();
    startProgram();
    const std::string main = "Foc aris  ver.1.0029", editor = "Adaugare Cerere";

    // The main window, with only "Administrare" and "Iesire" shown: Space on the first of
    // them asks for the password.
    ASSERT_TRUE(waitForKeyboard(main));
    picture("fereastra-principala");
    keys("space");
    ASSERT_TRUE(waitForKeyboard("Autentificare"));
    type("road7");
    picture("autentificare");
    keys("Return");
    // The keyboard is back on the main window, which now shows every button.
    ASSERT_TRUE(waitForKeyboard(main));

    // F2: the list of the month.
    keys("F2");
    ASSERT_TRUE(waitForKeyboard("Lista Cereri"));
    picture("lista-cereri");
    keys("alt+a");
    ASSERT_TRUE(waitForKeyboard(editor));
    picture("editor-gol");

    // The applicant (the CNP first with a wrong control digit), the address and the
    // income, Enter moving from field to field in the order of the screen.
    const std::string cnp = Cnp("178021512345");
    std::string wrong = cnp;
    wrong.back() = char('0' + (wrong.back() - '0' + 1) % 10);
    type(wrong);
    keys("Return");
    type("POPESCU ION");
    keys("Return Return Return Return Return Return Return Return");
    type("STR. MICA 2");
    keys("Return Return");
    type("5000");

    // "&Memoreaza" (Alt+M) with the rest left as the editor opened. Each refusal shows its
    // balloon and puts the keyboard in the field refused, its text chosen: what the clerk
    // types at once replaces it, and Alt+M tries again.
    const std::vector<std::pair<std::string, std::string>> mended{
        {"cnp", cnp},             // typed over the wrong one
        {"furnizor", "TERMO SA"}, // the supplier, which brings its tariff of the month
        {"localitate", "SANTANA"},
        {"membri", "1"},
        {"camere", "2"}};
    for (const auto &[what, value] : mended) {
        keys("alt+m");
        ASSERT_TRUE(hintShown(what));
        type(value);
    }

    // The applicant as the household's member, from the rooms to "Adauga membru" along
    // the Tab chain: the member dialog, Enter through its fields (the income typed), Enter
    // on the last one saves, and the keyboard is back in the editor.
    keys("Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space");
    ASSERT_TRUE(waitForKeyboard("Date membru - Adauga membru"));
    keys("Return Return");
    type("5000");
    picture("membru");
    keys("Return Return");
    ASSERT_TRUE(waitFor([&] {
        const std::string now = focusedCaption();
        return now != "Date membru - Adauga membru" && !now.empty();
    }));
    EXPECT_EQ(focusedCaption(), editor) << "after the member dialog";

    // Number 1 belongs to the application already there.
    keys("alt+m");
    ASSERT_TRUE(hintShown("numar"));
    type("2");

    // Too much income for an approval: a message box, closed with Enter. The keyboard
    // comes back to the editor, on the status with its balloon, where "R" chooses
    // "RESPINS" at once; the reason, refused while empty, is typed right after its balloon.
    keys("alt+m");
    ASSERT_TRUE(waitForKeyboard("Eroare"));
    picture("mesaj-venit");
    keys("Return");
    ASSERT_TRUE(waitFor([&] { return focusedCaption() != "Eroare" && !focusedCaption().empty(); }));
    EXPECT_EQ(focusedCaption(), editor) << "after the message box";
    type("R");
    keys("alt+m");
    ASSERT_TRUE(hintShown("motiv"));
    type("VENIT PESTE LIMITA");
    keys("alt+m");

    // Saved: the editor closes and the keyboard is back on the list, then on the main
    // window; Escape there closes the program, which asks about the day's copy and about
    // sending it to the server.
    ASSERT_TRUE(waitForKeyboard("Lista Cereri"));
    picture("lista-dupa-memorare");
    // The balloon of the reason went with the editor.
    EXPECT_EQ(xdotool("search --onlyvisible --name '^Problema !$'"), "");
    keys("Escape");
    ASSERT_TRUE(waitForKeyboard(main));
    keys("Escape");
    ASSERT_TRUE(waitForKeyboard("Confirmare"));
    picture("salvare-automata");
    keys("alt+d");
    // The copy is written, then a second question: whether it goes to the server too.
    ASSERT_TRUE(waitFor([&] { return !QDir(saves).entryList(QDir::Files).isEmpty(); })) << "no copy of the day";
    ASSERT_TRUE(waitForKeyboard("Confirmare"));
    picture("copie-la-distanta");
    keys("alt+n");
    const bool ended = waitFor([&] { return program.state() == QProcess::NotRunning || program.waitForFinished(50); });
    if (!ended)
        picture("nu-s-a-inchis");
    ASSERT_TRUE(ended) << "the program still runs, the keyboard in \"" << focusedCaption() << "\"";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(QDir(saves).entryList(QDir::Files).size(), 1) << "the day's copy";

    // The rows written: the application as typed and refused, the one before unchanged.
    EXPECT_EQ(
        rows("SELECT NR_CERE, CNP, SUBSEMN, TITT, ADRESA, LOCALIT, FURNT, TARIF, NR_MEMBRI, TVENIT, NRCAM,"
             " STATUT, MOTIVR FROM Cereri.dbf ORDER BY NR_CERE"),
        (std::vector<std::string>{"1," + Cnp("285030512345") +
                                      ",IONESCU MARIA,IONESCU MARIA,STR. MARE 1,SANTANA,TERMO SA,300,2,900,2,APROBAT,",
                                  "2," + cnp +
                                      ",POPESCU ION,POPESCU ION,STR. MICA 2,SANTANA,TERMO SA,300,1,5000,2,RESPINS,"
                                      "VENIT PESTE LIMITA"}));
    EXPECT_EQ(rows("SELECT A.TITULAR, A.CNP, A.VENIT, A.CALITATE FROM Oameni.dbf A INNER JOIN Cereri.dbf B"
                   " ON A.NRCRT=B.NRCRT WHERE B.NR_CERE=2"),
              std::vector<std::string>{"POPESCU ION," + cnp + ",5000,beneficiar"});
}

} // namespace

int main(int argc, char **argv)
{
    PrivateDesktop desktop;
    if (!desktop.start(true)) {
        std::fprintf(stderr, "keyroad_tests: Xvfb or openbox could not be started\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

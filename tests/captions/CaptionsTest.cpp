// Every window's caption as the X server holds it: exactly the window's own text, with
// nothing appended by the platform.
#include "FakeUi.h"
#include "TestSupport.h"
#include "core/Context.h"
#include "gui/admin/LoginDialog.h"
#include "gui/admin/NewPasswordDialog.h"
#include "gui/shell/ApplicationSetup.h"
#include "gui/shell/Program.h"
#include "gui/widgets/MessageDialog.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace focaris;
using namespace focaris::test;

namespace {

// What the X server holds as the window's name, read by another client.
std::string serverName(QWidget &w)
{
    std::string out;
    run("xdotool getwindowname " + std::to_string(w.winId()), &out, true);
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The window shown and mapped (the bound only ends a hung run), then its name as the
// server has it.
std::string shownName(QWidget &w)
{
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w, 120000)) << w.windowTitle().toStdString();
    return serverName(w);
}

TEST(Captions, EveryWindowReadsExactlyItsCaption)
{
    TempDir tmp;
    const QString home = tmp.qpath() + "/run";
    qputenv("FOCARIS_HOME", home.toLocal8Bit());
    qputenv("XDG_DATA_HOME", (tmp.qpath() + "/xdg").toLocal8Bit());
    qputenv("FOCARIS_SAVE_ROOTS", "");
    FakeUi ui;
    gui::Program program(&ui);
    ASSERT_TRUE(program.startUp(home + "/focaris", {}));

    EXPECT_EQ(shownName(program.startWindow()), "Foc aris");
    program.startWindow().hide();
    EXPECT_EQ(shownName(program.mainWindow()), "Foc aris  ver.1.0029");
    EXPECT_EQ(shownName(program.adminWindow()), "Administrare program");
    program.adminWindow().hide();
    EXPECT_EQ(shownName(program.logViewer()), "Istoric modificari date");
    program.logViewer().hide();

    gui::MessageDialog message(&program.mainWindow());
    message.prepare(QStringLiteral("Salvare Automata"), QStringLiteral("\rDoriti sa facem o copie la datele de azi?"),
                    3, 3);
    EXPECT_EQ(shownName(message), "Confirmare");   // a message's caption is its kind
    message.hide();
    gui::LoginDialog login(&program.mainWindow());
    EXPECT_EQ(shownName(login), "Autentificare");
    login.hide();
    gui::NewPasswordDialog password(&program.mainWindow());
    EXPECT_EQ(shownName(password), "Schimbare parola");
    password.hide();
    program.mainWindow().hide();
    program.cleanUp();
}

// A private X server for this run: -displayfd makes it pick a free display and name it
// once it accepts clients, so nothing waits on a guess.
pid_t startXvfb()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string display;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    ::close(fds[0]);
    if (display.empty())
        return -1;
    ::setenv("DISPLAY", (":" + display).c_str(), 1);
    return pid;
}

} // namespace

int main(int argc, char **argv)
{
    const pid_t server = startXvfb();
    if (server < 0) {
        std::fprintf(stderr, "captions_tests: Xvfb could not be started\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int rc = 1;
    {
        QApplication app(argc, argv);
        gui::SetUpApplication();
        ::testing::InitGoogleTest(&argc, argv);
        rc = RUN_ALL_TESTS();
    }
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    return rc;
}

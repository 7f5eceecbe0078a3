// Every window's caption as the X server holds it: exactly the window's own text, with
// nothing appended by the platform.
#include "FakeUi.h"
#include "PrivateDesktop.h"
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

#include <cstdio>
#include <cstdlib>
#include <string>

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
                    MessageKind::Confirmation, MessageButton::Da | MessageButton::Nu);
    EXPECT_EQ(shownName(message), "Confirmare"); // a message's caption is its kind
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

} // namespace

int main(int argc, char **argv)
{
    PrivateDesktop desktop;
    if (!desktop.start(false)) {
        std::fprintf(stderr, "captions_tests: Xvfb could not be started\n");
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    gui::SetUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Entry point of the desktop program: refuses a second instance (raising the running
// one's window), shows the start window and, one second later, runs the start-up
// sequence, the main window session and the clean-up.
#include "gui/shell/ApplicationSetup.h"
#include "gui/shell/Program.h"
#include "gui/shell/SingleInstance.h"

#include "shell/Startup.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    // Answered before any window system is needed, so that it works without a display.
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-v") == 0)) {
        std::printf("focaris %s\n", focaris::shell::kVersionText);
        return 0;
    }
    QApplication app(argc, argv);
    focaris::gui::SetUpApplication();

    focaris::gui::SingleInstance instance(focaris::gui::SingleInstance::defaultKey());
    if (instance.otherRunning())
        return 0;

    focaris::gui::Program program;
    instance.onRaise = [&program] { focaris::gui::raiseWindow(program.frontWindow()); };

    QStringList arguments = QApplication::arguments();
    const QString executable = QApplication::applicationFilePath();
    arguments.removeFirst();

    program.startWindow().show();
    QTimer::singleShot(1000, &program, [&] {
        program.runAll(executable, arguments);
        QApplication::quit();
    });
    return app.exec();
}

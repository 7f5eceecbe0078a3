// focaris-screens: the pictures of the program's windows for the clerk's guide. Runs the
// program's start-up on the data folder the program would use (FOCARIS_HOME), shows each
// window and dialog in turn, saves the screen as PNG files into the folder given (or into
// FOCARIS_SCREENSHOTS) and ends. Run under `Xvfb :99 -screen 0 1366x768x24` for pictures
// with window frames; `make guide-screens` runs it on the offscreen platform.
#include "screens/Screenshots.h"

#include "gui/shell/ApplicationSetup.h"
#include "gui/shell/Program.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    focaris::gui::SetUpApplication();
    const QStringList arguments = QApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments.at(1) : qEnvironmentVariable("FOCARIS_SCREENSHOTS");
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: focaris-screens FOLDER\n");
        return 2;
    }
    focaris::gui::Program program;
    // This is not the program the desktop should open save archives with.
    program.startupSteps.registerFileType = nullptr;
    int written = 0;
    if (program.startUp(QApplication::applicationFilePath(), {}))
        written = focaris::gui::TakeScreenshots(program, folder);
    program.cleanUp();
    std::printf("%d pictures in %s\n", written, qPrintable(folder));
    return written > 0 ? 0 : 1;
}

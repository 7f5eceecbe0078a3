// The backup windows in the program.
#include "gui/shell/SafetyWiring.h"

#include "gui/shell/Program.h"
#include "shell/Session.h"

namespace focaris::gui {

SafetyWindows &AttachSafetyWindows(Program &program)
{
    auto *windows = new SafetyWindows(program.ui(), &program);
    windows->setObjectName(QStringLiteral("SafetyWindows"));
    MainWindow &main = program.mainWindow();
    main.setAction(MainWindow::Command::Backup, [windows, &main] {
        // After a restore the program ends at once, so that the next start works on the
        // restored files; nothing may be saved over them at closing.
        if (windows->backup.showModal())
            main.closeWithoutQuestions();
    });
    program.sessionSteps.save = [windows](Ui &ui, const shell::SaveDecision &decision) {
        shell::SaveAtClose(ui, decision, [windows](Ui &, const QString &file) { windows->remote.showModal(file); });
    };
    return *windows;
}

SafetyWindows *SafetyWindowsOf(Program &program)
{
    return program.findChild<SafetyWindows *>(QStringLiteral("SafetyWindows"), Qt::FindDirectChildrenOnly);
}

} // namespace focaris::gui

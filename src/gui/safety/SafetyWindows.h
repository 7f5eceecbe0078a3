// The backup windows put into the program: the utilities menu item "Salvare / Incarcare
// baza de date" opens the backup window, a restore ends the program without the closing
// questions, and the closing work hands an archive the person wants on the server to the
// remote copy window. Both windows are made once and belong to the program.
#pragma once

#include "gui/safety/BackupWindow.h"
#include "gui/safety/RemoteCopyWindow.h"

#include <QObject>

namespace focaris::gui {

class Program;

class SafetyWindows : public QObject {
    Q_OBJECT
public:
    SafetyWindows(Ui &ui, QObject *parent);

    RemoteCopyWindow remote;
    BackupWindow backup;
};

// Makes the windows (as a child of `program`) and attaches them to its main window and
// closing work.
SafetyWindows &AttachSafetyWindows(Program &program);
// The windows attached to `program`, or null.
SafetyWindows *SafetyWindowsOf(Program &program);

} // namespace focaris::gui

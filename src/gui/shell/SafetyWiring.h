// The backup windows attached to the program: the utilities menu item "Salvare / Incarcare
// baza de date" opens the backup window, a restore ends the program without the closing
// questions, and the closing work hands an archive the person wants on the server to the
// remote copy window.
#pragma once

#include "gui/safety/SafetyWindows.h"

namespace focaris::gui {

class Program;

// Makes the windows (as a child of `program`) and attaches them to its main window and
// closing work.
SafetyWindows &AttachSafetyWindows(Program &program);
// The windows attached to `program`, or null.
SafetyWindows *SafetyWindowsOf(Program &program);

} // namespace focaris::gui

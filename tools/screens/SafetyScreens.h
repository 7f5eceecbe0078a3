// The pictures of the backup windows for docs/screens: the backup window, and the remote
// copy window with its login panel, with a list of copies and during a transfer. Filled
// with sample values; no server is reached.
#pragma once

#include <functional>

namespace focaris::gui {

class Program;

// Shows each window in turn and calls `take` with the picture's file name while it is
// on the screen.
void ShowSafetyWindowsForPictures(Program &program, const std::function<void(const char *name)> &take);

} // namespace focaris::gui

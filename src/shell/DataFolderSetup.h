// Preparing a data folder the way the program's start prepares it, for folders made
// outside the program (focaris-tool store init: a script, a test, a new office).
#pragma once

#include "shell/Startup.h"

namespace focaris::shell {

// Prepares the working context's data folder: the missing tables are created, the log
// trimmed, the templates and tables of an older version upgraded, the key counters set
// from the tables and the missing templates installed, by the same steps and in the same
// order as a start (weekly packing, file type and program-folder files are left to the
// program). Returns how many of the templates missing before are there now.
int PrepareDataFolder(Ui &ui, const StartupSteps &steps = StartupSteps::defaults());

} // namespace focaris::shell

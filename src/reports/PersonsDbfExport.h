// "Export DBF persoane" of the applications list: a dBase table of the persons of the
// working month (every status), one row per person and application, saved where the
// person chooses.
#pragma once

#include "core/Ui.h"
#include "reports/ExportCommon.h"

#include <QString>

namespace focaris::exports {

// Asks for the file, refuses a place inside the data folder, the local data folder or the
// temporary folder (where the program's own tables live), replaces an existing file only
// when it is not in use, and writes the table whole before it takes the chosen name.
ExportResult ExportPersonsDbf(Ui &ui);

} // namespace focaris::exports

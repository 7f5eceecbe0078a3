// The office's three workbook lists of the working month: persons and their age, the
// members of every approved application, and the risk-based inspection list. Each is
// filled from its built-in template and handed to the person's spreadsheet program.
#pragma once

#include "core/Ui.h"
#include "reports/ExportCommon.h"

#include <QString>

namespace focaris::exports {

// "Lista persoanelor si varsta": the members of the approved heating-aid households.
ExportResult PersonsAgeList(Ui &ui);

// "Situatia membrilor": every approved application's holder with each of its members,
// names split into family and given names.
ExportResult MembersSituation(Ui &ui);

// "Control bazat pe profilul de risc": checks that a county is chosen (before the month
// chooser is shown), then writes the list for the chosen payment month ("11", "12", "01",
// "02", "03") and year.
bool RiskControlReady(Ui &ui);
ExportResult RiskControlList(Ui &ui, const QString &payMonth, int payYear);

} // namespace focaris::exports

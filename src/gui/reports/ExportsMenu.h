// The entries of the "Liste / Formulare" menu for the national agency's XML, the tax
// agency's F2201, the treasury report and the office's lists, and the applications
// list's "Export DBF persoane", each running its operation and reporting a failure of the
// engines as a message instead of letting it end the program. The main window binds the
// menu entries in gui/shell/ReportsWiring.h.
#pragma once

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::gui {

// "Export DBF persoane" of the applications list.
void RunPersonsDbfExport(Ui &ui);

// Runs one export, reporting an error of the engines with its message.
void RunReporting(Ui &ui, const std::function<void()> &work);

} // namespace focaris::gui

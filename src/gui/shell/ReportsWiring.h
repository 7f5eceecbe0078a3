// The "Liste / Formulare" menu of the main window bound to the reports: the county agency's
// report and the supplier reports, the exports for the national agency, the tax agency and
// the treasury, and the office's lists.
#pragma once

#include <functional>

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MainWindow;
class TreasuryWindow;

// Gives "Raport AJPIS", "Format AJPIS" and "Format E-On Gaz Tg.Mures" their handlers. The
// dialogs are created once, as children of the main window.
void WireAgencyReports(MainWindow &main, Ui &ui);

// Gives the export entries their handlers. `pressAdmin` presses the administration button
// for the person (the treasury report does so when the settings are incomplete).
// Returns the treasury window (owned by `main`).
TreasuryWindow *WireExportsMenu(MainWindow &main, Ui &ui, std::function<void()> pressAdmin);

} // namespace focaris::gui

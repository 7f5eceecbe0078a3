// The "Liste / Formulare" entries of the county agency's report and the supplier reports:
// "Raport AJPIS", "Format AJPIS" and "Format E-On Gaz Tg.Mures".
#pragma once

#include "core/Ui.h"

namespace focaris::gui {

class MainWindow;
class AjpisPeriodDialog;
class EonSupplierDialog;

// Gives the three menu entries their handlers. The dialogs are created once, as children
// of the main window.
void WireAgencyReports(MainWindow &main, Ui &ui);

// The handlers themselves (the window tests call them with their own dialogs).
void RunAjpisReport(Ui &ui, AjpisPeriodDialog &dialog);
void RunSupplierReport(Ui &ui);
void RunEonReport(Ui &ui, EonSupplierDialog &dialog);

} // namespace focaris::gui

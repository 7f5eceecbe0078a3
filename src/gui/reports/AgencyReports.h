// The "Liste / Formulare" entries of the county agency's report and the supplier reports:
// "Raport AJPIS", "Format AJPIS" and "Format E-On Gaz Tg.Mures" (the main window binds
// them in gui/shell/ReportsWiring.h).
#pragma once

#include "core/Ui.h"
#include "reports/AjpisReport.h"
#include "reports/EonReport.h"

namespace focaris::gui {

class AjpisPeriodDialog;
class EonSupplierDialog;

// The "Rapoarte" dialog: true when a valid period was confirmed.
bool SelectPeriod(AjpisPeriodDialog &dialog, reports::ReportPeriod &period);
// The "Raport E-ON Gaz Targu Mures" dialog over the working month's suppliers and
// localities: true when a supplier was chosen and every locality has a postal code; the
// codes are then remembered.
bool SelectEonSupplier(EonSupplierDialog &dialog, reports::EonChoice &choice);

// The handlers themselves (the window tests call them with their own dialogs).
void RunAjpisReport(Ui &ui, AjpisPeriodDialog &dialog);
void RunSupplierReport(Ui &ui);
void RunEonReport(Ui &ui, EonSupplierDialog &dialog);

} // namespace focaris::gui

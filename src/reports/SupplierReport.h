// "Raport Furnizori / Format AJPIS": for every energy supplier of the working month a
// folder in TERMICA_FURNIZORI with Annex 1 (heating aid of its thermal-energy customers)
// and Annexes 14, 15 and 16 restricted to its customers.
#pragma once

#include "reports/AjpisReport.h"

namespace focaris::reports {

// Checks the settings, asks for the folder ("Alegeti directorul unde punem Raportul"),
// asks before replacing an existing TERMICA_FURNIZORI, writes every supplier's annexes,
// puts the folder in place, says "Raportul a fost creat!" and opens it. Supplier names
// become folder names only after cleaning (SafeFileNames); the workbooks carry them as
// typed.
ReportResult MakeSupplierReport(Ui &ui);

} // namespace focaris::reports

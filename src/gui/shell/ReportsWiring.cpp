// The reports' menu entries in the main window.
#include "gui/shell/ReportsWiring.h"

#include "core/Ui.h"
#include "gui/periods/PaymentMonthChooser.h"
#include "gui/reports/AgencyReports.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/EonSupplierDialog.h"
#include "gui/reports/ExportsMenu.h"
#include "gui/reports/TreasuryWindow.h"
#include "gui/shell/MainWindow.h"
#include "reports/AnpisExport.h"
#include "reports/F2201Export.h"
#include "reports/OfficeLists.h"
#include "reports/TreasuryReport.h"

namespace focaris::gui {

void WireAgencyReports(MainWindow &main, Ui &ui)
{
    auto *period = new AjpisPeriodDialog(ui, &main);
    auto *eon = new EonSupplierDialog(ui, &main);
    main.setAction(QStringLiteral("Raport AJPIS"), [&ui, period] { RunAjpisReport(ui, *period); });
    main.setAction(QStringLiteral("Format AJPIS"), [&ui] { RunSupplierReport(ui); });
    main.setAction(QStringLiteral("Format E-On Gaz Tg.Mures"), [&ui, eon] { RunEonReport(ui, *eon); });
}

TreasuryWindow *WireExportsMenu(MainWindow &main, Ui &ui, std::function<void()> pressAdmin)
{
    auto *treasury = new TreasuryWindow(ui, &main);
    main.setAction(QStringLiteral("Export Date ANPIS - XML"),
                   [&ui] { RunReporting(ui, [&ui] { exports::ExportAnpis(ui); }); });
    main.setAction(QStringLiteral("Formularul F 2201 ANAF - XML"),
                   [&ui] { RunReporting(ui, [&ui] { exports::ExportF2201(ui); }); });
    main.setAction(QStringLiteral("Raport Trezorerie - Suplimente Lemne"), [&ui, treasury, pressAdmin] {
        if (!exports::TreasuryReady(ui)) {
            if (pressAdmin)
                pressAdmin();
            return;
        }
        treasury->openWindow();
    });
    main.setAction(QStringLiteral("Lista persoanelor si varsta"),
                   [&ui] { RunReporting(ui, [&ui] { exports::PersonsAgeList(ui); }); });
    main.setAction(QStringLiteral("Situatia membrilor"),
                   [&ui] { RunReporting(ui, [&ui] { exports::MembersSituation(ui); }); });
    main.setAction(QStringLiteral("Control bazat pe profilul de risc"), [&ui, &main] {
        RunReporting(ui, [&ui, &main] {
            if (!exports::RiskControlReady(ui))
                return;
            QString month;
            int year = 0;
            if (!AlegeLunaPlata(ui, true, month, year, &main))
                return;
            exports::RiskControlList(ui, month, year);
        });
    });
    return treasury;
}

} // namespace focaris::gui

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
    main.setAction(MainWindow::Command::AjpisReport, [&ui, period] { RunAjpisReport(ui, *period); });
    main.setAction(MainWindow::Command::AjpisSuppliers, [&ui] { RunSupplierReport(ui); });
    main.setAction(MainWindow::Command::EonSuppliers, [&ui, eon] { RunEonReport(ui, *eon); });
}

TreasuryWindow *WireExportsMenu(MainWindow &main, Ui &ui, std::function<void()> pressAdmin)
{
    auto *treasury = new TreasuryWindow(ui, &main);
    main.setAction(MainWindow::Command::AnpisExport, [&ui] { RunReporting(ui, [&ui] { exports::ExportAnpis(ui); }); });
    main.setAction(MainWindow::Command::F2201Export, [&ui] { RunReporting(ui, [&ui] { exports::ExportF2201(ui); }); });
    main.setAction(MainWindow::Command::TreasuryReport, [&ui, treasury, pressAdmin] {
        if (!exports::TreasuryReady(ui)) {
            if (pressAdmin)
                pressAdmin();
            return;
        }
        treasury->openWindow();
    });
    main.setAction(MainWindow::Command::PersonsAgeList,
                   [&ui] { RunReporting(ui, [&ui] { exports::PersonsAgeList(ui); }); });
    main.setAction(MainWindow::Command::MembersSituation,
                   [&ui] { RunReporting(ui, [&ui] { exports::MembersSituation(ui); }); });
    main.setAction(MainWindow::Command::RiskControl, [&ui, &main] {
        RunReporting(ui, [&ui, &main] {
            if (!exports::RiskControlReady(ui))
                return;
            QString month;
            int year = 0;
            if (!ChoosePaymentMonth(ui, true, month, year, &main))
                return;
            exports::RiskControlList(ui, month, year);
        });
    });
    return treasury;
}

} // namespace focaris::gui

// The reports menu's export entries.
#include "gui/reports/ExportsMenu.h"

#include "core/Ui.h"
#include "gui/periods/PaymentMonthChooser.h"
#include "gui/reports/TreasuryWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/WindowAction.h"
#include "reports/AnpisExport.h"
#include "reports/F2201Export.h"
#include "reports/OfficeLists.h"
#include "reports/PersonsDbfExport.h"
#include "reports/TreasuryReport.h"

namespace focaris::gui {

void RunReporting(Ui &ui, const std::function<void()> &work)
{
    RunWindowAction(ui, QString(), ActionKind::Reads, work);
}

void RunPersonsDbfExport(Ui &ui)
{
    RunReporting(ui, [&ui] { exports::ExportPersonsDbf(ui); });
}

TreasuryWindow *WireExportsMenu(MainWindow &main, Ui &ui, std::function<void()> pressAdmin)
{
    auto *treasury = new TreasuryWindow(ui, &main);
    main.setAction(MainWindow::Command::AnpisExport,
                   [&ui] { RunReporting(ui, [&ui] { exports::ExportAnpis(ui); }); });
    main.setAction(MainWindow::Command::F2201Export,
                   [&ui] { RunReporting(ui, [&ui] { exports::ExportF2201(ui); }); });
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
            if (!AlegeLunaPlata(ui, true, month, year, &main))
                return;
            exports::RiskControlList(ui, month, year);
        });
    });
    return treasury;
}

} // namespace focaris::gui

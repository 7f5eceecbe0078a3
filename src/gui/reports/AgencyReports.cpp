// The menu handlers of the agency and supplier reports: settings check, dialog, operation.
#include "gui/reports/AgencyReports.h"

#include "admin/Municipality.h"
#include "gui/reports/AjpisPeriodDialog.h"
#include "gui/reports/EonSupplierDialog.h"
#include "reports/SupplierReport.h"

namespace focaris::gui {

namespace {

int monthCodeOf(const QDate &date)
{
    return date.year() * 12 + date.month() - 1;
}

} // namespace

bool SelectPeriod(AjpisPeriodDialog &dialog, reports::ReportPeriod &period)
{
    return dialog.ask(period);
}

bool SelectEonSupplier(EonSupplierDialog &dialog, reports::EonChoice &choice)
{
    choice = reports::LoadEonChoice();
    if (!dialog.ask(choice))
        return false;
    reports::StorePostalCodes(choice);
    return true;
}

void RunAjpisReport(Ui &ui, AjpisPeriodDialog &dialog)
{
    if (!SettingsReady(ui))
        return;
    reports::ReportPeriod period;
    if (!SelectPeriod(dialog, period))
        return;
    reports::MakeAjpisReport(ui, monthCodeOf(period.from), monthCodeOf(period.to));
}

void RunSupplierReport(Ui &ui)
{
    reports::MakeSupplierReport(ui);
}

void RunEonReport(Ui &ui, EonSupplierDialog &dialog)
{
    if (!SettingsReady(ui))
        return;
    reports::EonChoice choice;
    if (!SelectEonSupplier(dialog, choice))
        return;
    reports::MakeEonReport(ui, choice);
}

} // namespace focaris::gui

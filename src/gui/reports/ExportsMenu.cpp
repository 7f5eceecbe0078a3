// The reports menu's export entries.
#include "gui/reports/ExportsMenu.h"

#include "core/Ui.h"
#include "gui/widgets/WindowAction.h"
#include "reports/PersonsDbfExport.h"

namespace focaris::gui {

void RunReporting(Ui &ui, const std::function<void()> &work)
{
    RunWindowAction(ui, QString(), ActionKind::Reads, work);
}

void RunPersonsDbfExport(Ui &ui)
{
    RunReporting(ui, [&ui] { exports::ExportPersonsDbf(ui); });
}

} // namespace focaris::gui

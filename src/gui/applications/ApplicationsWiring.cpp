// The applications list wired into the program.
#include "gui/applications/ApplicationsWiring.h"

#include "admin/AdminSettings.h"
#include "admin/AidParameters.h"
#include "applications/MonthRecalculation.h"
#include "core/Context.h"
#include "core/Months.h"
#include "gui/admin/AdminWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/periods/MonthChooser.h"
#include "gui/shell/MainWindow.h"
#include "periods/WorkingMonth.h"

namespace focaris::gui {

ApplicationsListWindow &ApplicationsList(Ui &ui, MainWindow &main)
{
    // One window for the run, as every window of the program; it goes with the main window.
    auto *window = main.findChild<ApplicationsListWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new ApplicationsListWindow(ui, &main);
        window->chooseMonth = [&ui, w = window](const QString &caption) {
            QString month;
            return AlegeLuna(ui, caption, month, w) ? MonthCode(month) : 0;
        };
        window->haveMonth = [&ui](const QString &title) { return periods::WorkingMonthChosen(ui, title); };
    }
    return *window;
}

void OpenApplicationsList(Ui &ui, MainWindow &main)
{
    ApplicationsList(ui, main).showMonth(WorkingMonthCode());
}

void RecalculateFromAdmin(Ui &ui, AdminWindow &admin)
{
    // The parameters on the screen are the ones the recalculation uses.
    SaveAdminSettings(admin.form());
    if (!periods::WorkingMonthChosen(ui, QStringLiteral("Recalculare cereri")))
        return;
    RecalculateMonth(ui, WorkingMonthCode(), LoadAidParameters());
}

} // namespace focaris::gui

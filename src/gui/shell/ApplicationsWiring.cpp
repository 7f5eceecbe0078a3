// The applications list wired into the program.
#include "gui/shell/ApplicationsWiring.h"

#include "admin/AdminSettings.h"
#include "admin/AidParameters.h"
#include "applications/ApplicationStore.h"
#include "applications/MonthRecalculation.h"
#include "core/Context.h"
#include "core/Months.h"
#include "gui/admin/AdminWindow.h"
#include "gui/applications/ApplicationEditorWindow.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/documents/DocumentActions.h"
#include "gui/periods/MonthChooser.h"
#include "gui/reports/ExportsMenu.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/GridExportDialog.h"
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
            return ChooseMonth(ui, caption, month, w) ? MonthCode(month) : 0;
        };
        window->haveMonth = [&ui](const QString &title) { return periods::WorkingMonthChosen(ui, title); };
        // The editor stores what the person saved; a statement that fails is reported and
        // leaves the list as it was.
        auto *editor = new ApplicationEditorWindow(ui, window);
        auto stored = [&ui, editor](const QString &title) {
            qint64 key = 0;
            RunGuarded(ui, title, [&] {
                key = ApplicationStore(ui).store(editor->editor());
                return Outcome::success(1);
            });
            return key;
        };
        window->onAdd = [editor, stored]() -> qint64 {
            return editor->addModal() ? stored(QStringLiteral("Adaugare Cerere")) : 0;
        };
        window->onModify = [editor, stored](qint64 key) {
            return editor->modifyModal(key) && stored(QStringLiteral("Modificare Cerere")) > 0;
        };
        // The documents of the month, the persons table and the grid export.
        auto *documents = new DocumentActions(window, ui, [w = window] { return w->currentKey(); });
        documents->wire([w = window](const QString &command, std::function<void()> handler) {
            w->setAction(ApplicationsListWindow::commandNamed(command), std::move(handler));
        });
        window->setAction(ApplicationsListWindow::Command::PersonsDbf, [&ui] { RunPersonsDbfExport(ui); });
        window->setAction(ApplicationsListWindow::Command::ExportGrid, [&ui, w = window] {
            GridExportDialog dialog(ui, w);
            dialog.exportView(*w->grid());
        });
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

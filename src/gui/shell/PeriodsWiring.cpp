// The main window's "Perioada" and its working-month label.
#include "gui/shell/PeriodsWiring.h"

#include "gui/periods/PeriodWindow.h"
#include "gui/shell/MainWindow.h"
#include "periods/WorkingMonth.h"

#include <QPointer>

namespace focaris::gui {

void WirePeriods(MainWindow &main, Ui &ui)
{
    // The label is reached through a guarded pointer: a main window that is gone (tests make
    // several) is simply not told.
    QPointer<MainWindow> label(&main);
    periods::SetWorkingMonthListener([label](const QString &month) {
        if (label)
            label->setMonth(month);
    });
    main.setAction(MainWindow::Command::Period, [&main, &ui] {
        // One window for the run, a child of the main window, made at the first click.
        auto *window = main.findChild<PeriodWindow *>(QStringLiteral("Perioada"));
        if (!window)
            window = new PeriodWindow(ui, &main);
        window->open();
    });
}

} // namespace focaris::gui

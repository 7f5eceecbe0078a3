// The screenshots of the working-month windows.
#include "screens/PeriodScreenshots.h"

#include "gui/periods/AddMonthDialog.h"
#include "gui/periods/PeriodWindow.h"
#include "gui/shell/MainWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QThread>

namespace focaris::gui {
namespace {

// The windows are given a moment to paint before the screen is taken.
bool shoot(const QString &folder, const char *name)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 400) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->grabWindow(0).save(folder + QLatin1Char('/') + QString::fromLatin1(name), "PNG");
}

void centre(QWidget &w, int dy = 0)
{
    w.adjustSize();
    w.move(QGuiApplication::primaryScreen()->availableGeometry().center() - QPoint(w.width() / 2, w.height() / 2 - dy));
}

} // namespace

int TakePeriodScreenshots(MainWindow &main, Ui &ui, const QString &folder)
{
    int written = 0;
    PeriodWindow window(ui, &main);
    periods::PeriodList list;
    list.months = {QStringLiteral("03.2026"), QStringLiteral("02.2026"), QStringLiteral("01.2026")};
    list.selected = 0;
    window.setList(list);
    // The main window's label shows the month selected, as after choosing it.
    const QString shownMonth = main.month();
    main.setMonth(list.months.first());
    window.show();
    centre(window);
    // The list open, so that its three months show.
    window.list()->showPopup();
    written += shoot(folder, "perioada-in-lucru.png");
    window.list()->hidePopup();

    window.showImportMenu();
    written += shoot(folder, "perioada-import-menu.png");
    window.importMenu()->hide();

    AddMonthDialog &add = window.addDialog();
    add.reset();
    add.show();
    centre(add, -140);
    written += shoot(folder, "adaugare-luna.png");
    add.hide();
    window.hide();
    main.setMonth(shownMonth);
    return written;
}

} // namespace focaris::gui

// Screenshots of the applications list.
#include "screens/ApplicationsScreenshots.h"

#include "core/Context.h"
#include "core/Months.h"
#include "core/Settings.h"
#include "gui/applications/ApplicationsListWindow.h"
#include "gui/applications/DatesDialog.h"
#include "gui/applications/MonthsDialog.h"
#include "gui/applications/NumberingDialog.h"
#include "gui/shell/ApplicationsWiring.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace focaris::gui {

int ApplicationsScreenshots(Ui &ui, MainWindow &main, const QString &folder)
{
    int written = 0;
    auto take = [&](QWidget &w, const char *file) {
        QCoreApplication::processEvents();
        written += w.grab().save(folder + QLatin1Char('/') + QLatin1String(file), "PNG") ? 1 : 0;
    };
    ApplicationsListWindow &list = ApplicationsList(ui, main);
    list.resize(1280, 720);
    int month = WorkingMonthCode();
    if (month <= 0)
        month = MonthCode(ReadSetting(QStringLiteral("VARIABILE"), QStringLiteral("LUNA_LUCRU")));
    if (!list.openMonth(month))
        return written;
    list.show();
    take(list, "lista-cereri.png");

    auto over = [&](QDialog &d, const char *file) {
        d.show();
        take(d, file);
        d.hide();
    };
    NumberingDialog &numbering = list.numberingDialog();
    numbering.from()->setText(QStringLiteral("1"));
    numbering.to()->setText(QStringLiteral("300"));
    numbering.first()->setText(QStringLiteral("1250"));
    numbering.category()->setCurrentIndex(1);
    over(numbering, "numerotare-dispozitii.png");
    over(list.datesDialog(), "cereri-data.png");
    over(list.monthsDialog(), "modificare-nr-luni.png");

    list.searchField()->setText(QStringLiteral("ION"));
    take(list, "lista-cereri-cautare.png");
    list.searchField()->clear();
    list.hide();
    return written;
}

} // namespace focaris::gui

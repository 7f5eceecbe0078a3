// The frame of the list's operations.
#include "applications/MonthOperation.h"

#include "core/Months.h"
#include "engines/localsql/SqlError.h"

namespace focaris {

bool RealMonthChosen(Ui &ui, const QString &title, int month)
{
    if (month >= kFirstMonthYear * 12)
        return true;
    ui.message(title, QStringLiteral("Alegeti mai intai o luna de la butonul Perioada!"), MessageKind::Error,
               MessageButton::OK);
    return false;
}

Outcome RunGuarded(Ui &ui, const QString &title, const std::function<Outcome()> &work)
{
    QString error;
    try {
        return work();
    } catch (const sql::SqlError &e) {
        // The engine's own words first; the statement helps whoever reads the report.
        error = QString::fromStdString(e.message());
        if (!e.statement().empty())
            error += QStringLiteral("\n") + QString::fromStdString(e.statement()).left(400);
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    }
    ui.progressHide();
    ui.message(title, error, MessageKind::Error, MessageButton::OK);
    Outcome o;
    o.failed = true;
    return o;
}

} // namespace focaris

// The removal of the applicants also in another month.
#include "applications/Removals.h"

#include "core/ChangeLog.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "core/TableLock.h"
#include "safety/Backup.h"

namespace focaris {

Outcome RemoveAlsoInMonth(Ui &ui, int otherMonth, int workingMonth)
{
    const QString title = QStringLiteral("Stergere Cereri");
    if (!RealMonthChosen(ui, title, workingMonth) || !RealMonthChosen(ui, title, otherMonth))
        return {};
    if (otherMonth == workingMonth) {
        ui.message(title, QStringLiteral("\rAlegeti o alta luna decat luna de lucru!"), MessageKind::Error,
                   MessageButton::OK);
        return Outcome::refusal(QStringLiteral("month"), QStringLiteral("Alegeti o alta luna decat luna de lucru!"));
    }
    const QString archive = SaveBeforeDestroying(ui);
    if (archive.isEmpty()) {
        Outcome o;
        o.failed = true;
        return o;
    }
    Outcome done = RunGuarded(ui, title, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        ProgressScope progress(ui, QStringLiteral("Sterg cererile..."), 3);
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        progress.step();
        Outcome out = Outcome::success(
            ExecSql({QStringLiteral("DELETE FROM ") + cereri,
                     QStringLiteral("WHERE LUNACRT=") + QString::number(workingMonth), QStringLiteral("AND CNP IN"),
                     QStringLiteral("(SELECT CNP FROM ") + cereri + QStringLiteral(" WHERE LUNACRT=") +
                         QString::number(otherMonth) + QLatin1Char(')')}));
        progress.step();
        // A blank key reads as NULL: one application without a key would make every
        // "NOT IN" unknown and keep every orphan, so the subquery leaves blank keys out; a
        // member with a blank key belongs to no application and goes too.
        out.members =
            ExecSql({QStringLiteral("DELETE FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))),
                     QStringLiteral("WHERE NRCRT IS NULL OR NOT (NRCRT IN"),
                     QStringLiteral("(SELECT NRCRT FROM ") + cereri + QStringLiteral(" WHERE NRCRT IS NOT NULL))")});
        WriteLog(QStringLiteral("Stergere Cereri care sunt si in luna ") + MonthText(otherMonth));
        progress.step();
        return out;
    });
    done.archive = archive;
    return done;
}

} // namespace focaris

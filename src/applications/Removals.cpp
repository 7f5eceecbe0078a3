// Removing applications.
#include "applications/Removals.h"

#include "core/ChangeLog.h"
#include "core/DataStore.h"
#include "core/Months.h"
#include "safety/Backup.h"

namespace focaris {

Outcome DeleteApplication(Ui &ui, qint64 key)
{
    const QString title = QStringLiteral("Stergere cerere");
    return RunGuarded(ui, title, [&]() -> Outcome {
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        const QString k = QString::number(key);
        const sql::ResultSet r = QuerySql({QStringLiteral("SELECT NR_CERE, DATACERE, SUBSEMN FROM ") + cereri,
                                           QStringLiteral("WHERE NRCRT=") + k});
        if (r.empty())
            return {};
        const QString name = ToQString(r.value(0, "SUBSEMN"));
        if (ui.message(title, QStringLiteral("\rDoriti sa stergem cererea lui ") + name + QLatin1Char('?'), MsgWarning,
                       BtnDa | BtnNu) != ResDa)
            return {};
        // The log names the application before anything is deleted.
        WriteLog(QStringLiteral("Stergere Cerere ") + ToQString(r.value(0, "NR_CERE")) + QLatin1Char('/')
                 + ToQString(r.value(0, "DATACERE")) + QStringLiteral(" - ") + name);
        Outcome out = Outcome::success(ExecSql(QStringLiteral("DELETE FROM ") + cereri + QStringLiteral("\nWHERE NRCRT=") + k));
        out.members = ExecSql(QStringLiteral("DELETE FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf")))
                              + QStringLiteral("\nWHERE NRCRT=") + k);
        return out;
    });
}

Outcome RemoveAlsoInMonth(Ui &ui, int otherMonth, int workingMonth)
{
    const QString title = QStringLiteral("Stergere Cereri");
    if (otherMonth == workingMonth) {
        ui.message(title, QStringLiteral("\rAlegeti o alta luna decat luna de lucru!"), MsgError, BtnOK);
        return Outcome::refusal(QStringLiteral("month"), QStringLiteral("Alegeti o alta luna decat luna de lucru!"));
    }
    if (SaveBeforeDestroying(ui).isEmpty()) {
        Outcome o;
        o.failed = true;
        return o;
    }
    return RunGuarded(ui, title, [&]() -> Outcome {
        ProgressScope progress(ui, QStringLiteral("Sterg cererile..."), 3);
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        progress.step();
        Outcome out = Outcome::success(ExecSql({QStringLiteral("DELETE FROM ") + cereri,
                                                QStringLiteral("WHERE LUNACRT=") + QString::number(workingMonth),
                                                QStringLiteral("AND CNP IN"),
                                                QStringLiteral("(SELECT CNP FROM ") + cereri + QStringLiteral(" WHERE LUNACRT=")
                                                    + QString::number(otherMonth) + QLatin1Char(')')}));
        progress.step();
        out.members = ExecSql({QStringLiteral("DELETE FROM ") + Quoted(TablePath(QStringLiteral("Oameni.dbf"))),
                               QStringLiteral("WHERE NOT (NRCRT IN"), QStringLiteral("(SELECT NRCRT FROM ") + cereri + QStringLiteral("))")});
        WriteLog(QStringLiteral("Stergere Cereri care sunt si in luna ") + MonthText(otherMonth));
        progress.step();
        return out;
    });
}

} // namespace focaris

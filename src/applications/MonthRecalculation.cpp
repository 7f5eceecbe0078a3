// The month-wide changes of months and amounts.
#include "applications/MonthRecalculation.h"

#include "applications/AidCalculation.h"
#include "applications/TableBatch.h"
#include "core/ChangeLog.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/TableLock.h"

namespace focaris {

namespace {

const QString kDone = QStringLiteral("Recalcularea s-a incheiat cu succes!");

Amount amountOf(const sql::Value &v)
{
    return ParseNumber(QString::fromStdString(v.toString()));
}

} // namespace

Outcome ChangeMonths(Ui &ui, int month, int k)
{
    if (k < 1 || k > 5)
        return Outcome::refusal(QStringLiteral("k"), QStringLiteral("Numar de luni incorect!"));
    const QString title = QStringLiteral("Modificare Numar luni");
    if (!RealMonthChosen(ui, title, month))
        return {};
    Outcome out = RunGuarded(ui, title, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        ProgressScope progress(ui, QStringLiteral("Recalculez cererile..."), 2);
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        const QString m = QStringLiteral("WHERE LUNACRT=") + QString::number(month);
        // The totals first: should the second statement fail, a rerun gives the same result.
        ExecSql({QStringLiteral("UPDATE ") + cereri, QStringLiteral("SET TOTAL=%1*VALMAX").arg(k), m,
                 QStringLiteral("AND CUANTUM>1")});
        progress.step();
        const qint64 n = ExecSql({QStringLiteral("UPDATE ") + cereri, QStringLiteral("SET NR_LUNI=%1").arg(k), m});
        progress.step();
        WriteLog(QStringLiteral("Modificare Numar luni."));
        return Outcome::success(n);
    });
    if (out.done)
        ui.message(title, kDone, MessageKind::Information, MessageButton::OK);
    return out;
}

Outcome RecalculateMonth(Ui &ui, int month, const AidParameters &params)
{
    const QString title = QStringLiteral("Recalculare cereri");
    if (!RealMonthChosen(ui, title, month))
        return {};
    Outcome out = RunGuarded(ui, title, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        const sql::ResultSet rows = QuerySql(
            {QStringLiteral(
                 "SELECT NRCRT, NR_MEMBRI, TVENIT, STATUT, CUAJUT, NRCAM, TARIF, NR_LUNI, SUMAL, SUMAG, SUMAE, SUMAT, MOTIVR"),
             QStringLiteral("FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
             QStringLiteral("WHERE LUNACRT=") + QString::number(month)});
        const int n = static_cast<int>(rows.rowCount());
        ProgressScope progress(ui, QStringLiteral("Recalculez cererile..."), n / 100);
        KeyedUpdate update(QStringLiteral("NRCRT"),
                           {QStringLiteral("STATUT CHAR(7)"), QStringLiteral("MOTIVR CHAR(80)"),
                            QStringLiteral("CUANTUM DECIMAL(10,2)"), QStringLiteral("SUMAL DECIMAL(10,2)"),
                            QStringLiteral("SUMAG DECIMAL(10,2)"), QStringLiteral("SUMAE DECIMAL(10,2)"),
                            QStringLiteral("SUMAT DECIMAL(10,2)"), QStringLiteral("VALMAX DECIMAL(10,4)"),
                            QStringLiteral("TOTAL DECIMAL(10,2)")});
        for (int r = 0; r < n; ++r) {
            ApplicationInput in;
            in.members = static_cast<int>(rows.value(r, "NR_MEMBRI").toInt());
            in.totalIncome = amountOf(rows.value(r, "TVENIT"));
            in.status = ToQString(rows.value(r, "STATUT"));
            in.heatingAid = ToQString(rows.value(r, "CUAJUT")) == QLatin1String("X");
            in.rooms = static_cast<int>(rows.value(r, "NRCAM").toInt());
            in.tariff = amountOf(rows.value(r, "TARIF"));
            in.months = static_cast<int>(rows.value(r, "NR_LUNI").toInt());
            in.sumaL = amountOf(rows.value(r, "SUMAL"));
            in.sumaG = amountOf(rows.value(r, "SUMAG"));
            in.sumaE = amountOf(rows.value(r, "SUMAE"));
            in.sumaT = amountOf(rows.value(r, "SUMAT"));
            in.reason = ToQString(rows.value(r, "MOTIVR"));
            const Recalculation c = Recalculeaza(in, params);
            update.add(rows.value(r, "NRCRT").toInt(),
                       {SqlText(c.status), c.reason.isEmpty() ? QStringLiteral("NULL") : SqlText(c.reason),
                        FormatNumber(c.cuantum), FormatNumber(c.sumaL), FormatNumber(c.sumaG), FormatNumber(c.sumaE),
                        FormatNumber(c.sumaT), FormatNumber(c.valmax), FormatNumber(c.total)});
            if ((r + 1) % 100 == 0)
                progress.step();
        }
        const qint64 written = update.apply(TablePath(QStringLiteral("Cereri.dbf")),
                                            QStringLiteral("X.LUNACRT=") + QString::number(month));
        WriteLog(QStringLiteral("Recalculare cereri."));
        return Outcome::success(written);
    });
    if (out.done)
        ui.message(title, kDone, MessageKind::Information, MessageButton::OK);
    return out;
}

} // namespace focaris

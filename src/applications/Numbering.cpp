// Numbering of dispositions and the dates of applications.
#include "applications/Numbering.h"

#include "applications/TableBatch.h"
#include "core/DataStore.h"
#include "core/Formats.h"
#include "core/TableLock.h"

#include <QSet>

namespace focaris {

namespace {

const QString kWrongNumber = QStringLiteral("Numar incorect!");
const QString kWrongRange = QStringLiteral("Intervalul ales este incorect!");

// The checks shared by both windows, in the order the person meets the fields.
Outcome checkRange(qint64 from, qint64 to)
{
    if (from <= 0)
        return Outcome::refusal(QStringLiteral("a"), kWrongNumber);
    if (to <= 0)
        return Outcome::refusal(QStringLiteral("b"), kWrongNumber);
    return {};
}

QString rangeCondition(int month, qint64 from, qint64 to)
{
    return QStringLiteral("WHERE LUNACRT=%1\nAND NR_CERE>=%2 AND NR_CERE<=%3").arg(month).arg(from).arg(to);
}

} // namespace

QString CategoryCondition(DispositionCategory category)
{
    switch (category) {
    case DispositionCategory::All: return {};
    case DispositionCategory::Approved:
        // A blank CUMODIF reads as NULL, which "<>" alone would leave out.
        return QStringLiteral("STATUT=\"APROBAT\" AND (CUMODIF<>\"X\" OR CUMODIF IS NULL)");
    case DispositionCategory::ApprovedModified: return QStringLiteral("STATUT=\"APROBAT\" AND CUMODIF=\"X\"");
    case DispositionCategory::Rejected: return QStringLiteral("STATUT=\"RESPINS\"");
    }
    return {};
}

Outcome NumberDispositions(Ui &ui, int month, const NumberingRequest &req)
{
    Outcome check = checkRange(req.from, req.to);
    if (check.refused())
        return check;
    if (req.start <= 0)
        return Outcome::refusal(QStringLiteral("d"), kWrongNumber);
    if (req.to < req.from)
        return Outcome::refusal(QStringLiteral("a"), kWrongRange);
    if (!req.date.isValid())
        return Outcome::refusal(QStringLiteral("date"), QStringLiteral("Data incorecta!"));

    const QString title = QStringLiteral("Numerotare dispozitii");
    if (!RealMonthChosen(ui, title, month))
        return {};
    Outcome out = RunGuarded(ui, title, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        ProgressScope progress(ui, QStringLiteral("Renumerotez ..."), 3);
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        const QString date = SqlText(FormatDate(req.date));
        progress.step();
        QStringList where{rangeCondition(month, req.from, req.to)};
        const QString category = CategoryCondition(req.category);
        if (!category.isEmpty())
            where << QStringLiteral("AND ") + category;
        if (req.sameNumber && !req.clearOthers) {
            // One common disposition for the whole group: one statement.
            progress.step();
            QStringList lines{QStringLiteral("UPDATE ") + cereri, QStringLiteral("SET NR_DISP=") +
                                                                      SqlText(QString::number(req.start)) +
                                                                      QStringLiteral(", DATADISP=") + date};
            const qint64 n = ExecSql(lines + where);
            progress.step();
            return Outcome::success(n);
        }
        QStringList select{QStringLiteral("SELECT NRCRT, NR_CERE FROM ") + cereri};
        const sql::ResultSet rows = QuerySql(select + where + QStringList{QStringLiteral("ORDER BY NR_CERE")});
        progress.step();
        // The numbers and the date of every selected application, and the clearing of the
        // month's other numbers, in one statement: a process ended half-way never leaves
        // the month with its numbers cleared and the new ones not yet given.
        KeyedUpdate withDate(QStringLiteral("NRCRT"),
                             {QStringLiteral("NR_DISP CHAR(16)"), QStringLiteral("DATADISP DATE")});
        qint64 number = req.start;
        QSet<qint64> numbered;
        for (std::size_t r = 0; r < rows.rowCount(); ++r) {
            const qint64 key = rows.value(r, 0).toInt();
            numbered.insert(key);
            withDate.add(key, {SqlText(QString::number(req.sameNumber ? req.start : number++)), date});
        }
        if (req.clearOthers) {
            const sql::ResultSet all = QuerySql({QStringLiteral("SELECT NRCRT FROM ") + cereri,
                                                 QStringLiteral("WHERE LUNACRT=") + QString::number(month)});
            for (std::size_t r = 0; r < all.rowCount(); ++r)
                if (!numbered.contains(all.value(r, 0).toInt()))
                    withDate.add(all.value(r, 0).toInt(), {QStringLiteral("\"\""), QStringLiteral("NULL")});
        }
        const QString monthOnly = QStringLiteral("X.LUNACRT=") + QString::number(month);
        withDate.apply(TablePath(QStringLiteral("Cereri.dbf")), monthOnly);
        progress.step();
        return Outcome::success(qint64(rows.rowCount()));
    });
    if (out.done)
        ui.message(title, QStringLiteral("\rDispozitiile au fost numerotate."), MessageKind::Information,
                   MessageButton::OK);
    return out;
}

Outcome SetApplicationDates(Ui &ui, int month, qint64 from, qint64 to, const QDate &date)
{
    Outcome check = checkRange(from, to);
    if (check.refused())
        return check;
    if (to < from)
        return Outcome::refusal(QStringLiteral("a"), kWrongRange);
    if (!date.isValid())
        return Outcome::refusal(QStringLiteral("date"), QStringLiteral("Data incorecta!"));
    const QString title = QStringLiteral("Cereri");
    if (!RealMonthChosen(ui, title, month))
        return {};
    Outcome out = RunGuarded(ui, title, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        return Outcome::success(
            ExecSql({QStringLiteral("UPDATE ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                     QStringLiteral("SET DATACERE=") + SqlText(FormatDate(date)), rangeCondition(month, from, to)}));
    });
    if (out.done)
        ui.message(title, QStringLiteral("Cererilor specificate li s-a setat data."), MessageKind::Information,
                   MessageButton::OK);
    return out;
}

} // namespace focaris

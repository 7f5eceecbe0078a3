// The copy of a month's continuing applications.
#include "applications/MonthCopy.h"

#include "applications/TableBatch.h"
#include "core/ChangeLog.h"
#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"
#include "core/Months.h"
#include "core/TableLock.h"
#include "core/TempFiles.h"

#include <QFile>

#include <stdexcept>

namespace focaris {

namespace {

const QString kTitle = QStringLiteral("Adaugare Cereri");
// Only the applications that go on into the next month. A blank status reads as NULL,
// for which "<>" alone is unknown: such an application is not ended, so it goes on.
const QString kContinuing = QStringLiteral("AND (STATUT IS NULL OR (STATUT<>\"INCETAT\" AND STATUT<>\"RESPINS\"))");

QString tempTable(const QString &prefix)
{
    const QString file = NewTempFile(prefix, QStringLiteral(".dbf"));
    if (file.isEmpty())
        throw std::runtime_error("Nu pot face o tabela temporara in " + TempFolder().toStdString());
    return file;
}

} // namespace

Outcome CopyFromMonth(Ui &ui, int sourceMonth, int workingMonth, const std::function<void()> &afterMembers)
{
    if (!RealMonthChosen(ui, kTitle, workingMonth) || !RealMonthChosen(ui, kTitle, sourceMonth))
        return {};
    return RunGuarded(ui, kTitle, [&]() -> Outcome {
        TableWriteLock lock(&ui);
        const QString cereri = Quoted(TablePath(QStringLiteral("Cereri.dbf")));
        const QString oameni = Quoted(TablePath(QStringLiteral("Oameni.dbf")));
        const QString s = QString::number(sourceMonth), w = QString::number(workingMonth);

        // The duplicates are looked for before anything is written or any key taken.
        const sql::ResultSet dup = QuerySql(
            {QStringLiteral("SELECT SUBSEMN, CNP FROM ") + cereri, QStringLiteral("WHERE LUNACRT=") + s, kContinuing,
             QStringLiteral("AND CNP IN"),
             QStringLiteral("(SELECT CNP FROM ") + cereri + QStringLiteral(" WHERE LUNACRT=") + w + QLatin1Char(')')});
        if (!dup.empty()) {
            ui.message(kTitle,
                       QStringLiteral("Exista %1 CNP-uri care exista deja!\rDe exemplu: ").arg(dup.rowCount()) +
                           ToQString(dup.value(0, "SUBSEMN")) + QStringLiteral(" CNP: ") +
                           ToQString(dup.value(0, "CNP")) + QStringLiteral(" !!"),
                       MessageKind::Error, MessageButton::OK);
            return {};
        }

        Outcome out;
        {
            ProgressScope progress(ui, QStringLiteral("Copii cererile..."), 4);
            const QString appsFile = tempTable(QStringLiteral("Temp"));
            const QString membersFile = tempTable(QStringLiteral("TempOm"));
            const QString apps = Quoted(appsFile), members = Quoted(membersFile);
            CreateEmptyCopy(TablePath(QStringLiteral("Cereri.dbf")), appsFile);
            CreateEmptyCopy(TablePath(QStringLiteral("Oameni.dbf")), membersFile);
            progress.step();

            ExecSql({QStringLiteral("INSERT INTO ") + apps, QStringLiteral("SELECT * FROM ") + cereri,
                     QStringLiteral("WHERE LUNACRT=") + s, kContinuing});
            ExecSql({QStringLiteral("ALTER TABLE ") + apps, QStringLiteral("ADD NRCRTOLD DECIMAL(12,0)")});
            // Every row here continues (the selection above): one month less to run, and the
            // total of the months left. The right-hand sides read the values before the
            // statement, so TOTAL takes the new number of months.
            ExecSql({QStringLiteral("UPDATE ") + apps,
                     QStringLiteral("SET NRCRTOLD=NRCRT, LUNACRT=") + w +
                         QStringLiteral(", NR_LUNI=NR_LUNI-1, TOTAL=(NR_LUNI-1)*VALMAX")});
            // A month that ran out starts again at five; a blank number of months has none
            // left either.
            ExecSql({QStringLiteral("UPDATE ") + apps, QStringLiteral("SET NR_LUNI=5, TOTAL=5*VALMAX"),
                     QStringLiteral("WHERE NR_LUNI IS NULL OR NR_LUNI<=0")});
            // One block of keys for the whole copy, in table order.
            const qint64 count = QuerySql(QStringLiteral("SELECT COUNT(*) AS N FROM ") + apps).value(0, "N").toInt();
            NumberRows(appsFile, QStringLiteral("NRCRT"), TakeKeys(QStringLiteral("NRCRT"), count).truncated());
            progress.step();

            ExecSql({QStringLiteral("INSERT INTO ") + members +
                         QStringLiteral(" (NROM, NRCRT, TITULAR, CNP, VENIT, CALITATE)"),
                     QStringLiteral("SELECT A.NROM, B.NRCRT, A.TITULAR, A.CNP, A.VENIT, A.CALITATE"),
                     QStringLiteral("FROM ") + apps + QStringLiteral(" B"),
                     QStringLiteral("INNER JOIN ") + oameni + QStringLiteral(" A ON B.NRCRTOLD=A.NRCRT")});
            ExecSql({QStringLiteral("ALTER TABLE ") + apps, QStringLiteral("DROP NRCRTOLD")});
            const qint64 memberCount =
                QuerySql(QStringLiteral("SELECT COUNT(*) AS N FROM ") + members).value(0, "N").toInt();
            NumberRows(membersFile, QStringLiteral("NROM"), TakeKeys(QStringLiteral("NROM"), memberCount).truncated());
            progress.step();

            ExecSql({QStringLiteral("INSERT INTO ") + oameni, QStringLiteral("SELECT * FROM ") + members});
            if (afterMembers)
                afterMembers();
            ExecSql({QStringLiteral("INSERT INTO ") + cereri, QStringLiteral("SELECT * FROM ") + apps});
            QFile::remove(appsFile);
            QFile::remove(membersFile);
            WriteLog(QStringLiteral("Adaugare Cereri din luna ") + MonthText(sourceMonth));
            progress.step();
            out = Outcome::success(count);
            out.members = memberCount;
        }
        return out;
    });
}

} // namespace focaris

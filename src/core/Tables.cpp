// Table layouts, creation, upgrade and maintenance.
#include "core/Tables.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Settings.h"

#include "engines/common/FileNames.h"

#include <QDate>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace focaris {

namespace {

bool tableExists(const QString &path)
{
    return std::filesystem::exists(files::resolveCaseInsensitive(path.toStdString()));
}

void createTable(const QString &path, const QString &columns)
{
    if (tableExists(path))
        return;
    ExecSql(QStringList{"CREATE TABLE " + Quoted(path), "(" + columns + ")"});
}

} // namespace

QString ApplicationsColumns()
{
    return "NRCRT DECIMAL(12,0), LUNADEC DECIMAL(10,0), LUNACRT DECIMAL(10,0), SUBSEMN CHAR(32), "
           "CNP CHAR(13), LOCALIT CHAR(60), ADRESA CHAR(60), NR_MEMBRI DECIMAL(5,0), "
           "TVENIT DECIMAL(10,2), VENITM DECIMAL(10,2), ASOC CHAR(60), NRCONT CHAR(20), "
           "L416 CHAR(1), ASF CHAR(1), CUAJUT CHAR(1), SUMAL DECIMAL(10,2), "
           "TITG CHAR(32), CNPG CHAR(13), FURNG CHAR(60), CODCLG CHAR(20), PODG CHAR(20), SUMAG DECIMAL(10,2), "
           "TITE CHAR(32), CNPE CHAR(13), FURNE CHAR(60), CODCLE CHAR(20), PODE CHAR(20), SUMAE DECIMAL(10,2), "
           "TITT CHAR(32), CNPT CHAR(13), FURNT CHAR(60), CODCLT CHAR(20), SUMAT DECIMAL(10,2), "
           "CUANTUM DECIMAL(10,2), NR_LUNI DECIMAL(5,0), TOTAL DECIMAL(10,2), NR_DISP CHAR(16), "
           "NR_CERE DECIMAL(10,0), DATACERE DATE, DATADISP DATE, STATUT CHAR(7), CUMODIF CHAR(1), "
           "MOTIVR CHAR(80), STCIV CHAR(2), SITSCOL CHAR(2), NRCAM DECIMAL(6,0), TARIF DECIMAL(10,4), "
           "VALMAX DECIMAL(10,4), ASIG CHAR(1), COPII14 DECIMAL(6,0), COPII18 DECIMAL(6,0), SITPROF CHAR(24)";
}

QString MembersColumns()
{
    return "NROM DECIMAL(10,0), NRCRT DECIMAL(12,0), TITULAR CHAR(32), CNP CHAR(13), "
           "VENIT DECIMAL(10,2), CALITATE CHAR(12)";
}

QString LogColumns()
{
    return "IDLOG DECIMAL(10,0), DATAL DATE, ORA CHAR(12), ACTIUNE CHAR(120), UTILIZATOR CHAR(16)";
}

void CreateApplicationsTable(const QString &path)
{
    createTable(path, ApplicationsColumns());
}
void CreateMembersTable(const QString &path)
{
    createTable(path, MembersColumns());
}

void CreateTables()
{
    createTable(TablePath("LOG.DBF"), LogColumns());
    CreateApplicationsTable(TablePath("Cereri.dbf"));
    CreateMembersTable(TablePath("Oameni.dbf"));
}

qint64 DropMembersWithoutApplication()
{
    const QString cereri = TablePath("Cereri.dbf"), oameni = TablePath("Oameni.dbf");
    std::error_code ec;
    if (!std::filesystem::exists(files::resolveCaseInsensitive(cereri.toStdString()), ec) ||
        !std::filesystem::exists(files::resolveCaseInsensitive(oameni.toStdString()), ec))
        return 0;
    // Tables of another layout (no NRCRT), or a table another computer holds, are left as
    // they are: the start goes on, and the next start tries again.
    try {
        return ExecSql(QStringList{"DELETE FROM " + Quoted(oameni), "WHERE NRCRT IS NULL OR NRCRT NOT IN",
                                   "(SELECT NRCRT FROM " + Quoted(cereri) + " WHERE NRCRT IS NOT NULL)"});
    } catch (const std::exception &) {
        return 0;
    }
}

void PackTable(const QString &path)
{
    sql::TableCursor::pack(path.toStdString());
}

void PurgeLog()
{
    const sql::ResultSet log = QuerySql("SELECT * FROM " + Quoted(TablePath("Log.dbf")));
    if (log.rowCount() < 1000)
        return;
    const qint64 newest = log.value(log.rowCount() - 1, "IDLOG").toInt();
    ExecSql(
        QStringList{"DELETE FROM " + Quoted(TablePath("Log.dbf")), "WHERE IDLOG<" + QString::number(newest - 1000)});
}

bool UpgradeApplicationsTable(const std::function<Amount(int rooms)> &averageConsumption)
{
    const QString table = Quoted(TablePath("Cereri.dbf"));
    auto hasColumn = [&](const char *name) {
        return sql::TableCursor(TablePath("Cereri.dbf").toStdString()).fieldIndex(name) >= 0;
    };
    bool changed = false;
    if (!hasColumn("TARIF")) {
        ExecSql(QStringList{"ALTER TABLE " + table, "ADD TARIF DECIMAL(10,4)"});
        ExecSql(QStringList{"UPDATE " + table, "SET TARIF=0"});
        changed = true;
    }
    if (!hasColumn("TITT")) {
        ExecSql(QStringList{"ALTER TABLE " + table, "ADD TITG CHAR(32), ADD CNPG CHAR(13),",
                            "ADD TITE CHAR(32), ADD CNPE CHAR(13),", "ADD TITT CHAR(32), ADD CNPT CHAR(13)"});
        ExecSql(QStringList{"UPDATE " + table, "SET TITT=TITULAR, CNPT=CNP"});
        ExecSql(QStringList{"UPDATE " + table, "SET TITT=SUBSEMN", "WHERE (TITT IS NULL) OR (TITT=\"\")"});
        ExecSql(QStringList{"ALTER TABLE " + table, "DROP TITULAR"});
        changed = true;
    }
    if (!hasColumn("VALMAX")) {
        ExecSql(QStringList{"ALTER TABLE " + table, "ADD VALMAX DECIMAL(10,2)"});
        ExecSql(QStringList{"UPDATE " + table, "SET VALMAX=0"});
        sql::TableCursor cursor(TablePath("Cereri.dbf").toStdString());
        for (bool ok = cursor.first(); ok; ok = cursor.next()) {
            if (cursor.value("CUAJUT").toString() != "X")
                continue;
            const Amount gcal = averageConsumption(static_cast<int>(cursor.value("NRCAM").toInt()));
            const double valmax =
                gcal.toDouble() * cursor.value("CUANTUM").toDouble() * cursor.value("TARIF").toDouble() / 100;
            cursor.setValue("VALMAX", sql::Value::fromReal(valmax));
            cursor.setValue(
                "TOTAL", sql::Value::fromReal(cursor.value("NR_LUNI").toDouble() * cursor.value("VALMAX").toDouble()));
            cursor.post();
        }
        changed = true;
    }
    return changed;
}

qint64 WeekNumber(const QDateTime &now)
{
    const QDate epoch(1899, 12, 30);
    const double days = static_cast<double>(epoch.daysTo(now.date())) + now.time().msecsSinceStartOfDay() / 86400000.0;
    return static_cast<qint64>(days / 7);
}

bool WeeklyPack(const std::function<void()> &step, const QDateTime &now)
{
    const qint64 last = ReadSettingNumber("CONST", "LASTPACK").truncated();
    const qint64 week = WeekNumber(now);
    const bool pack = last != week;
    if (pack)
        WriteSettingNumber("CONST", "LASTPACK", Amount::fromWhole(week));
    for (const char *name : {"Cereri.dbf", "Oameni.dbf", "Log.dbf"}) {
        // A table another computer holds open cannot be packed now; it waits for the
        // next week rather than stopping the start of the program.
        if (pack) {
            try {
                PackTable(TablePath(name));
            } catch (const sql::SqlError &) {
            }
        }
        if (step)
            step();
    }
    return pack;
}

int FillDistinct(QStringList &items, const QString &tablePath, const QString &condition, const QString &column)
{
    QStringList lines{"SELECT DISTINCT " + column, "FROM " + Quoted(tablePath)};
    if (!condition.trimmed().isEmpty())
        lines << "WHERE " + condition;
    const sql::ResultSet r = QuerySql(lines);
    // The few distinct values are put in column order here: an ORDER BY would have the
    // engine sort every row of the table before dropping the repeats, which on a city's
    // table is most of the editor's first opening. The order is the engine's own: NULL
    // first, numbers by value, then texts by their bytes (dates travel as ISO texts).
    std::vector<std::size_t> order(r.rowCount());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto rank = [](const sql::Value &v) { return v.isNull() ? 0 : v.isNumber() ? 1 : 2; };
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const sql::Value &a = r.value(x, 0), &b = r.value(y, 0);
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        if (a.isNumber())
            return a.toDouble() < b.toDouble();
        if (a.kind == sql::Value::Date && b.kind == sql::Value::Date)
            return a.date < b.date;
        return a.text < b.text;
    });
    for (std::size_t i : order) {
        const QString v = ToQString(r.value(i, 0));
        if (!v.trimmed().isEmpty())
            items << v;
    }
    return items.isEmpty() ? -1 : 0;
}

int SelectItem(const QStringList &items, const QString &text)
{
    return items.indexOf(text);
}

} // namespace focaris

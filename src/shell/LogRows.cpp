// Reading the change log for the viewer.
#include "shell/LogRows.h"

#include "core/DataStore.h"

namespace focaris::shell {

QVector<LogEntry> ReadLog()
{
    const sql::ResultSet rows =
        QuerySql(QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Log.dbf"))) +
                 QStringLiteral(" ORDER BY IDLOG"));
    const int date = rows.columnIndex("DATAL");
    const int time = rows.columnIndex("ORA");
    const int action = rows.columnIndex("ACTIUNE");
    const int user = rows.columnIndex("UTILIZATOR");
    auto text = [&rows](std::size_t r, int c) { return c < 0 ? QString() : ToQString(rows.value(r, std::size_t(c))); };
    QVector<LogEntry> result;
    result.reserve(qsizetype(rows.rowCount()));
    for (std::size_t r = 0; r < rows.rowCount(); ++r)
        result.push_back({text(r, date), text(r, time), text(r, action), text(r, user)});
    return result;
}

} // namespace focaris::shell

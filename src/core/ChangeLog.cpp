// WriteLog.
#include "core/ChangeLog.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Keys.h"

#include <QStringList>

namespace focaris {

void WriteLog(const QString &action)
{
    WriteLogAt(action, QDateTime::currentDateTime());
}

void WriteLogAt(const QString &action, const QDateTime &when)
{
    const QString key = NextKeyText("IDLOG");
    ExecSql(QStringList{"INSERT INTO " + Quoted(TablePath("Log.dbf")), "(IDLOG, DATAL, ORA, ACTIUNE, UTILIZATOR)",
                        "VALUES (" + key + ", " + SqlText(when.date().toString("dd.MM.yyyy")) + ", " +
                            SqlText(when.time().toString("HH:mm:ss")) + ", " + SqlText(action) + ", " +
                            SqlText(OperatorName()) + ")"});
}

} // namespace focaris

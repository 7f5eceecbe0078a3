// The rows the log viewer lists: every row of the change log, oldest first (by key).
#pragma once

#include <QString>
#include <QVector>

namespace focaris::shell {

struct LogEntry {
    QString date, time, action, user;
};

// SELECT * FROM Log.dbf ORDER BY IDLOG, as texts (dates as "dd.MM.yyyy").
QVector<LogEntry> ReadLog();

} // namespace focaris::shell

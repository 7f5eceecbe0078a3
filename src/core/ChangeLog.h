// The change log: one row of Log.dbf for every data-changing action, with the date, the
// time, the action text and the operator (cut to the column's 16 characters by the store).
#pragma once

#include <QDateTime>
#include <QString>

namespace focaris {

void WriteLog(const QString &action);
// The same at a given moment (tests).
void WriteLogAt(const QString &action, const QDateTime &when);

} // namespace focaris

// The program's access to its tables: one statement engine for the run, statements given
// as lines (joined by line breaks, as every operation builds them) and the quoted paths of
// the tables of the data folder. Failures raise focaris::sql::SqlError, which carries the
// engine's message and the statement; the operation in progress ends with it.
#pragma once

#include "engines/localsql/Engine.h"
#include "engines/localsql/ResultSet.h"
#include "engines/localsql/TableCursor.h"

#include <QString>
#include <QStringList>

namespace focaris {

// The engine of the run (relative table names are taken in DataFolder).
sql::Engine &SqlEngine();

// Runs a statement; returns the rows it changed.
qint64 ExecSql(const QString &statement);
qint64 ExecSql(const QStringList &lines);
// Runs a SELECT.
sql::ResultSet QuerySql(const QString &statement);
sql::ResultSet QuerySql(const QStringList &lines);

// DataFolder + "/" + file name, e.g. TablePath("Cereri.dbf").
QString TablePath(const QString &fileName);
// A path in double quotes, as statements name their tables.
QString Quoted(const QString &path);
// A text constant in double quotes. Double quotes inside (which would end the constant)
// become blanks, the rule of the texts the program puts into statements.
QString SqlText(const QString &text);

// Conversions between the result values and Qt.
QString ToQString(const sql::Value &value);
double ToDouble(const sql::Value &value);

} // namespace focaris

// The statement engine of the run and the helpers for building statements.
#include "core/DataStore.h"

#include "core/Context.h"

namespace focaris {

sql::Engine &SqlEngine()
{
    static sql::Engine engine;
    engine.setBaseFolder(DataFolder().toStdString());
    return engine;
}

qint64 ExecSql(const QString &statement)
{
    return SqlEngine().execute(statement.toStdString());
}
qint64 ExecSql(const QStringList &lines)
{
    return ExecSql(lines.join('\n'));
}
sql::ResultSet QuerySql(const QString &statement)
{
    return SqlEngine().query(statement.toStdString());
}
sql::ResultSet QuerySql(const QStringList &lines)
{
    return QuerySql(lines.join('\n'));
}

QString TablePath(const QString &fileName)
{
    return DataFolder() + "/" + fileName;
}
QString Quoted(const QString &path)
{
    return '"' + path + '"';
}

QString SqlText(const QString &text)
{
    QString t = text;
    t.replace('"', ' ');
    return '"' + t + '"';
}

QString ToQString(const sql::Value &value)
{
    return QString::fromStdString(value.toString());
}
double ToDouble(const sql::Value &value)
{
    return value.toDouble();
}

} // namespace focaris

// Whole-set work for the month operations.
#include "applications/TableBatch.h"

#include "core/DataStore.h"
#include "core/TempFiles.h"
#include "engines/common/FileNames.h"
#include "engines/dbase/DbfTable.h"
#include "engines/localsql/CachedTable.h"

#include <QFile>

#include <stdexcept>

namespace focaris {

namespace {

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdString());
}

// The CREATE TABLE form of a field, or empty when the statements cannot make it.
QString columnDefinition(const dbf::Field &f)
{
    const QString name = QString::fromStdString(f.name);
    switch (f.type) {
    case 'C': return name + QStringLiteral(" CHAR(%1)").arg(f.length);
    case 'N': return name + QStringLiteral(" DECIMAL(%1,%2)").arg(f.length).arg(f.decimals);
    case 'D': return name + QStringLiteral(" DATE");
    default: return {};
    }
}

// Statements insert at most this many rows at once, to keep each statement's text small.
constexpr std::size_t kRowsPerInsert = 2000;

} // namespace

void CreateEmptyCopy(const QString &source, const QString &target)
{
    QStringList columns;
    {
        dbf::DbfTable table(files::resolveCaseInsensitive(fsPath(source)), true);
        for (const dbf::Field &f : table.fields()) {
            const QString def = columnDefinition(f);
            if (def.isEmpty()) {
                columns.clear();
                break;
            }
            columns << def;
        }
    }
    QFile::remove(target);
    if (!columns.isEmpty()) {
        ExecSql(QStringLiteral("CREATE TABLE ") + Quoted(target) + QStringLiteral(" (") +
                columns.join(QStringLiteral(", ")) + QLatin1Char(')'));
        return;
    }
    // A layout the statements cannot write (logical or memo fields): copy the file itself.
    if (!QFile::copy(files::resolveCaseInsensitive(fsPath(source)).string().c_str(), target))
        throw std::runtime_error("Nu pot copia tabela " + source.toStdString() + " in " + target.toStdString());
    ExecSql(QStringLiteral("DELETE FROM ") + Quoted(target));
    sql::TableCursor::pack(fsPath(target));
}

qint64 NumberRows(const QString &path, const QString &column, qint64 first)
{
    const std::filesystem::path resolved = files::resolveCaseInsensitive(fsPath(path));
    dbf::DbfTable table(resolved);
    const int c = table.fieldIndex(column.toStdString());
    if (c < 0)
        throw std::runtime_error("Coloana " + column.toStdString() + " lipseste din " + path.toStdString());
    const dbf::RecordSet rows = table.readAll();
    std::vector<std::uint32_t> numbers;
    std::vector<dbf::Record> records;
    numbers.reserve(rows.size());
    records.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        dbf::Record rec = rows.record(r);
        rec[static_cast<std::size_t>(c)] = dbf::Value::fromNumber(static_cast<double>(first + static_cast<qint64>(r)));
        numbers.push_back(rows.recordNumber(r));
        records.push_back(std::move(rec));
    }
    table.overwriteMany(numbers, records);
    // The engine's copy of the table was not part of this write: make it read the file
    // again instead of trusting a stamp that may not have moved within the clock's tick.
    sql::TableCache::instance().table(resolved)->invalidate();
    return static_cast<qint64>(rows.size());
}

KeyedUpdate::KeyedUpdate(QString keyColumn, QStringList columns)
    : key_(std::move(keyColumn)), columns_(std::move(columns))
{
    for (const QString &c : columns_)
        names_ << c.section(QLatin1Char(' '), 0, 0);
}

void KeyedUpdate::add(qint64 key, const QStringList &values)
{
    keys_.push_back(key);
    rows_.push_back(QLatin1Char('(') + QString::number(key) + QStringLiteral(", ") + values.join(QStringLiteral(", ")) +
                    QLatin1Char(')'));
}

qint64 KeyedUpdate::apply(const QString &targetPath, const QString &condition)
{
    if (keys_.empty())
        return 0;
    const QString file = NewTempFile(QStringLiteral("TempUp"), QStringLiteral(".dbf"));
    if (file.isEmpty())
        throw std::runtime_error("Nu pot face o tabela temporara.");
    QFile::remove(file);
    const QString t = Quoted(file);
    struct Remove {
        QString file;
        ~Remove()
        {
            sql::TableCache::instance().forget(files::resolveCaseInsensitive(fsPath(file)));
            QFile::remove(file);
        }
    } remove{file};
    ExecSql(QStringLiteral("CREATE TABLE ") + t + QStringLiteral(" (") + key_ + QStringLiteral(" DECIMAL(12,0), ") +
            columns_.join(QStringLiteral(", ")) + QLatin1Char(')'));
    for (std::size_t from = 0; from < rows_.size(); from += kRowsPerInsert) {
        QString values;
        const std::size_t to = std::min(rows_.size(), from + kRowsPerInsert);
        for (std::size_t i = from; i < to; ++i) {
            if (i > from)
                values += QStringLiteral(",\n");
            values += rows_[i];
        }
        ExecSql(QStringLiteral("INSERT INTO ") + t + QStringLiteral(" VALUES\n") + values);
    }
    QStringList sets;
    for (const QString &n : names_)
        sets << n + QStringLiteral("=(SELECT U.") + n + QStringLiteral(" FROM ") + t + QStringLiteral(" U WHERE U.") +
                    key_ + QStringLiteral("=X.") + key_ + QLatin1Char(')');
    QStringList lines{QStringLiteral("UPDATE ") + Quoted(targetPath) + QStringLiteral(" X"),
                      QStringLiteral("SET ") + sets.join(QStringLiteral(",\n")),
                      QStringLiteral("WHERE X.") + key_ + QStringLiteral(" IN (SELECT ") + key_ +
                          QStringLiteral(" FROM ") + t + QLatin1Char(')')};
    if (!condition.isEmpty())
        lines << QStringLiteral("AND ") + condition;
    return ExecSql(lines);
}

} // namespace focaris

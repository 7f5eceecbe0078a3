// Work over whole sets of rows for the month operations: an empty table with the layout of
// another, fresh keys written into every row of a private table in one batch, and
// values computed row by row written back with one statement instead of one statement
// per row.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace focaris {

// Makes `target` an empty table with the columns of `source`. Tables of text, number and
// date columns are made with CREATE TABLE (no copy of a large file); any other layout is
// copied as a file and emptied.
void CreateEmptyCopy(const QString &source, const QString &target);

// Writes first, first + 1, ... into `column` of every live row of the table at `path`, in
// file order, as one batch under one lock. Meant for the operations' private tables:
// nobody else writes them. Returns the number of rows.
qint64 NumberRows(const QString &path, const QString &column, qint64 first);

// Values computed for some rows of a table, written with one UPDATE: the values go into a
// temporary table keyed like the target, and each column of the target takes the value of
// its key from there.
class KeyedUpdate {
public:
    // `columns`: the column definitions written, as CREATE TABLE takes them
    // ("NR_DISP CHAR(16)"); the key column is added first as DECIMAL(12,0).
    KeyedUpdate(QString keyColumn, QStringList columns);

    // One row: the key and one statement constant per column ("\"101\"", "12.5", "NULL").
    void add(qint64 key, const QStringList &values);
    std::size_t size() const { return keys_.size(); }

    // Updates the rows of `targetPath` whose key was added and that meet `condition`
    // (written over the target's columns, may be empty). Returns the rows changed. The
    // temporary table is removed afterwards, also after a failure.
    qint64 apply(const QString &targetPath, const QString &condition);

private:
    QString key_;
    QStringList columns_, names_;
    std::vector<qint64> keys_;
    std::vector<QString> rows_;
};

} // namespace focaris

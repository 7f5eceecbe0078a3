// The suggestion lists of the editor (localities, suppliers, associations) kept between
// openings: the distinct values of a column of the applications table are read once and
// reused while the file keeps the same size and modification time. A write of the editor's
// own store adds its values to the kept lists instead of reading the table again; any
// other change of the file (another computer, a month operation) reads it again.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

namespace focaris {

// The sorted distinct non-blank values of `column` of the applications table.
QStringList DistinctApplicationValues(const QString &column);

// The applications table's size and modification time.
struct TableStamp {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const TableStamp &) const = default;
};
TableStamp ApplicationsStamp();

// After the editor's own write: the lists read at `before` take the given values
// (column -> value) and the new stamp of the file; lists read at another stamp are left
// to be read again.
void NoteApplicationsWrite(const TableStamp &before, const QHash<QString, QString> &values);

// Forgets every kept list (tests).
void ForgetDistinctLists();

} // namespace focaris

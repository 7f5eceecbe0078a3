// A grid over a statement's result (see ResultGrid.h).
#include "documents/ResultGrid.h"

namespace focaris {

ResultGrid::ResultGrid(sql::ResultSet rows, QObject *parent) : QAbstractTableModel(parent), rows_(std::move(rows)) {}

int ResultGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.rowCount());
}

int ResultGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.columnCount());
}

QVariant ResultGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const sql::Value &v = rows_.value(std::size_t(index.row()), std::size_t(index.column()));
    if (role == Qt::EditRole && v.kind == sql::Value::Integer)
        return QVariant::fromValue<qlonglong>(v.integer);
    if (role == Qt::EditRole && v.kind == sql::Value::Real)
        return v.real;
    return QString::fromStdString(v.toString());
}

QVariant ResultGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        std::size_t(section) >= rows_.columnCount())
        return {};
    return QString::fromStdString(rows_.columnName(std::size_t(section)));
}

} // namespace focaris

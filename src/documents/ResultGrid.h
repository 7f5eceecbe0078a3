// A grid over a statement's result: a table model that reads each cell from the result set
// when asked (no item per cell), titled by the column names. It lets the grid export (and
// focaris-tool) write any query's rows as a grid would show them.
#pragma once

#include "engines/localsql/ResultSet.h"

#include <QAbstractTableModel>

namespace focaris {

class ResultGrid : public QAbstractTableModel {
public:
    explicit ResultGrid(sql::ResultSet rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // DisplayRole: the value as text (numbers in their shortest form, dates dd.mm.yyyy,
    // NULL empty). EditRole: numbers as numbers, everything else as its text.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    sql::ResultSet rows_;
};

} // namespace focaris

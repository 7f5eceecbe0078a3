// The grid of the applications list: a table model over the month's result set, reading
// each cell when the view asks for it (no item per cell), with the grid's titles.
#pragma once

#include "applications/ApplicationList.h"

#include <QAbstractTableModel>

namespace focaris::gui {

class ApplicationsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ApplicationsModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    ApplicationList &list() { return list_; }
    const ApplicationList &list() const { return list_; }

    // Runs `change` on the list (open, search, sort) as one reset of the model, so that
    // the view drops its rows once and reads only what it shows afterwards.
    template <class F>
    void change(F &&f)
    {
        beginResetModel();
        try {
            f(list_);
        } catch (...) {
            endResetModel();
            throw;
        }
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ApplicationList list_;
};

} // namespace focaris::gui

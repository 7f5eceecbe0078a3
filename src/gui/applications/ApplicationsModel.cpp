// The applications grid's model.
#include "gui/applications/ApplicationsModel.h"

namespace focaris::gui {

int ApplicationsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : list_.count();
}

int ApplicationsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ListColumns().size());
}

QVariant ApplicationsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return list_.text(index.row(), index.column());
    // The value itself: amounts and counts as numbers, so that an exported workbook adds
    // them up; everything else (CNPs, codes) as the text shown.
    if (role == Qt::EditRole) {
        const QString text = list_.text(index.row(), index.column());
        bool ok = false;
        const double number = list_.numeric(index.column()) ? text.toDouble(&ok) : 0;
        return ok ? QVariant(number) : QVariant(text);
    }
    // Amounts and counts line up on the right, as numbers do.
    if (role == Qt::TextAlignmentRole && list_.numeric(index.column()))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ApplicationsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(ListColumns().size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return ListColumns()[section].title;
}

} // namespace focaris::gui

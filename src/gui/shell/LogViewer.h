// The log viewer ("Istoric modificari date"): the latest actions done in the program, one
// read-only row each, opened scrolled to the newest row.
#pragma once

#include "shell/LogRows.h"

#include <QDialog>
#include <QVector>

class QTableWidget;

namespace focaris::gui {

using LogRow = shell::LogEntry;

class LogViewer : public QDialog {
    Q_OBJECT
public:
    explicit LogViewer(QWidget *parent = nullptr);

    // Fills the grid (rows oldest first) and selects the newest row.
    void setRows(const QVector<LogRow> &rows);
    QTableWidget *grid() const { return grid_; }

private:
    QTableWidget *grid_;
};

} // namespace focaris::gui

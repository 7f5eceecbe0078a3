// The dialog "Export Grila" behind every grid's "E&xporta tabel": the format (XLS, HTML,
// CSV, TXT, RTF, DOC) and the file, then the grid as shown (the view's visible columns
// in their visual order) written there and opened with the desktop's application.
#pragma once

#include "documents/GridExport.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QTableView;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class GridExportDialog : public QDialog {
    Q_OBJECT
public:
    GridExportDialog(Ui &ui, QWidget *parent = nullptr);

    // Shows the dialog for the grid of `view` (its model, its visible columns in visual
    // order); true when a file was written.
    bool exportView(const QTableView &view);

    // The visible columns of a view in the order the person sees them.
    static QList<GridColumn> visibleColumns(const QTableView &view);

    GridFormat format() const;
    void setFormat(GridFormat format);
    QLineEdit *fileField() const { return file_; }
    QPushButton *exportButton() const { return export_; }
    QPushButton *browseButton() const { return browse_; }
    QString writtenFile() const { return written_; }

private:
    void browse();
    void run();
    void formatChanged();

    Ui &ui_;
    const QTableView *view_ = nullptr;
    QButtonGroup *formats_;
    QLineEdit *file_;
    QPushButton *browse_;
    QPushButton *export_;
    QString written_;
};

} // namespace focaris::gui

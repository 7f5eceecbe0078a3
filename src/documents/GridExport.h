// The export of a grid as it is shown ("E&xporta tabel"): every row of the model, the
// visible columns in their order with their titles, to an Excel 97-2003 workbook, an
// HTML page, CSV, tab-separated text, RTF or DOC (the RTF under ".doc"). Any grid of the
// program can call it with its model; the dialog "Export Grila" gathers the format and
// the file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

namespace focaris {

enum class GridFormat { Xls, Html, Csv, Txt, Rtf, Doc };

// The formats in the order the dialog offers them, their captions and file endings.
QList<GridFormat> GridFormats();
QString GridFormatCaption(GridFormat format); // "XLS", "HTML", ...
QString GridFormatSuffix(GridFormat format);  // "xls", "html", ...

// A visible column: the model's column and the title shown above it.
struct GridColumn {
    int column = 0;
    QString title;
};

// Every column of the model with its horizontal header title, in model order.
QList<GridColumn> AllGridColumns(const QAbstractItemModel &model);

// Writes the grid to `path` through a scratch file beside it, renamed over `path` only
// when complete, so a failure leaves an earlier file as it was. Each value is the text the
// grid shows (Qt::DisplayRole). In the workbook a value the model gives as a number
// (Qt::EditRole of a numeric type) is a number cell, everything else a text cell, so that
// CNPs and codes keep their leading zeros while amounts still add up. Returns false with
// `error` (a Romanian message) when the file cannot be written.
bool ExportGrid(const QAbstractItemModel &model, const QList<GridColumn> &columns, GridFormat format,
                const QString &path, QString &error);

} // namespace focaris

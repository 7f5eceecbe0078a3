// The dialog "Export Grila".
#include "gui/widgets/GridExportDialog.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace focaris::gui {
namespace {

const QString kTitle = QStringLiteral("Export Grila");

} // namespace

GridExportDialog::GridExportDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("ExportGrila"), kTitle);
    auto *group = new QGroupBox(QStringLiteral("Formatul fisierului"), this);
    auto *groupLayout = new QHBoxLayout(group);
    formats_ = new QButtonGroup(this);
    for (GridFormat f : GridFormats()) {
        auto *radio = new QRadioButton(GridFormatCaption(f), group);
        radio->setObjectName(QStringLiteral("Format") + GridFormatCaption(f));
        formats_->addButton(radio, int(f));
        groupLayout->addWidget(radio);
    }
    formats_->button(int(GridFormat::Xls))->setChecked(true);
    auto *fileLabel = new QLabel(QStringLiteral("Fisierul"), this);
    file_ = TextEntry(QStringLiteral("Fisier"), this);
    file_->setMinimumWidth(360);
    browse_ = DialogButton(QStringLiteral("..."), this, QStringLiteral("Alege"));
    export_ = DialogButton(QStringLiteral("&Exporta"), this, QStringLiteral("Exporta"));
    auto *cancel = CancelButton(QStringLiteral("&Renunta"), this);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(fileLabel);
    layout->addLayout(fileRow);
    layout->addWidget(ButtonRow(this, {export_, cancel}));
    connect(browse_, &QPushButton::clicked, this, &GridExportDialog::browse);
    connect(export_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { run(); }));
    connect(formats_, &QButtonGroup::idClicked, this, &GridExportDialog::formatChanged);
    connect(file_, &QLineEdit::returnPressed, this, GuardedAction(ui_, windowTitle(), [this] { run(); }));
}

GridFormat GridExportDialog::format() const
{
    return GridFormat(formats_->checkedId());
}

void GridExportDialog::setFormat(GridFormat f)
{
    formats_->button(int(f))->setChecked(true);
    formatChanged();
}

// The file keeps its folder and name and takes the ending of the chosen format.
void GridExportDialog::formatChanged()
{
    const QString current = file_->text().trimmed();
    if (current.isEmpty())
        return;
    const QFileInfo info(current);
    file_->setText(QDir(info.path()).filePath(info.completeBaseName() + QLatin1Char('.') + GridFormatSuffix(format())));
}

void GridExportDialog::browse()
{
    const QString suffix = GridFormatSuffix(format());
    const QString chosen = ui_.saveFileName(
        kTitle, file_->text(), GridFormatCaption(format()) + QStringLiteral(" (*.") + suffix + QLatin1Char(')'));
    if (!chosen.isEmpty())
        file_->setText(chosen);
}

void GridExportDialog::run()
{
    if (!view_ || !view_->model())
        return;
    QString path = file_->text().trimmed();
    if (path.isEmpty()) {
        ui_.fieldHint(QStringLiteral("Alegeti fisierul in care se scrie tabelul!"), file_);
        return;
    }
    const QString suffix = GridFormatSuffix(format());
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = ExportGrid(*view_->model(), visibleColumns(*view_), format(), path, error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        ui_.message(kTitle, QStringLiteral("\n") + error, MessageKind::Error, MessageButton::OK);
        return;
    }
    written_ = path;
    accept();
    ui_.openDocument(path);
}

QList<GridColumn> GridExportDialog::visibleColumns(const QTableView &view)
{
    QList<GridColumn> columns;
    const QHeaderView *header = view.horizontalHeader();
    const QAbstractItemModel *model = view.model();
    if (!model)
        return columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || header->isSectionHidden(logical))
            continue;
        columns.append({logical, model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString()});
    }
    return columns;
}

bool GridExportDialog::exportView(const QTableView &view)
{
    view_ = &view;
    written_.clear();
    if (file_->text().isEmpty())
        file_->setText(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                           .filePath(QStringLiteral("Tabel.") + GridFormatSuffix(format())));
    const bool done = exec() == QDialog::Accepted;
    view_ = nullptr;
    return done;
}

} // namespace focaris::gui

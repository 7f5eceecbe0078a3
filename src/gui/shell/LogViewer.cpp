// The log viewer, with the band "Data si ora" over its first two columns.
#include "gui/shell/LogViewer.h"

#include "gui/widgets/DialogParts.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace focaris::gui {
namespace {

// A band above the grid's header naming a group of columns.
class HeaderBand : public QWidget {
public:
    HeaderBand(QTableWidget *grid, QWidget *parent) : QWidget(parent), grid_(grid)
    {
        setFixedHeight(fontMetrics().height() + 6);
        connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { update(); });
        connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QHeaderView *h = grid_->horizontalHeader();
        const int x0 = grid_->frameWidth() + grid_->verticalHeader()->width() + h->sectionViewportPosition(0);
        const int w = h->sectionSize(0) + h->sectionSize(1);
        const QRect band(x0, 0, w, height() - 1);
        p.fillRect(band, palette().button());
        p.setPen(palette().mid().color());
        p.drawRect(band);
        p.setPen(palette().buttonText().color());
        p.drawText(band, Qt::AlignCenter, QStringLiteral("Data si ora"));
    }

private:
    QTableWidget *grid_;
};

} // namespace

LogViewer::LogViewer(QWidget *parent) : QDialog(parent, kDialogFlags)
{
    SetUpDialog(this, QStringLiteral("LogView"), QStringLiteral("Istoric modificari date"));
    resize(760, 480);

    QLabel *heading = Heading(QStringLiteral("Ultimele actiuni facute in program"), this);
    QFont larger = heading->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.2);
    heading->setFont(larger);
    heading->setAlignment(Qt::AlignCenter);

    grid_ = new QTableWidget(0, 4, this);
    grid_->setObjectName(QStringLiteral("LogGrid"));
    grid_->setHorizontalHeaderLabels(
        {QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("Actiunea"), QStringLiteral("Operator")});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    // The date and the time show whole in any font size.
    const QFontMetrics metrics = grid_->fontMetrics();
    grid_->setColumnWidth(0, std::max(90, metrics.horizontalAdvance(QStringLiteral("00.00.0000")) + 16));
    grid_->setColumnWidth(1, std::max(80, metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16));
    grid_->setColumnWidth(2, 380);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto *close = new QPushButton(QStringLiteral("&Inchide"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(4);
    layout->addWidget(new HeaderBand(grid_, this));
    layout->setSpacing(0);
    layout->addWidget(grid_, 1);
    layout->addSpacing(8);
    layout->addWidget(ButtonRow(this, {close}));
}

void LogViewer::setRows(const QVector<LogRow> &rows)
{
    grid_->clearContents();
    grid_->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const LogRow &row = rows[r];
        const QString values[4] = {row.date, row.time, row.action, row.user};
        for (int c = 0; c < 4; ++c)
            grid_->setItem(r, c, new QTableWidgetItem(values[c]));
    }
    if (!rows.isEmpty()) {
        grid_->setCurrentCell(int(rows.size()) - 1, 0);
        grid_->scrollToBottom();
    }
}

} // namespace focaris::gui

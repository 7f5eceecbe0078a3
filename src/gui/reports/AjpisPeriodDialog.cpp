// The period dialog of the county agency's report.
#include "gui/reports/AjpisPeriodDialog.h"

#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

AjpisPeriodDialog::AjpisPeriodDialog(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(ui)
{
    setObjectName(QStringLiteral("PerSelect"));
    setWindowTitle(QStringLiteral("Rapoarte"));
    setModal(true);
    auto *title = new QLabel(QStringLiteral("Perioada raportata"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto makeDate = [this](const char *name) {
        auto *d = new DateField(this);
        d->setObjectName(QLatin1String(name));
        d->installEventFilter(this);
        return d;
    };
    data0_ = makeDate("Data0");
    data1_ = makeDate("Data1");
    const reports::ReportPeriod season = reports::DefaultSeason(QDate::currentDate());
    data0_->setDate(season.from);
    data1_->setDate(season.to);
    memo_ = new QPushButton(QStringLiteral("&Am ales"), this);
    memo_->setObjectName(QStringLiteral("MemoBut"));
    close_ = new QPushButton(QStringLiteral("&Renunt"), this);
    close_->setObjectName(QStringLiteral("CloseBut"));
    memo_->setAutoDefault(false);
    close_->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("de la"), this), 0, 0);
    grid->addWidget(data0_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("pana la"), this), 1, 0);
    grid->addWidget(data1_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(memo_);
    buttons->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(memo_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { choose(); }));
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

// Enter in a date moves to the next control instead of confirming.
bool AjpisPeriodDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AjpisPeriodDialog::choose()
{
    if (!CheckDateFields(ui_, {data0_, data1_}))
        return;
    const QString refused = reports::CheckPeriod({data0_->date(), data1_->date()});
    if (!refused.isEmpty()) {
        ui_.fieldHint(refused, data1_);
        return;
    }
    accept();
}

bool AjpisPeriodDialog::ask(reports::ReportPeriod &period)
{
    setResult(QDialog::Rejected);
    data0_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    period = {data0_->date(), data1_->date()};
    return true;
}

} // namespace focaris::gui

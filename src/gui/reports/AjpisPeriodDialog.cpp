// The period dialog of the county agency's report.
#include "gui/reports/AjpisPeriodDialog.h"

#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

AjpisPeriodDialog::AjpisPeriodDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("PerSelect"), QStringLiteral("Rapoarte"));
    data0_ = Named<DateField>(QStringLiteral("Data0"), this);
    data1_ = Named<DateField>(QStringLiteral("Data1"), this);
    const reports::ReportPeriod season = reports::DefaultSeason(QDate::currentDate());
    for (DateField *d : {data0_, data1_})
        d->installEventFilter(this);
    data0_->setDate(season.from);
    data1_->setDate(season.to);
    memo_ = DialogButton(QStringLiteral("&Am ales"), this, QStringLiteral("MemoBut"));
    close_ = DialogButton(QStringLiteral("&Renunt"), this, QStringLiteral("CloseBut"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Perioada raportata"), this));
    layout->addLayout(RangeRows({QStringLiteral("de la"), data0_}, {QStringLiteral("pana la"), data1_}));
    layout->addWidget(ButtonRow(this, {memo_, close_}));
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

// The period dialog of the county agency's report.
#include "gui/reports/AjpisPeriodDialog.h"

#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

AjpisPeriodDialog::AjpisPeriodDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("PerSelect"), QStringLiteral("Rapoarte"));
    period_.from = Named<DateField>(QStringLiteral("Data0"), this);
    period_.to = Named<DateField>(QStringLiteral("Data1"), this);
    const reports::ReportPeriod season = reports::DefaultSeason(QDate::currentDate());
    for (DateField *d : {period_.from, period_.to})
        d->installEventFilter(this);
    period_.from->setDate(season.from);
    period_.to->setDate(season.to);
    choose_ = DialogButton(QStringLiteral("&Am ales"), this, QStringLiteral("ChooseButton"));
    close_ = CancelButton(QStringLiteral("&Renunt"), this, QStringLiteral("CloseButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Perioada raportata"), this));
    layout->addLayout(RangeRows(period_, QStringLiteral("de la"), QStringLiteral("pana la")));
    layout->addWidget(ButtonRow(this, {choose_, close_}));
    connect(choose_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { choose(); }));
}

// Enter in a date moves to the next control instead of confirming.
bool AjpisPeriodDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (IsEnterKey(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AjpisPeriodDialog::choose()
{
    if (!CheckDateFields(ui_, {period_.from, period_.to}))
        return;
    const QString refused = reports::CheckPeriod({period_.from->date(), period_.to->date()});
    if (!refused.isEmpty()) {
        ui_.fieldHint(refused, period_.to);
        return;
    }
    accept();
}

bool AjpisPeriodDialog::ask(reports::ReportPeriod &period)
{
    setResult(QDialog::Rejected);
    if (!ExecFrom(this, period_.from))
        return false;
    period = {period_.from->date(), period_.to->date()};
    return true;
}

} // namespace focaris::gui

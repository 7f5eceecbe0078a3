// The range window of the separate dispositions.
#include "gui/documents/DispositionRangeDialog.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

DispositionRangeDialog::DispositionRangeDialog(Ui &ui, QWidget *parent)
    : QDialog(parent, kDialogFlagsNoMenu | Qt::WindowStaysOnTopHint), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("ListDispF"), QStringLiteral("Listare Dispozitii"));
    numbers_.from = NumericEntry(QStringLiteral("Disp0"), this);
    numbers_.to = NumericEntry(QStringLiteral("Disp1"), this);
    grantDate_ = Named<DateField>(QStringLiteral("DataA"), this);
    // Set once, when the window is made: the first day of the next month.
    grantDate_->setDate(documents::FirstOfNextMonth(QDate::currentDate()));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this);
    auto *form = RangeRows(numbers_, QStringLiteral("incepand cu Dispozitia nr."),
                           QStringLiteral("terminand cu Dispozitia nr."));
    form->addRow(QStringLiteral("Ajutorul se acorda incepand cu"), grantDate_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({numbers_.from, numbers_.to, grantDate_}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void DispositionRangeDialog::list()
{
    range_.from = numbers_.from->text();
    range_.to = numbers_.to->text();
    if (!CheckDateFields(ui_, {grantDate_}))
        return;
    range_.start = grantDate_->date();
    const documents::Outcome check = documents::CheckDispositionRange(range_);
    numbers_.from->setText(range_.from);
    numbers_.to->setText(range_.to);
    if (check.refused()) {
        ui_.fieldHint(check.message, numbers_.from);
        return;
    }
    accept();
}

bool DispositionRangeDialog::choose(documents::DispositionRange &range)
{
    numbers_.from->setText(QStringLiteral("1"));
    numbers_.to->setText(QStringLiteral("1"));
    if (!ExecFrom(this, numbers_.from))
        return false;
    range = range_;
    return true;
}

} // namespace focaris::gui

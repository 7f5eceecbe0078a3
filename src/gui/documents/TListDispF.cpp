// The range window of the separate dispositions.
#include "gui/documents/TListDispF.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

TListDispF::TListDispF(Ui &ui, QWidget *parent)
    : QDialog(parent, kDialogFlagsNoMenu | Qt::WindowStaysOnTopHint), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("ListDispF"), QStringLiteral("Listare Dispozitii"));
    disp0_ = NumericEntry(QStringLiteral("Disp0"), this);
    disp1_ = NumericEntry(QStringLiteral("Disp1"), this);
    dataA_ = Named<DateField>(QStringLiteral("DataA"), this);
    // Set once, when the window is made: the first day of the next month.
    dataA_->setDate(documents::FirstOfNextMonth(QDate::currentDate()));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this);
    auto *form = RangeRows({QStringLiteral("incepand cu Dispozitia nr."), disp0_},
                           {QStringLiteral("terminand cu Dispozitia nr."), disp1_});
    form->addRow(QStringLiteral("Ajutorul se acorda incepand cu"), dataA_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({disp0_, disp1_, dataA_}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void TListDispF::list()
{
    range_.from = disp0_->text();
    range_.to = disp1_->text();
    if (!CheckDateFields(ui_, {dataA_}))
        return;
    range_.start = dataA_->date();
    const documents::Outcome check = documents::CheckDispositionRange(range_);
    disp0_->setText(range_.from);
    disp1_->setText(range_.to);
    if (check.refused()) {
        ui_.fieldHint(check.message, disp0_);
        return;
    }
    accept();
}

bool TListDispF::choose(documents::DispositionRange &range)
{
    disp0_->setText(QStringLiteral("1"));
    disp1_->setText(QStringLiteral("1"));
    disp0_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    range = range_;
    return true;
}

} // namespace focaris::gui

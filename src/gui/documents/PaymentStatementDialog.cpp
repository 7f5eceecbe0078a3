// The selection window of the payment statement.
#include "gui/documents/PaymentStatementDialog.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

PaymentStatementDialog::PaymentStatementDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("TipStatF"), QStringLiteral("Selectare cereri"));
    locality_ = Named<QComboBox>(QStringLiteral("Localit"), this);
    locality_->setMinimumWidth(260);
    letters_.from = Named<QComboBox>(QStringLiteral("Lit1"), this);
    letters_.to = Named<QComboBox>(QStringLiteral("Lit2"), this);
    // Pick lists: no free typing.
    letters_.from->addItems(documents::StatementLetters());
    letters_.to->addItems(documents::StatementLetters());
    letters_.from->setCurrentText(QStringLiteral("A"));
    letters_.to->setCurrentText(QStringLiteral("Z"));
    monthPanel_ = Named<QWidget>(QStringLiteral("MonthPanel"), this);
    monthText_ = TextEntry(QStringLiteral("PerioadaS"), monthPanel_);
    auto *panel = new QFormLayout(monthPanel_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addRow(QStringLiteral("Situatie pe luna"), monthText_);
    ok_ = DialogButton(QStringLiteral("&Am ales"), this, QStringLiteral("Chosen"));

    auto *layout = new QVBoxLayout(this);
    AddBeneficiaryChoice(layout, this, locality_, letters_);
    layout->addWidget(monthPanel_);
    layout->addWidget(ButtonRow(this, ok_, DialogButton(QStringLiteral("&Renunt"), this)));
    monthPanel_->hide();
    connect(ok_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { confirm(); }));
}

void PaymentStatementDialog::confirm()
{
    selection_.locality = locality_->currentText();
    selection_.fromLetter = letters_.from->currentText();
    selection_.toLetter = letters_.to->currentText();
    selection_.monthText = monthText_->text();
    if (withMonth_) {
        const documents::Outcome check = documents::ConfirmStatementSelection(selection_);
        if (check.refused()) {
            ui_.fieldHint(check.message, check.field == QLatin1String("Lit2") ? letters_.to : letters_.from);
            return;
        }
    }
    monthPanel_->hide();
    accept();
}

bool PaymentStatementDialog::choose(documents::StatementSelection &selection, bool withMonth)
{
    withMonth_ = withMonth;
    locality_->clear();
    locality_->addItems(documents::StatementLocalities());
    locality_->setCurrentIndex(0);
    if (withMonth) {
        monthText_->setText(documents::RememberedStatementMonth());
        monthPanel_->show();
    } else {
        monthPanel_->hide();
    }
    adjustSize();
    if (exec() != QDialog::Accepted) {
        monthPanel_->hide();
        return false;
    }
    selection = selection_;
    return true;
}

} // namespace focaris::gui

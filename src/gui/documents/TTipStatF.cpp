// The selection window of the payment statement.
#include "gui/documents/TTipStatF.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

TTipStatF::TTipStatF(Ui &ui, QWidget *parent)
    : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("TipStatF"), QStringLiteral("Selectare cereri"));
    localit_ = Named<QComboBox>(QStringLiteral("Localit"), this);
    localit_->setMinimumWidth(260);
    letters_.from = Named<QComboBox>(QStringLiteral("Lit1"), this);
    letters_.to = Named<QComboBox>(QStringLiteral("Lit2"), this);
    // Pick lists: no free typing.
    letters_.from->addItems(documents::StatementLetters());
    letters_.to->addItems(documents::StatementLetters());
    letters_.from->setCurrentText(QStringLiteral("A"));
    letters_.to->setCurrentText(QStringLiteral("Z"));
    stat1_ = Named<QWidget>(QStringLiteral("Stat1"), this);
    perioadaS_ = TextEntry(QStringLiteral("PerioadaS"), stat1_);
    auto *panel = new QFormLayout(stat1_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addRow(QStringLiteral("Situatie pe luna"), perioadaS_);
    ok_ = DialogButton(QStringLiteral("&Am ales"), this, QStringLiteral("Chosen"));

    auto *layout = new QVBoxLayout(this);
    AddBeneficiaryChoice(layout, this, localit_, letters_);
    layout->addWidget(stat1_);
    layout->addWidget(ButtonRow(this, ok_, DialogButton(QStringLiteral("&Renunt"), this)));
    stat1_->hide();
    connect(ok_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { confirm(); }));
}

void TTipStatF::confirm()
{
    selection_.locality = localit_->currentText();
    selection_.fromLetter = letters_.from->currentText();
    selection_.toLetter = letters_.to->currentText();
    selection_.monthText = perioadaS_->text();
    if (withMonth_) {
        const documents::Outcome check = documents::ConfirmStatementSelection(selection_);
        if (check.refused()) {
            ui_.fieldHint(check.message, check.field == QLatin1String("Lit2") ? letters_.to : letters_.from);
            return;
        }
    }
    stat1_->hide();
    accept();
}

bool TTipStatF::choose(documents::StatementSelection &selection, bool withMonth)
{
    withMonth_ = withMonth;
    localit_->clear();
    localit_->addItems(documents::StatementLocalities());
    localit_->setCurrentIndex(0);
    if (withMonth) {
        perioadaS_->setText(documents::RememberedStatementMonth());
        stat1_->show();
    } else {
        stat1_->hide();
    }
    adjustSize();
    if (exec() != QDialog::Accepted) {
        stat1_->hide();
        return false;
    }
    selection = selection_;
    return true;
}

} // namespace focaris::gui

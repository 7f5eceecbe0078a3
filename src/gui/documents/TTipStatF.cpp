// The selection window of the payment statement.
#include "gui/documents/TTipStatF.h"

#include "core/Ui.h"
#include "gui/documents/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

TTipStatF::TTipStatF(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui)
{
    setObjectName(QStringLiteral("TipStatF"));
    setWindowTitle(QStringLiteral("Selectare cereri"));
    setModal(true);
    localit_ = new QComboBox(this);
    localit_->setObjectName(QStringLiteral("Localit"));
    localit_->setMinimumWidth(260);
    lit1_ = new QComboBox(this);
    lit1_->setObjectName(QStringLiteral("Lit1"));
    lit2_ = new QComboBox(this);
    lit2_->setObjectName(QStringLiteral("Lit2"));
    // Pick lists: no free typing.
    lit1_->addItems(documents::StatementLetters());
    lit2_->addItems(documents::StatementLetters());
    lit1_->setCurrentText(QStringLiteral("A"));
    lit2_->setCurrentText(QStringLiteral("Z"));
    stat1_ = new QWidget(this);
    stat1_->setObjectName(QStringLiteral("Stat1"));
    perioadaS_ = TextEntry(QStringLiteral("PerioadaS"), stat1_);
    auto *panel = new QFormLayout(stat1_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addRow(QStringLiteral("Situatie pe luna"), perioadaS_);
    ok_ = new QPushButton(QStringLiteral("&Am ales"), this);
    ok_->setObjectName(QStringLiteral("Chosen"));
    cancel_ = new QPushButton(QStringLiteral("&Renunt"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Doar pentru beneficiarii din Localitatea:"), this));
    layout->addWidget(localit_);
    layout->addWidget(new QLabel(QStringLiteral("Nume beneficiarii a caror nume incepe cu:"), this));
    auto *letters = new QHBoxLayout;
    letters->addWidget(new QLabel(QStringLiteral("incepand cu litera"), this));
    letters->addWidget(lit1_);
    letters->addWidget(new QLabel(QStringLiteral("terminand cu"), this));
    letters->addWidget(lit2_);
    letters->addStretch();
    layout->addLayout(letters);
    layout->addWidget(stat1_);
    layout->addLayout(ButtonRow(this, ok_, cancel_));
    stat1_->hide();
    connect(ok_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { confirm(); }));
}

void TTipStatF::confirm()
{
    selection_.locality = localit_->currentText();
    selection_.fromLetter = lit1_->currentText();
    selection_.toLetter = lit2_->currentText();
    selection_.monthText = perioadaS_->text();
    if (withMonth_) {
        const documents::Outcome check = documents::ConfirmStatementSelection(selection_);
        if (check.refused()) {
            ui_.fieldHint(check.message, check.field == QLatin1String("Lit2") ? lit2_ : lit1_);
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

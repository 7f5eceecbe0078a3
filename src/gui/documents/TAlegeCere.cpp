// The range window of the reports.
#include "gui/documents/TAlegeCere.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

TAlegeCere::TAlegeCere(Ui &ui, QWidget *parent)
    : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("AlegeCere"), QStringLiteral("Referate"));
    cere0_ = NumericEntry(QStringLiteral("Cere0"), this);
    cere1_ = NumericEntry(QStringLiteral("Cere1"), this);
    cere0_->setText(QStringLiteral("0"));
    cere1_->setText(QStringLiteral("0"));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this, QStringLiteral("BitBtn1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Listeaza Referatele"), this));
    layout->addLayout(RangeRows({QStringLiteral("incepand cu cererea nr."), cere0_},
                                {QStringLiteral("terminand cu cererea nr."), cere1_}));
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({cere0_, cere1_}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void TAlegeCere::list()
{
    documents::ReportRange r{cere0_->text(), cere1_->text()};
    const documents::Outcome check = documents::CheckReportRange(r);
    if (check.refused()) {
        ui_.fieldHint(check.message, cere0_);
        return;
    }
    accept();
}

void TAlegeCere::done(int result)
{
    // However the window closes, each number is written back as a plain number.
    cere0_->setText(documents::PlainNumberText(cere0_->text()));
    cere1_->setText(documents::PlainNumberText(cere1_->text()));
    QDialog::done(result);
}

bool TAlegeCere::choose(documents::ReportRange &range)
{
    cere0_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    range = {cere0_->text(), cere1_->text()};
    return true;
}

} // namespace focaris::gui

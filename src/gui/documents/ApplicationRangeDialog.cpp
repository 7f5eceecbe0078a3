// The range window of the reports.
#include "gui/documents/ApplicationRangeDialog.h"

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

ApplicationRangeDialog::ApplicationRangeDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("AlegeCere"), QStringLiteral("Referate"));
    numbers_.from = NumericEntry(QStringLiteral("Cere0"), this);
    numbers_.to = NumericEntry(QStringLiteral("Cere1"), this);
    numbers_.from->setText(QStringLiteral("0"));
    numbers_.to->setText(QStringLiteral("0"));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this, QStringLiteral("ListButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Listeaza Referatele"), this));
    layout->addLayout(
        RangeRows(numbers_, QStringLiteral("incepand cu cererea nr."), QStringLiteral("terminand cu cererea nr.")));
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({numbers_.from, numbers_.to}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void ApplicationRangeDialog::list()
{
    documents::ReportRange r{numbers_.from->text(), numbers_.to->text()};
    const documents::Outcome check = documents::CheckReportRange(r);
    if (check.refused()) {
        ui_.fieldHint(check.message, numbers_.from);
        return;
    }
    accept();
}

void ApplicationRangeDialog::done(int result)
{
    // However the window closes, each number is written back as a plain number.
    numbers_.from->setText(documents::PlainNumberText(numbers_.from->text()));
    numbers_.to->setText(documents::PlainNumberText(numbers_.to->text()));
    QDialog::done(result);
}

bool ApplicationRangeDialog::choose(documents::ReportRange &range)
{
    if (!ExecFrom(this, numbers_.from))
        return false;
    range = {numbers_.from->text(), numbers_.to->text()};
    return true;
}

} // namespace focaris::gui

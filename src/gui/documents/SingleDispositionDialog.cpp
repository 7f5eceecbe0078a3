// The window of the single disposition.
#include "gui/documents/SingleDispositionDialog.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace focaris::gui {

SingleDispositionDialog::SingleDispositionDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("AlegeNrDisp"), QStringLiteral("Dispozitie Unica"));
    number_ = NumericEntry(QStringLiteral("NrDisp"), this);
    number_->setText(QStringLiteral("0"));
    startDate_ = Named<DateField>(QStringLiteral("Data0"), QDate::currentDate(), this);
    period_ = TextEntry(QStringLiteral("Perioada"), this);
    paymentDate_ = TextEntry(QStringLiteral("DataPlatii"), this);
    court_ = TextEntry(QStringLiteral("Tribunal"), this);
    // Room for the longest period ("septembrie 2026 - martie 2027") in any font size.
    period_->setMinimumWidth(std::max(
        280, period_->fontMetrics().horizontalAdvance(QStringLiteral("septembrie 2026 - septembrie 2027")) + 16));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this, QStringLiteral("ListB"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(FormRows({{QStringLiteral("Numarul Dispozitiei"), number_},
                                {QStringLiteral("se stabileste incepand cu"), startDate_},
                                {QStringLiteral("pentru perioada"), period_},
                                {QStringLiteral("Data platii"), paymentDate_},
                                {QStringLiteral("Solutionari la Tribunalul"), court_}}));
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({number_, startDate_, period_, paymentDate_, court_}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void SingleDispositionDialog::list()
{
    fields_.number = number_->text();
    if (!CheckDateFields(ui_, {startDate_}))
        return;
    fields_.start = startDate_->date();
    fields_.period = period_->text();
    fields_.paymentDate = paymentDate_->text();
    fields_.court = court_->text();
    const documents::Outcome check = documents::ConfirmSingleDisposition(fields_);
    if (check.refused()) {
        ui_.fieldHint(check.message, number_);
        return;
    }
    number_->setText(fields_.number);
    accept();
}

bool SingleDispositionDialog::choose(documents::SingleDispositionFields &fields)
{
    documents::SingleDispositionFields remembered;
    documents::LoadSingleDispositionTexts(remembered);
    period_->setText(remembered.period);
    paymentDate_->setText(remembered.paymentDate);
    court_->setText(remembered.court);
    if (!ExecFrom(this, number_))
        return false;
    fields = fields_;
    return true;
}

} // namespace focaris::gui

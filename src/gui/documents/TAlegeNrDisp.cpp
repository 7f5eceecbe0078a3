// The window of the single disposition.
#include "gui/documents/TAlegeNrDisp.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace focaris::gui {

TAlegeNrDisp::TAlegeNrDisp(Ui &ui, QWidget *parent)
    : QDialog(parent, kDialogFlagsNoMenu), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("AlegeNrDisp"), QStringLiteral("Dispozitie Unica"));
    nrDisp_ = NumericEntry(QStringLiteral("NrDisp"), this);
    nrDisp_->setText(QStringLiteral("0"));
    data0_ = Named<DateField>(QStringLiteral("Data0"), QDate::currentDate(), this);
    perioada_ = TextEntry(QStringLiteral("Perioada"), this);
    dataPlatii_ = TextEntry(QStringLiteral("DataPlatii"), this);
    tribunal_ = TextEntry(QStringLiteral("Tribunal"), this);
    // Room for the longest period ("septembrie 2026 - martie 2027") in any font size.
    perioada_->setMinimumWidth(
        std::max(280, perioada_->fontMetrics().horizontalAdvance(QStringLiteral("septembrie 2026 - septembrie 2027")) + 16));
    list_ = DialogButton(QStringLiteral("&Listeaza"), this, QStringLiteral("ListB"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(FormRows({{QStringLiteral("Numarul Dispozitiei"), nrDisp_},
                                {QStringLiteral("se stabileste incepand cu"), data0_},
                                {QStringLiteral("pentru perioada"), perioada_},
                                {QStringLiteral("Data platii"), dataPlatii_},
                                {QStringLiteral("Solutionari la Tribunalul"), tribunal_}}));
    layout->addWidget(ButtonRow(this, list_, DialogButton(QStringLiteral("&Renunt"), this)));
    EnterMovesOn({nrDisp_, data0_, perioada_, dataPlatii_, tribunal_}, list_);
    connect(list_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { list(); }));
}

void TAlegeNrDisp::list()
{
    fields_.number = nrDisp_->text();
    if (!CheckDateFields(ui_, {data0_}))
        return;
    fields_.start = data0_->date();
    fields_.period = perioada_->text();
    fields_.paymentDate = dataPlatii_->text();
    fields_.court = tribunal_->text();
    const documents::Outcome check = documents::ConfirmSingleDisposition(fields_);
    if (check.refused()) {
        ui_.fieldHint(check.message, nrDisp_);
        return;
    }
    nrDisp_->setText(fields_.number);
    accept();
}

bool TAlegeNrDisp::choose(documents::SingleDispositionFields &fields)
{
    documents::SingleDispositionFields remembered;
    documents::LoadSingleDispositionTexts(remembered);
    perioada_->setText(remembered.period);
    dataPlatii_->setText(remembered.paymentDate);
    tribunal_->setText(remembered.court);
    if (!ExecFrom(this, nrDisp_))
        return false;
    fields = fields_;
    return true;
}

} // namespace focaris::gui

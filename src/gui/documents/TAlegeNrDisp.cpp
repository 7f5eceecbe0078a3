// The window of the single disposition.
#include "gui/documents/TAlegeNrDisp.h"

#include "core/Formats.h"
#include "core/Ui.h"
#include "gui/documents/DialogParts.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace focaris::gui {

TAlegeNrDisp::TAlegeNrDisp(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ui_(ui)
{
    setObjectName(QStringLiteral("AlegeNrDisp"));
    setWindowTitle(QStringLiteral("Dispozitie Unica"));
    setModal(true);
    nrDisp_ = NumericEntry(QStringLiteral("NrDisp"), this);
    nrDisp_->setText(QStringLiteral("0"));
    data0_ = new DateField(QDate::currentDate(), this);
    data0_->setObjectName(QStringLiteral("Data0"));
    perioada_ = TextEntry(QStringLiteral("Perioada"), this);
    dataPlatii_ = TextEntry(QStringLiteral("DataPlatii"), this);
    tribunal_ = TextEntry(QStringLiteral("Tribunal"), this);
    // Room for the longest period ("septembrie 2026 - martie 2027") in any font size.
    perioada_->setMinimumWidth(
        std::max(280, perioada_->fontMetrics().horizontalAdvance(QStringLiteral("septembrie 2026 - septembrie 2027")) + 16));
    list_ = new QPushButton(QStringLiteral("&Listeaza"), this);
    list_->setObjectName(QStringLiteral("ListB"));
    cancel_ = new QPushButton(QStringLiteral("&Renunt"), this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Numarul Dispozitiei"), nrDisp_);
    form->addRow(QStringLiteral("se stabileste incepand cu"), data0_);
    form->addRow(QStringLiteral("pentru perioada"), perioada_);
    form->addRow(QStringLiteral("Data platii"), dataPlatii_);
    form->addRow(QStringLiteral("Solutionari la Tribunalul"), tribunal_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(ButtonRow(this, list_, cancel_));
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
    nrDisp_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    fields = fields_;
    return true;
}

} // namespace focaris::gui

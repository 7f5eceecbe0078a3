// The window that dates a range of applications.
#include "gui/applications/DatesDialog.h"

#include "applications/Numbering.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

DatesDialog::DatesDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Cereri"));
    setObjectName(QStringLiteral("TNrCereriF"));
    numbers_.from = DigitsEntry(QStringLiteral("A"), this);
    numbers_.to = DigitsEntry(QStringLiteral("B"), this);
    date_ = new DateField(this);
    auto *go = new QPushButton(QStringLiteral("&Pune Data"), this);
    go->setObjectName(QStringLiteral("PutDate"));
    go->setDefault(true);
    auto *cancel = CancelButton(QStringLiteral("&Renunt"), this);
    auto *form =
        RangeRows(numbers_, QStringLiteral("incepand cu cererea nr."), QStringLiteral("terminand cu cererea nr."));
    form->addRow(QStringLiteral("data de pus"), date_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading(QStringLiteral("Pune data la cereri"), this));
    layout->addLayout(form);
    layout->addWidget(ButtonRow(this, {go, cancel}));
    connect(go, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { start(); }));
}

Outcome DatesDialog::run(int month)
{
    month_ = month;
    outcome_ = {};
    numbers_.from->setText(QStringLiteral("0"));
    numbers_.to->setText(QStringLiteral("0"));
    date_->setDate(QDate::currentDate());
    numbers_.from->setFocus();
    exec();
    return outcome_;
}

void DatesDialog::start()
{
    if (!CheckDateFields(ui_, {date_}))
        return;
    outcome_ = SetApplicationDates(ui_, month_, numbers_.from->text().toLongLong(), numbers_.to->text().toLongLong(),
                                   date_->date());
    if (outcome_.refused()) {
        QLineEdit *at = outcome_.field == QLatin1String("b") ? numbers_.to : numbers_.from;
        ui_.fieldHint(outcome_.message, at);
        at->setFocus();
        return;
    }
    accept();
}

} // namespace focaris::gui

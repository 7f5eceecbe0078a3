// The dialog "Adaugare Luna".
#include "gui/periods/AddMonthDialog.h"

#include "core/Ui.h"
#include "periods/Periods.h"

#include "gui/widgets/DialogParts.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

AddMonthDialog::AddMonthDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("AddLuna"), QStringLiteral("Adaugare Luna"));
    month_ = Named<QComboBox>(QStringLiteral("Luna"), this);
    for (int m = 1; m <= 12; ++m)
        month_->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    year_ = DigitsEntry(QStringLiteral("Anul"), this, 4);
    year_->setMaxLength(4);
    year_->setMaximumWidth(70);
    add_ = DialogButton(QStringLiteral("&Adauga"), this, QStringLiteral("Adauga"));
    cancel_ = CancelButton(QStringLiteral("&Renunta"), this, QStringLiteral("Renunta"));
    // Each label stands above its field.
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Luna"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("Anul"), this), 0, 1);
    fields->addWidget(month_, 1, 0);
    fields->addWidget(year_, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ButtonRow(this, {add_, cancel_}, ButtonsAt::Centre));
    connect(add_, &QPushButton::clicked, this, &AddMonthDialog::tryAccept);
}

void AddMonthDialog::tryAccept()
{
    const auto refusal =
        periods::CheckNewMonth(month_->currentText(), year_->text(), QDate::currentDate().year(), chosen_);
    if (refusal) {
        ui_.fieldHint(refusal->message, year_);
        return;
    }
    accept();
}

void AddMonthDialog::reset()
{
    month_->setCurrentIndex(0);
    year_->setText(QString::number(QDate::currentDate().year()));
    chosen_.clear();
}

bool AddMonthDialog::ask(QString &monthText)
{
    reset();
    if (!ExecFrom(this, month_))
        return false;
    monthText = chosen_;
    return true;
}

} // namespace focaris::gui

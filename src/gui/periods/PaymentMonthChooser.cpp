// The chooser "Alegeti luna".
#include "gui/periods/PaymentMonthChooser.h"

#include "core/Ui.h"
#include "periods/MonthChoosers.h"

#include "gui/widgets/DialogParts.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

PaymentMonthChooser::PaymentMonthChooser(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("SelLunaPlata"), QStringLiteral("Alegeti luna"));
    list_ = Named<QComboBox>(QStringLiteral("Luna"), this);
    for (const periods::PaymentMonth &m : periods::PaymentMonths())
        list_->addItem(m.name, m.digits);
    yearLabel_ = new QLabel(QStringLiteral("Anul"), this);
    year_ = TextEntry(QStringLiteral("Anul"), this);
    year_->setMaxLength(4);
    year_->setValidator(new QIntValidator(0, 9999, year_));
    choose_ = DialogButton(QStringLiteral("Am ales"), this, QStringLiteral("ChooseButton"));
    cancel_ = CancelButton(QStringLiteral("Renunt"), this, QStringLiteral("Renunt"));
    // The month and the year on one line, each after its label.
    auto *fields = new QHBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("Plati pentru luna"), this));
    fields->addWidget(list_);
    fields->addWidget(yearLabel_);
    fields->addWidget(year_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ButtonRow(this, {choose_, cancel_}));
    connect(choose_, &QPushButton::clicked, this, &PaymentMonthChooser::tryAccept);
}

void PaymentMonthChooser::tryAccept()
{
    chosenYear_ = 0;
    if (withYear_) {
        if (const auto refusal = periods::CheckPaymentYear(year_->text(), QDate::currentDate().year(), chosenYear_)) {
            ui_.fieldHint(refusal->message, year_);
            return;
        }
    }
    accept();
}

bool PaymentMonthChooser::choose(bool withYear, QString &month, int &year)
{
    withYear_ = withYear;
    yearLabel_->setVisible(withYear);
    year_->setVisible(withYear);
    year_->setText(QString::number(QDate::currentDate().year()));
    list_->setCurrentIndex(0);
    if (!ExecFrom(this, list_))
        return false;
    month = list_->currentData().toString();
    year = chosenYear_;
    return true;
}

std::function<bool(bool, QString &, int &)> &ChoosePaymentMonthAnswer()
{
    static std::function<bool(bool, QString &, int &)> answer;
    return answer;
}

bool ChoosePaymentMonth(Ui &ui, bool withYear, QString &month, int &year, QWidget *parent)
{
    if (ChoosePaymentMonthAnswer())
        return ChoosePaymentMonthAnswer()(withYear, month, year);
    PaymentMonthChooser chooser(ui, parent);
    return chooser.choose(withYear, month, year);
}

} // namespace focaris::gui

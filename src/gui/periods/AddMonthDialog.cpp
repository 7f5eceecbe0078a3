// The dialog "Adaugare Luna".
#include "gui/periods/AddMonthDialog.h"

#include "core/Ui.h"
#include "periods/Periods.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace focaris::gui {

AddMonthDialog::AddMonthDialog(Ui &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(ui)
{
    setObjectName(QStringLiteral("AddLuna"));
    setWindowTitle(QStringLiteral("Adaugare Luna"));
    setModal(true);
    month_ = new QComboBox(this);
    month_->setObjectName(QStringLiteral("Luna"));
    for (int m = 1; m <= 12; ++m)
        month_->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    year_ = new QLineEdit(this);
    year_->setObjectName(QStringLiteral("Anul"));
    year_->setMaxLength(4);
    year_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), year_));
    year_->setMaximumWidth(70);
    add_ = new QPushButton(QStringLiteral("&Adauga"), this);
    add_->setObjectName(QStringLiteral("Adauga"));
    cancel_ = new QPushButton(QStringLiteral("&Renunta"), this);
    cancel_->setObjectName(QStringLiteral("Renunta"));
    add_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Luna"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("Anul"), this), 0, 1);
    fields->addWidget(month_, 1, 0);
    fields->addWidget(year_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, &AddMonthDialog::tryAccept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AddMonthDialog::tryAccept()
{
    const auto refusal = periods::CheckNewMonth(month_->currentText(), year_->text(),
                                                QDate::currentDate().year(), chosen_);
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
    month_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    monthText = chosen_;
    return true;
}

} // namespace focaris::gui

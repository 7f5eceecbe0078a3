// The window that dates a range of applications.
#include "gui/applications/DatesDialog.h"

#include "applications/Numbering.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace focaris::gui {

DatesDialog::DatesDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Cereri"));
    setObjectName(QStringLiteral("TNrCereriF"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Pune data la cereri"), this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    layout->addWidget(heading);
    auto *form = new QFormLayout;
    auto number = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), e));
        return e;
    };
    from_ = number(QStringLiteral("A"));
    to_ = number(QStringLiteral("B"));
    date_ = new DateField(this);
    form->addRow(QStringLiteral("incepand cu cererea nr."), from_);
    form->addRow(QStringLiteral("terminand cu cererea nr."), to_);
    form->addRow(QStringLiteral("data de pus"), date_);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    auto *go = new QPushButton(QStringLiteral("&Pune Data"), this);
    go->setObjectName(QStringLiteral("PutDate"));
    auto *cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    go->setDefault(true);
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(go, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { start(); }));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

Outcome DatesDialog::run(int month)
{
    month_ = month;
    outcome_ = {};
    from_->setText(QStringLiteral("0"));
    to_->setText(QStringLiteral("0"));
    date_->setDate(QDate::currentDate());
    from_->setFocus();
    exec();
    return outcome_;
}

void DatesDialog::start()
{
    if (!CheckDateFields(ui_, {date_}))
        return;
    outcome_ = SetApplicationDates(ui_, month_, from_->text().toLongLong(), to_->text().toLongLong(), date_->date());
    if (outcome_.refused()) {
        QLineEdit *at = outcome_.field == QLatin1String("b") ? to_ : from_;
        ui_.fieldHint(outcome_.message, at);
        at->setFocus();
        return;
    }
    accept();
}

} // namespace focaris::gui

// The window of the number of months.
#include "gui/applications/MonthsDialog.h"

#include "applications/MonthRecalculation.h"
#include "core/Ui.h"
#include "gui/widgets/WindowAction.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace focaris::gui {

MonthsDialog::MonthsDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Modificare Nr.luni"));
    setObjectName(QStringLiteral("TNrLuniF"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    months_ = new QLineEdit(this);
    months_->setObjectName(QStringLiteral("NrLuni"));
    months_->setMaxLength(1);
    months_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d?")), months_));
    form->addRow(QStringLiteral("Noul numar de luni"), months_);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    auto *go = new QPushButton(QStringLiteral("&Modifica"), this);
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

Outcome MonthsDialog::run(int month)
{
    month_ = month;
    outcome_ = {};
    months_->clear();
    months_->setFocus();
    exec();
    return outcome_;
}

void MonthsDialog::start()
{
    outcome_ = ChangeMonths(ui_, month_, months_->text().toInt());
    if (outcome_.refused()) {
        ui_.fieldHint(outcome_.message, months_);
        return;
    }
    accept();
}

} // namespace focaris::gui

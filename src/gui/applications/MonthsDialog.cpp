// The window of the number of months.
#include "gui/applications/MonthsDialog.h"

#include "applications/MonthRecalculation.h"
#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

MonthsDialog::MonthsDialog(Ui &ui, QWidget *parent) : QDialog(parent), ui_(ui)
{
    setWindowTitle(QStringLiteral("Modificare Nr.luni"));
    setObjectName(QStringLiteral("TNrLuniF"));
    months_ = DigitsEntry(QStringLiteral("MonthCount"), this, 1);
    months_->setMaxLength(1);
    auto *go = new QPushButton(QStringLiteral("&Modifica"), this);
    go->setDefault(true);
    auto *cancel = CancelButton(QStringLiteral("&Renunt"), this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(FormRows({{QStringLiteral("Noul numar de luni"), months_}}));
    layout->addWidget(ButtonRow(this, {go, cancel}));
    connect(go, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { start(); }));
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

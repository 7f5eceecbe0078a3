// The treasury report's window and its selection of applications.
#include "gui/reports/TreasuryWindow.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Tables.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>


namespace focaris::gui {

namespace {
const Qt::WindowFlags kFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QStringList letters()
{
    return QString("A B C D E F G H I J K L M N O P R S T U V Z").split(QLatin1Char(' '));
}
} // namespace

TreasurySelection::TreasurySelection(QWidget *parent) : QDialog(parent, kFlags)
{
    setObjectName(QStringLiteral("TTipStatF"));
    setWindowTitle(QStringLiteral("Selectare cereri"));
    setModal(true);
    localit_ = new QComboBox(this);
    localit_->setObjectName(QStringLiteral("Localit"));
    localit_->setMinimumWidth(280);
    lit1_ = new QComboBox(this);
    lit1_->setObjectName(QStringLiteral("Lit1"));
    lit1_->addItems(letters());
    lit2_ = new QComboBox(this);
    lit2_->setObjectName(QStringLiteral("Lit2"));
    lit2_->addItems(letters());
    lit2_->setCurrentIndex(lit2_->count() - 1);
    choose_ = new QPushButton(QStringLiteral("&Am ales"), this);
    cancel_ = new QPushButton(QStringLiteral("&Renunt"), this);
    choose_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("incepand cu litera"), this));
    range->addWidget(lit1_);
    range->addWidget(new QLabel(QStringLiteral("terminand cu"), this));
    range->addWidget(lit2_);
    range->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(choose_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Doar pentru beneficiarii din Localitatea:"), this));
    layout->addWidget(localit_);
    layout->addWidget(new QLabel(QStringLiteral("Nume beneficiarii a caror nume incepe cu:"), this));
    layout->addLayout(range);
    layout->addLayout(buttons);
    connect(choose_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

bool TreasurySelection::choose(exports::TreasuryChoice &choice)
{
    // The localities of the working month, rebuilt at every opening.
    QStringList items{exports::kAllLocalities};
    FillDistinct(items, TablePath(QStringLiteral("Cereri.dbf")),
                 QStringLiteral("LUNACRT=") + QString::number(WorkingMonthCode()), QStringLiteral("LOCALIT"));
    localit_->clear();
    localit_->addItems(items);
    localit_->setCurrentIndex(0);
    if (exec() != QDialog::Accepted)
        return false;
    choice.locality = localit_->currentIndex() <= 0 ? QString() : localit_->currentText();
    choice.firstLetter = lit1_->currentText();
    choice.lastLetter = lit2_->currentText();
    return true;
}

TreasuryWindow::TreasuryWindow(Ui &ui, QWidget *parent) : QDialog(parent, kFlags), ui_(ui)
{
    setObjectName(QStringLiteral("RTrez"));
    setWindowTitle(QStringLiteral("Raport trezorerie"));
    setModal(true);
    date_ = new DateField(this);
    date_->setObjectName(QStringLiteral("DataVirarii"));
    suplim_ = new QLabel(exports::kTreasurySupplement, this);
    suplim_->setObjectName(QStringLiteral("Suplim"));
    suplim2_ = new QLabel(exports::kTreasuryLaw, this);
    suplim2_->setObjectName(QStringLiteral("Suplim2"));
    create_ = new QPushButton(QStringLiteral("Creaza Raport"), this);
    create_->setObjectName(QStringLiteral("BitBtn4"));
    cancel_ = new QPushButton(QStringLiteral("Renunt"), this);
    cancel_->setObjectName(QStringLiteral("CancelBut"));
    create_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    selection_ = new TreasurySelection(this);
    chooseSelection = [this](exports::TreasuryChoice &c) { return selection_->choose(c); };

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Data virarii"), date_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(create_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(suplim_);
    layout->addWidget(suplim2_);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(create_, &QPushButton::clicked, this, &TreasuryWindow::create);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int TreasuryWindow::openWindow()
{
    date_->setDate(QDate::currentDate());
    last_ = {};
    return exec();
}

void TreasuryWindow::create()
{
    if (!CheckDateFields(ui_, {date_}))
        return;
    exports::TreasuryChoice choice;
    if (!chooseSelection || !chooseSelection(choice))
        return;
    choice.transferDate = date_->date();
    if (!RunWindowAction(ui_, QStringLiteral("Raport Trezorerie"), ActionKind::Reads,
                         [&] { last_ = exports::CreateTreasuryReport(ui_, choice); }))
        return;
    if (last_.done)
        accept();
}

} // namespace focaris::gui

// The treasury report's window and its selection of applications.
#include "gui/reports/TreasuryWindow.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "core/Tables.h"
#include "core/Ui.h"
#include "gui/widgets/DateField.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace focaris::gui {

namespace {
QStringList letters()
{
    return QString("A B C D E F G H I J K L M N O P R S T U V Z").split(QLatin1Char(' '));
}
} // namespace

TreasurySelection::TreasurySelection(QWidget *parent) : QDialog(parent, kDialogFlags)
{
    SetUpDialog(this, QStringLiteral("TTipStatF"), QStringLiteral("Selectare cereri"));
    locality_ = Named<QComboBox>(QStringLiteral("Localit"), this);
    locality_->setMinimumWidth(280);
    letters_.from = Named<QComboBox>(QStringLiteral("Lit1"), this);
    letters_.to = Named<QComboBox>(QStringLiteral("Lit2"), this);
    for (QComboBox *letter : {letters_.from, letters_.to})
        letter->addItems(letters());
    letters_.to->setCurrentIndex(letters_.to->count() - 1);
    choose_ = DialogButton(QStringLiteral("&Am ales"), this);
    auto *cancel = CancelButton(QStringLiteral("&Renunt"), this);

    auto *layout = new QVBoxLayout(this);
    AddBeneficiaryChoice(layout, this, locality_, letters_);
    layout->addWidget(ButtonRow(this, {choose_, cancel}));
    connect(choose_, &QPushButton::clicked, this, &QDialog::accept);
}

bool TreasurySelection::choose(exports::TreasuryChoice &choice)
{
    // The localities of the working month, rebuilt at every opening.
    QStringList items{exports::kAllLocalities};
    FillDistinct(items, TablePath(QStringLiteral("Cereri.dbf")),
                 QStringLiteral("LUNACRT=") + QString::number(WorkingMonthCode()), QStringLiteral("LOCALIT"));
    locality_->clear();
    locality_->addItems(items);
    locality_->setCurrentIndex(0);
    if (exec() != QDialog::Accepted)
        return false;
    choice.locality = locality_->currentIndex() <= 0 ? QString() : locality_->currentText();
    choice.firstLetter = letters_.from->currentText();
    choice.lastLetter = letters_.to->currentText();
    return true;
}

TreasuryWindow::TreasuryWindow(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("RTrez"), QStringLiteral("Raport trezorerie"));
    date_ = Named<DateField>(QStringLiteral("TransferDate"), this);
    supplementLabel_ = Named<QLabel>(QStringLiteral("SupplementText"), exports::kTreasurySupplement, this);
    lawLabel_ = Named<QLabel>(QStringLiteral("LawText"), exports::kTreasuryLaw, this);
    create_ = DialogButton(QStringLiteral("Creaza Raport"), this, QStringLiteral("CreateButton"));
    cancel_ = CancelButton(QStringLiteral("Renunt"), this, QStringLiteral("CancelButton"));
    selection_ = new TreasurySelection(this);
    chooseSelection = [this](exports::TreasuryChoice &c) { return selection_->choose(c); };

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(supplementLabel_);
    layout->addWidget(lawLabel_);
    layout->addLayout(FormRows({{QStringLiteral("Data virarii"), date_}}));
    layout->addWidget(ButtonRow(this, {create_, cancel_}));
    connect(create_, &QPushButton::clicked, this, &TreasuryWindow::create);
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

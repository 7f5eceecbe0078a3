// The supplier and postal-code dialog of the E.ON report.
#include "gui/reports/EonSupplierDialog.h"
#include "gui/widgets/DialogParts.h"
#include "gui/widgets/WindowAction.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace focaris::gui {

EonSupplierDialog::EonSupplierDialog(Ui &ui, QWidget *parent) : QDialog(parent, kDialogFlags), ui_(ui)
{
    SetUpDialog(this, QStringLiteral("SelEON"), QStringLiteral("Raport E-ON Gaz Targu Mures"));
    supplierList_ = Named<QComboBox>(QStringLiteral("FurnG"), this);
    supplierList_->setEditable(false);
    supplierList_->setMinimumWidth(320);
    grid_ = Named<QTableWidget>(QStringLiteral("SMDBGrid1"), 0, 2, this);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Localitatea"), QStringLiteral("Cod postal")});
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setMinimumHeight(200);
    choose_ = DialogButton(QStringLiteral("&Am ales"), this, QStringLiteral("ChooseButton"));
    close_ = CancelButton(QStringLiteral("&Renunt"), this, QStringLiteral("CloseButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ce denumire ati dat pentru E-ON Gaz Targu Mures ?"), this));
    layout->addWidget(supplierList_);
    layout->addWidget(new QLabel(QStringLiteral("( Daca ati dat mai multe denumiri, corectati in Cereri! )"), this));
    layout->addWidget(new QLabel(QStringLiteral("Coduri postale"), this));
    layout->addWidget(grid_);
    layout->addWidget(ButtonRow(this, {choose_, close_}));
    connect(choose_, &QPushButton::clicked, this, GuardedAction(ui_, windowTitle(), [this] { choose(); }));
}

// A code still being typed in the grid counts as typed.
void EonSupplierDialog::commitPendingEdit()
{
    for (QLineEdit *editor : grid_->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible())
            QMetaObject::invokeMethod(grid_, "commitData", Q_ARG(QWidget *, editor));
}

void EonSupplierDialog::choose()
{
    commitPendingEdit();
    reports::EonChoice picked = choice_;
    picked.supplier = supplierList_->currentIndex() >= 0 ? supplierList_->currentText() : QString();
    for (int r = 0; r < grid_->rowCount() && r < int(picked.postalCodes.size()); ++r) {
        const QTableWidgetItem *item = grid_->item(r, 1);
        picked.postalCodes[std::size_t(r)].second = item ? item->text().left(10) : QString();
    }
    if (const auto refused = reports::CheckEonChoice(picked)) {
        QWidget *control = refused->field == QLatin1String("FurnG") ? static_cast<QWidget *>(supplierList_) : grid_;
        ui_.fieldHint(refused->message, control);
        return;
    }
    choice_ = picked;
    accept();
}

bool EonSupplierDialog::ask(reports::EonChoice &choice)
{
    choice_ = choice;
    supplierList_->clear();
    for (const QString &s : choice.suppliers)
        supplierList_->addItem(s.toUpper());
    supplierList_->setCurrentIndex(-1);
    grid_->setRowCount(int(choice.postalCodes.size()));
    QFont bold = grid_->font();
    bold.setBold(true);
    for (int r = 0; r < int(choice.postalCodes.size()); ++r) {
        auto *locality = new QTableWidgetItem(choice.postalCodes[std::size_t(r)].first);
        locality->setFlags(locality->flags() & ~Qt::ItemIsEditable);
        auto *code = new QTableWidgetItem(choice.postalCodes[std::size_t(r)].second);
        code->setFont(bold);
        code->setTextAlignment(Qt::AlignCenter);
        grid_->setItem(r, 0, locality);
        grid_->setItem(r, 1, code);
    }
    grid_->scrollToTop();
    if (!ExecFrom(this, supplierList_))
        return false;
    choice = choice_;
    return true;
}

} // namespace focaris::gui

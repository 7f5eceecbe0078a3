// The dialog "Raport E-ON Gaz Targu Mures": the supplier's name as typed in the
// applications and the postal code of every locality of the month.
#pragma once

#include "core/Ui.h"
#include "reports/EonReport.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace focaris::gui {

class EonSupplierDialog : public QDialog {
    Q_OBJECT
public:
    explicit EonSupplierDialog(Ui &ui, QWidget *parent = nullptr);

    // Shows the lists of `choice`; true when a supplier was chosen and every locality has
    // a code (then `choice` holds them).
    bool ask(reports::EonChoice &choice);

    QComboBox *supplier() const { return supplierList_; }
    QTableWidget *codes() const { return grid_; }
    QPushButton *chooseButton() const { return choose_; }
    QPushButton *cancelButton() const { return close_; }

private:
    void choose();
    void commitPendingEdit();

    Ui &ui_;
    QComboBox *supplierList_;
    QTableWidget *grid_;
    QPushButton *choose_, *close_;
    reports::EonChoice choice_;
};

} // namespace focaris::gui

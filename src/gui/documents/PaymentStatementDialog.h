// The selection window of the payment statement ("Selectare cereri"): a locality of the
// working month or all of them, the letter range of the names and, for the payment
// statement only, the month text of the statement (remembered as "PERSTAT").
#pragma once

#include "documents/PaymentStatement.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class PaymentStatementDialog : public QDialog {
public:
    PaymentStatementDialog(Ui &ui, QWidget *parent = nullptr);
    // Rebuilds the locality list, shows the month panel when `withMonth`; true when
    // "&Am ales" confirmed, with the choice in `selection`.
    bool choose(documents::StatementSelection &selection, bool withMonth);

    QComboBox *locality() const { return locality_; }
    QComboBox *firstLetter() const { return letters_.from; }
    QComboBox *lastLetter() const { return letters_.to; }
    QLineEdit *monthText() const { return monthText_; }
    QWidget *monthPanel() const { return monthPanel_; }
    QPushButton *chooseButton() const { return ok_; }

private:
    void confirm();
    Ui &ui_;
    QComboBox *locality_;
    Range<QComboBox> letters_;
    QLineEdit *monthText_;
    QWidget *monthPanel_;
    QPushButton *ok_;
    bool withMonth_ = false;
    documents::StatementSelection selection_;
};

} // namespace focaris::gui

// The window of the single disposition ("Dispozitie Unica"): the number, the start date
// and the three texts remembered in the shared settings (period, payment date, court).
#pragma once

#include "documents/SingleDisposition.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField;

class SingleDispositionDialog : public QDialog {
public:
    SingleDispositionDialog(Ui &ui, QWidget *parent = nullptr);
    // Shows the window with the remembered texts; true when "&Listeaza" accepted a
    // number (the texts are then remembered), with the fields in `fields`.
    bool choose(documents::SingleDispositionFields &fields);

    QLineEdit *number() const { return number_; }
    DateField *startDate() const { return startDate_; }
    QLineEdit *period() const { return period_; }
    QLineEdit *paymentDate() const { return paymentDate_; }
    QLineEdit *court() const { return court_; }
    QPushButton *listButton() const { return list_; }

private:
    void list();
    Ui &ui_;
    QLineEdit *number_, *period_, *paymentDate_, *court_;
    DateField *startDate_;
    QPushButton *list_;
    documents::SingleDispositionFields fields_;
};

} // namespace focaris::gui

// The window of the single disposition ("Dispozitie Unica"): the number, the start date
// and the three texts remembered in the shared settings (period, payment date, court).
#pragma once

#include "documents/SingleDisposition.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris { class Ui; }

namespace focaris::gui {

class DateField;

class TAlegeNrDisp : public QDialog {
public:
    TAlegeNrDisp(Ui &ui, QWidget *parent = nullptr);
    // Shows the window with the remembered texts; true when "&Listeaza" accepted a
    // number (the texts are then remembered), with the fields in `fields`.
    bool choose(documents::SingleDispositionFields &fields);

    QLineEdit *nrDisp() const { return nrDisp_; }
    DateField *data0() const { return data0_; }
    QLineEdit *perioada() const { return perioada_; }
    QLineEdit *dataPlatii() const { return dataPlatii_; }
    QLineEdit *tribunal() const { return tribunal_; }
    QPushButton *listButton() const { return list_; }

private:
    void list();
    Ui &ui_;
    QLineEdit *nrDisp_, *perioada_, *dataPlatii_, *tribunal_;
    DateField *data0_;
    QPushButton *list_;
    documents::SingleDispositionFields fields_;
};

} // namespace focaris::gui

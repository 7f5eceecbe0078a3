// The range window of the separate dispositions ("Listare Dispozitii"): the first and
// last disposition number and the date from which the aid is granted.
#pragma once

#include "documents/SeparateDispositions.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField;

class DispositionRangeDialog : public QDialog {
public:
    DispositionRangeDialog(Ui &ui, QWidget *parent = nullptr);
    // Shows the window with both numbers at "1"; true when "&Listeaza" accepted a valid
    // range, which is then in `range`.
    bool choose(documents::DispositionRange &range);

    QLineEdit *firstNumber() const { return numbers_.from; }
    QLineEdit *lastNumber() const { return numbers_.to; }
    DateField *grantDate() const { return grantDate_; }
    QPushButton *listButton() const { return list_; }

private:
    void list();
    Ui &ui_;
    Range<QLineEdit> numbers_;
    DateField *grantDate_;
    QPushButton *list_;
    documents::DispositionRange range_;
};

} // namespace focaris::gui

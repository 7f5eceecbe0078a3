// The range window of the separate dispositions ("Listare Dispozitii"): the first and
// last disposition number and the date from which the aid is granted.
#pragma once

#include "documents/SeparateDispositions.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris { class Ui; }

namespace focaris::gui {

class DateField;

class TListDispF : public QDialog {
public:
    TListDispF(Ui &ui, QWidget *parent = nullptr);
    // Shows the window with both numbers at "1"; true when "&Listeaza" accepted a valid
    // range, which is then in `range`.
    bool choose(documents::DispositionRange &range);

    QLineEdit *disp0() const { return numbers_.from; }
    QLineEdit *disp1() const { return numbers_.to; }
    DateField *dataA() const { return dataA_; }
    QPushButton *listButton() const { return list_; }

private:
    void list();
    Ui &ui_;
    Range<QLineEdit> numbers_;
    DateField *dataA_;
    QPushButton *list_;
    documents::DispositionRange range_;
};

} // namespace focaris::gui

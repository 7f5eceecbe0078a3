// "Cereri": puts one application date on a range of applications of the working month.
#pragma once

#include "applications/MonthOperation.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QLineEdit;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField;

class DatesDialog : public QDialog {
    Q_OBJECT
public:
    explicit DatesDialog(Ui &ui, QWidget *parent = nullptr);

    // Opens with the numbers at 0 and today's date; the outcome of "&Pune Data".
    Outcome run(int month);
    void start();

    QLineEdit *from() const { return numbers_.from; }
    QLineEdit *to() const { return numbers_.to; }
    DateField *date() const { return date_; }

private:
    Ui &ui_;
    int month_ = 0;
    Outcome outcome_;
    Range<QLineEdit> numbers_;
    DateField *date_;
};

} // namespace focaris::gui

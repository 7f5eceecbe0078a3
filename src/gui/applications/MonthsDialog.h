// "Modificare Nr.luni": the new number of months of every application of the working
// month, then the change itself.
#pragma once

#include "applications/MonthOperation.h"

#include <QDialog>

class QLineEdit;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MonthsDialog : public QDialog {
    Q_OBJECT
public:
    explicit MonthsDialog(Ui &ui, QWidget *parent = nullptr);

    // Asks for the number and changes the month; not done on "&Renunt" or Escape.
    Outcome run(int month);
    void start();

    QLineEdit *months() const { return months_; }

private:
    Ui &ui_;
    int month_ = 0;
    Outcome outcome_;
    QLineEdit *months_;
};

} // namespace focaris::gui

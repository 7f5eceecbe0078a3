// The chooser "Alegeti luna" (`ChoosePaymentMonth`): a payment month of the cold season
// ("Noiembrie" .. "Martie") and, when asked for, its year.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class PaymentMonthChooser : public QDialog {
    Q_OBJECT
public:
    explicit PaymentMonthChooser(Ui &ui, QWidget *parent = nullptr);

    // Shows the dialog (the year field preset to the current year when `withYear`); true
    // with the month as "11", "12", "01", "02" or "03" and the year typed (0 without the
    // field), false on "Renunt" or Escape.
    bool choose(bool withYear, QString &month, int &year);

    QComboBox *list() const { return list_; }
    QLineEdit *yearField() const { return year_; }
    QPushButton *chooseButton() const { return choose_; }
    QPushButton *cancelButton() const { return cancel_; }

private:
    void tryAccept();

    Ui &ui_;
    QComboBox *list_;
    QLabel *yearLabel_;
    QLineEdit *year_;
    QPushButton *choose_;
    QPushButton *cancel_;
    bool withYear_ = false;
    int chosenYear_ = 0;
};

// `ChoosePaymentMonth`(with year): opens the chooser over `parent`. False when cancelled.
bool ChoosePaymentMonth(Ui &ui, bool withYear, QString &month, int &year, QWidget *parent = nullptr);

// When set, ChoosePaymentMonth answers through this function instead of the dialog (tests).
std::function<bool(bool withYear, QString &month, int &year)> &ChoosePaymentMonthAnswer();

} // namespace focaris::gui

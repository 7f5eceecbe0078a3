// The dialog "Adaugare Luna": a month "01".."12" and a four-digit year, checked between
// 2006 and the next year.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class AddMonthDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddMonthDialog(Ui &ui, QWidget *parent = nullptr);

    // Resets the fields (first month, the current year) and shows the dialog; true with
    // the month text "MM.YYYY", false on "&Renunta" or Escape.
    bool ask(QString &monthText);
    // The fields reset as ask() does, without showing (screenshots).
    void reset();

    QComboBox *monthList() const { return month_; }
    QLineEdit *yearField() const { return year_; }
    QPushButton *addButton() const { return add_; }
    QPushButton *cancelButton() const { return cancel_; }

private:
    void tryAccept();

    Ui &ui_;
    QComboBox *month_;
    QLineEdit *year_;
    QPushButton *add_;
    QPushButton *cancel_;
    QString chosen_;
};

} // namespace focaris::gui

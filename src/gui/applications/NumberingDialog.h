// "Numerotare Dispozitii": the range of applications, the first disposition number, the
// date, the category and the two options of the numbering; runs it and closes when it ran.
#pragma once

#include "applications/Numbering.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField;

class NumberingDialog : public QDialog {
    Q_OBJECT
public:
    explicit NumberingDialog(Ui &ui, QWidget *parent = nullptr);

    // Opens on the month with the three numbers at 0 and the last date used; returns the
    // outcome of the numbering (not done when the person left without running it).
    Outcome run(int month);
    // Runs the numbering with the fields as they are (the button and Enter on the date).
    void start();

    QLineEdit *from() const { return numbers_.from; }
    QLineEdit *to() const { return numbers_.to; }
    QLineEdit *first() const { return first_; }
    DateField *date() const { return date_; }
    QComboBox *category() const { return category_; }
    QCheckBox *clearOthers() const { return clear_; }
    QCheckBox *sameNumber() const { return same_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Ui &ui_;
    int month_ = 0;
    Outcome outcome_;
    Range<QLineEdit> numbers_;
    QLineEdit *first_;
    DateField *date_;
    QComboBox *category_;
    QCheckBox *clear_, *same_;
};

} // namespace focaris::gui

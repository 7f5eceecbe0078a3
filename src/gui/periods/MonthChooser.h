// The chooser "Perioada" (`ChooseMonth`): a month of the list other than the working month,
// for the copy and the deletion of the applications of another month. The caption is the
// title the caller passes.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class MonthChooser : public QDialog {
    Q_OBJECT
public:
    explicit MonthChooser(Ui &ui, QWidget *parent = nullptr);

    // Fills the list ("Luni.lst" without the working month, first entry selected) and
    // shows the dialog; true with the chosen month text, false on "Renunt" or Escape.
    bool choose(const QString &title, QString &month);

    QComboBox *list() const { return list_; }
    QPushButton *chooseButton() const { return choose_; }
    QPushButton *cancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tryAccept();

    Ui &ui_;
    QComboBox *list_;
    QPushButton *choose_;
    QPushButton *cancel_;
};

// `ChooseMonth`(title): opens the chooser over `parent`. Returns false when cancelled.
bool ChooseMonth(Ui &ui, const QString &title, QString &month, QWidget *parent = nullptr);

// When set, ChooseMonth answers through this function instead of opening the dialog: the
// tests of the windows that use the chooser script their choice here.
std::function<bool(const QString &title, QString &month)> &ChooseMonthAnswer();

} // namespace focaris::gui

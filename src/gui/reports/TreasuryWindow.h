// The treasury report's window "Raport trezorerie": the transfer date, the two captions
// printed in the outputs, "Creaza Raport" (the selection of applications, then the folder
// and the four files) and "Renunt". It stays open when the person cancels a step or a
// folder cannot be replaced, so that the step can be tried again.
#pragma once

#include "gui/widgets/DialogParts.h"
#include "reports/TreasuryReport.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class DateField;

// "Selectare cereri" as the treasury report uses it: the locality and the range of
// initial letters, without the statement's period. The letters keep their last choice.
class TreasurySelection : public QDialog {
    Q_OBJECT
public:
    explicit TreasurySelection(QWidget *parent = nullptr);
    // Rebuilds the locality list for the working month and shows the dialog; true with the
    // choice filled in when "&Am ales" was pressed.
    bool choose(exports::TreasuryChoice &choice);

    QComboBox *localities() const { return locality_; }
    QComboBox *firstLetter() const { return letters_.from; }
    QComboBox *lastLetter() const { return letters_.to; }
    QPushButton *chooseButton() const { return choose_; }

private:
    QComboBox *locality_;
    Range<QComboBox> letters_;
    QPushButton *choose_;
};

class TreasuryWindow : public QDialog {
    Q_OBJECT
public:
    explicit TreasuryWindow(Ui &ui, QWidget *parent = nullptr);

    // Opens the window with today's date; returns when it is closed.
    int openWindow();

    // The selection step; replaced in tests, which answer it without a dialog.
    std::function<bool(exports::TreasuryChoice &)> chooseSelection;

    DateField *dateField() const { return date_; }
    QPushButton *createButton() const { return create_; }
    QPushButton *cancelButton() const { return cancel_; }
    TreasurySelection &selection() { return *selection_; }
    // What the last "Creaza Raport" did.
    const exports::TreasuryResult &lastResult() const { return last_; }

private:
    void create();

    Ui &ui_;
    DateField *date_;
    QLabel *supplementLabel_;
    QLabel *lawLabel_;
    QPushButton *create_;
    QPushButton *cancel_;
    TreasurySelection *selection_;
    exports::TreasuryResult last_;
};

} // namespace focaris::gui

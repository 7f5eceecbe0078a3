// The range window of the reports ("Referate"): the first and last application number,
// which keep their values from one use to the next.
#pragma once

#include "documents/ApplicationReports.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class ApplicationRangeDialog : public QDialog {
public:
    ApplicationRangeDialog(Ui &ui, QWidget *parent = nullptr);
    // True when "&Listeaza" accepted a valid range, which is then in `range`.
    bool choose(documents::ReportRange &range);

    QLineEdit *firstNumber() const { return numbers_.from; }
    QLineEdit *lastNumber() const { return numbers_.to; }
    QPushButton *listButton() const { return list_; }

protected:
    void done(int result) override;

private:
    void list();
    Ui &ui_;
    Range<QLineEdit> numbers_;
    QPushButton *list_;
};

} // namespace focaris::gui

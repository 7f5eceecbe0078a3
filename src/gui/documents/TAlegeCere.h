// The range window of the reports ("Referate"): the first and last application number,
// which keep their values from one use to the next.
#pragma once

#include "documents/ApplicationReports.h"
#include "gui/widgets/DialogParts.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace focaris { class Ui; }

namespace focaris::gui {

class TAlegeCere : public QDialog {
public:
    TAlegeCere(Ui &ui, QWidget *parent = nullptr);
    // True when "&Listeaza" accepted a valid range, which is then in `range`.
    bool choose(documents::ReportRange &range);

    QLineEdit *cere0() const { return numbers_.from; }
    QLineEdit *cere1() const { return numbers_.to; }
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

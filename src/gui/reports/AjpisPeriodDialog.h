// The "Rapoarte" dialog of the county agency's report: the period "de la" .. "pana la",
// of which only month and year count.
#pragma once

#include "core/Ui.h"
#include "gui/widgets/DialogParts.h"
#include "reports/AjpisReport.h"

#include <QDialog>

class QPushButton;

namespace focaris::gui {

class DateField;

class AjpisPeriodDialog : public QDialog {
    Q_OBJECT
public:
    explicit AjpisPeriodDialog(Ui &ui, QWidget *parent = nullptr);

    // Shows the dialog; true when a valid period was confirmed (then in `period`).
    bool ask(reports::ReportPeriod &period);

    DateField *from() const { return period_.from; }
    DateField *to() const { return period_.to; }
    QPushButton *chooseButton() const { return choose_; }
    QPushButton *cancelButton() const { return close_; }

private:
    void choose();
    bool eventFilter(QObject *watched, QEvent *event) override;

    Ui &ui_;
    Range<DateField> period_;
    QPushButton *choose_, *close_;
};

} // namespace focaris::gui

// The dialog "Date Supliment" for the gas or the electricity contract: supplier (with the
// list of suppliers already used), client code, point of delivery, the contract holder
// and, for electricity, the box "Este Singura sursa de energie din locuinta". The result
// is saved, deleted or cancelled; the editor keeps the data until the application is
// stored.
#pragma once

// moc does not read the C++20 headers behind these types; it needs none of them.
#ifndef Q_MOC_RUN
#include "applications/ApplicationEditor.h"
#endif

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class CnpEdit;

class SupplementDialog : public QDialog {
    Q_OBJECT
public:
    enum Outcome { Cancelled = 0, Saved = 1, Deleted = 2 };

    SupplementDialog(Ui &ui, QWidget *parent = nullptr);

    // Opens on the editor's data of `kind` and, when the person saves or deletes, hands
    // the result to the editor. Modal.
    Outcome edit(ApplicationEditor &editor, SupplementKind kind);
    // The same without waiting (tests); the outcome is known after finished().
    void open(ApplicationEditor &editor, SupplementKind kind);
    Outcome outcome() const { return outcome_; }

    QComboBox *supplier() const { return supplier_; }
    QLineEdit *clientCode() const { return clientCode_; }
    QLineEdit *deliveryPoint() const { return deliveryPoint_; }
    QLineEdit *holder() const { return holder_; }
    CnpEdit *cnp() const { return cnp_; }
    QCheckBox *singleSource() const { return singleSource_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *deleteButton() const { return delete_; }
    QPushButton *cancelButton() const { return cancel_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void prepare(ApplicationEditor &editor, SupplementKind kind);
    SupplementData gather() const;
    void onSave();
    void onDelete();

    Ui &ui_;
    ApplicationEditor *editor_ = nullptr;
    SupplementKind kind_ = SupplementKind::Gas;
    Outcome outcome_ = Cancelled;
    QLabel *title_;
    QComboBox *supplier_;
    QLineEdit *clientCode_;
    QLineEdit *deliveryPoint_;
    QLineEdit *holder_;
    CnpEdit *cnp_;
    QCheckBox *singleSource_;
    QPushButton *save_;
    QPushButton *cancel_;
    QPushButton *delete_;
};

} // namespace focaris::gui

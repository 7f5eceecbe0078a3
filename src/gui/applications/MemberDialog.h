// The dialog "Date membru": one family member's name, CNP, monthly income and role, with
// the box "Goleste casutele". "Memoreaza" (or Enter on the role list) hands the fields to
// the editor's member operation; a refusal shows its hint and keeps the dialog open.
#pragma once

// moc does not read the C++20 headers behind these types; it needs none of them.
#ifndef Q_MOC_RUN
#include "applications/EditorFields.h"
#endif

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace focaris {
class Ui;
}

namespace focaris::gui {

class CnpEdit;
class NumericEdit;

class MemberDialog : public QDialog {
    Q_OBJECT
public:
    explicit MemberDialog(Ui &ui, QWidget *parent = nullptr);

    // Stores the member through `save` (the editor's add or modify); the dialog closes as
    // saved when it returns no refusal. Modal; true when saved.
    using SaveFunction = std::function<EditorRefusal(const MemberFields &)>;
    bool edit(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save);
    // The same without waiting (tests): shown at once; accepted() follows a save.
    void open(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save);

    MemberFields fields() const;
    QLineEdit *holder() const { return holder_; }
    CnpEdit *cnp() const { return cnp_; }
    NumericEdit *income() const { return income_; }
    QComboBox *relation() const { return relation_; }
    QCheckBox *clearFields() const { return clearFields_; }
    QPushButton *saveButton() const { return save_; }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void prepare(const QString &modeTitle, const MemberFields &preset, const SaveFunction &save);
    void empty();
    void onSave();

    Ui &ui_;
    SaveFunction saveFn_;
    bool adding_ = true;
    QLineEdit *holder_;
    CnpEdit *cnp_;
    NumericEdit *income_;
    QComboBox *relation_;
    QCheckBox *clearFields_;
    QPushButton *save_;
};

} // namespace focaris::gui

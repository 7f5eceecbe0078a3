// Pieces the program's dialogs share, so that each dialog's code says only what is its
// own: the frame (window flags, object name, caption, modal), the named controls, the row
// of buttons at the dialog's foot, the bold heading, the rows of labelled fields, the two
// fields of a range ("incepand cu" .. "terminand cu", "de la" .. "pana la"), and Enter
// moving from field to field.
#pragma once

// The parts are returned as what they are, so that a dialog adds them to its layout
// without further includes.
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QString>

#include <initializer_list>
#include <utility>

class QComboBox;
class QDialog;
class QEvent;
class QLineEdit;
class QPushButton;
class QWidget;

namespace focaris::gui {

// A title bar with the close button and the system menu (most dialogs) or without the menu.
inline const Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
inline const Qt::WindowFlags kDialogFlagsNoMenu = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Gives `dialog` the object name scripts, tests and the Tab table find it by, its caption,
// and makes it modal.
void SetUpDialog(QDialog *dialog, const QString &objectName, const QString &title);

// A new control of type W made with `args` (its parent last), named `objectName`.
template <class W, class... Args>
W *Named(const QString &objectName, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)...);
    w->setObjectName(objectName);
    return w;
}

// A line edit for a number of up to ten digits and a decimal point.
QLineEdit *NumericEntry(const QString &objectName, QWidget *parent);
// A line edit for a whole number of up to `digits` digits.
QLineEdit *DigitsEntry(const QString &objectName, QWidget *parent, int digits = 10);
// A line edit with that object name.
QLineEdit *TextEntry(const QString &objectName, QWidget *parent);

// A push button that Enter in the fields never presses by itself (not auto-default);
// named `objectName` when one is given.
QPushButton *DialogButton(const QString &caption, QWidget *parent, const QString &objectName = {});
// The same button that cancels `dialog` when pressed ("&Renunt" and the like).
QPushButton *CancelButton(const QString &caption, QDialog *dialog, const QString &objectName = {});

// Where the buttons of a row stand: at the right edge (after a stretch; macOS puts the
// action role before it), or centred.
enum class ButtonsAt { Right, Centre };

// The row of buttons at a dialog's foot, on a QDialogButtonBox, in the order given on
// every platform: they all take the action role, whose buttons the box never reorders,
// so the Tab order (which follows the row) is the order given too. `atLeft` stand at the
// left edge before them, in their order (the reset role, which every platform puts there
// and never reorders either).
QDialogButtonBox *ButtonRow(QWidget *parent, std::initializer_list<QAbstractButton *> buttons,
                            ButtonsAt at = ButtonsAt::Right, std::initializer_list<QAbstractButton *> atLeft = {});
// The main button and "&Renunt" (which cancels the dialog), right-aligned; neither is
// pressed by Enter by itself.
QDialogButtonBox *ButtonRow(QDialog *dialog, QPushButton *main, QPushButton *cancel);

// A label in bold: the heading over a dialog's fields.
QLabel *Heading(const QString &text, QWidget *parent);

// Rows of a form, each a label and its field; the label is the field's buddy, so that its
// Alt letter and a screen reader reach the field.
struct FormRow {
    QString label;
    QWidget *field;
};
QFormLayout *FormRows(std::initializer_list<FormRow> rows);
void AddFormRows(QFormLayout *form, std::initializer_list<FormRow> rows);

// The two fields of a range: the first and the last number, date or letter.
template <class Field>
struct Range {
    Field *from = nullptr;
    Field *to = nullptr;
};

// The range with each field after its label: on one line, left-aligned, or as two rows of
// a form.
QBoxLayout *RangeOnOneLine(QWidget *parent, const FormRow &from, const FormRow &to);
template <class Field>
QBoxLayout *RangeOnOneLine(QWidget *parent, const Range<Field> &range, const QString &fromLabel, const QString &toLabel)
{
    return RangeOnOneLine(parent, FormRow{fromLabel, range.from}, FormRow{toLabel, range.to});
}
template <class Field>
QFormLayout *RangeRows(const Range<Field> &range, const QString &fromLabel, const QString &toLabel)
{
    return FormRows({{fromLabel, range.from}, {toLabel, range.to}});
}

// The choice of the beneficiaries in "Selectare cereri": the locality list and the range
// of the names' first letters, each under its caption, added to `layout`.
void AddBeneficiaryChoice(QBoxLayout *layout, QWidget *parent, QComboBox *locality, const Range<QComboBox> &letters);

// Enter in each field moves to the next; Enter in the last one clicks `main`.
void EnterMovesOn(std::initializer_list<QWidget *> fields, QPushButton *main);
// True when `event` is a press of Enter (either key), which the dialogs take as "next field".
bool IsEnterKey(const QEvent *event);

// Shows `dialog` modally with the focus in `first`; true when it was accepted.
bool ExecFrom(QDialog *dialog, QWidget *first);

} // namespace focaris::gui

// Pieces the program's dialogs share.
#include "gui/widgets/DialogParts.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <vector>

namespace focaris::gui {

namespace {

// QDialogButtonBox makes its first button its focus proxy. The row keeps none, as the plain
// row of buttons it replaces did: each button is a Tab stop of its own, named by itself.
class ButtonBox : public QDialogButtonBox {
public:
    using QDialogButtonBox::QDialogButtonBox;

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QDialogButtonBox::event(event);
        if (focusProxy())
            setFocusProxy(nullptr);
        return handled;
    }
};

} // namespace

void SetUpDialog(QDialog *dialog, const QString &objectName, const QString &title)
{
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(title);
    dialog->setModal(true);
}

QLineEdit *NumericEntry(const QString &objectName, QWidget *parent)
{
    auto *e = TextEntry(objectName, parent);
    e->setMaxLength(10);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*[.]?[0-9]*")), e));
    return e;
}

QLineEdit *DigitsEntry(const QString &objectName, QWidget *parent, int digits)
{
    auto *e = TextEntry(objectName, parent);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), e));
    return e;
}

QLineEdit *TextEntry(const QString &objectName, QWidget *parent)
{
    return Named<QLineEdit>(objectName, parent);
}

QPushButton *DialogButton(const QString &caption, QWidget *parent, const QString &objectName)
{
    auto *b = new QPushButton(caption, parent);
    if (!objectName.isEmpty())
        b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QPushButton *CancelButton(const QString &caption, QDialog *dialog, const QString &objectName)
{
    QPushButton *b = DialogButton(caption, dialog, objectName);
    QObject::connect(b, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

QDialogButtonBox *ButtonRow(QWidget *parent, std::initializer_list<QAbstractButton *> buttons, ButtonsAt at,
                            std::initializer_list<QAbstractButton *> atLeft)
{
    auto *row = new ButtonBox(Qt::Horizontal, parent);
    row->setCenterButtons(at == ButtonsAt::Centre);
    for (QAbstractButton *b : atLeft)
        row->addButton(b, QDialogButtonBox::ResetRole);
    for (QAbstractButton *b : buttons)
        row->addButton(b, QDialogButtonBox::ActionRole);
    row->setFocusProxy(nullptr);
    return row;
}

QDialogButtonBox *ButtonRow(QDialog *dialog, QPushButton *main, QPushButton *cancel)
{
    // Enter is handled by the fields, so that it never presses a button by itself.
    for (QPushButton *b : {main, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return ButtonRow(dialog, {main, cancel});
}

QLabel *Heading(const QString &text, QWidget *parent)
{
    auto *heading = new QLabel(text, parent);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

QFormLayout *FormRows(std::initializer_list<FormRow> rows)
{
    auto *form = new QFormLayout;
    AddFormRows(form, rows);
    return form;
}

void AddFormRows(QFormLayout *form, std::initializer_list<FormRow> rows)
{
    for (const FormRow &row : rows)
        form->addRow(row.label, row.field);
}

QBoxLayout *RangeOnOneLine(QWidget *parent, const FormRow &from, const FormRow &to)
{
    auto *line = new QHBoxLayout;
    for (const FormRow &end : {from, to}) {
        line->addWidget(new QLabel(end.label, parent));
        line->addWidget(end.field);
    }
    line->addStretch();
    return line;
}

void AddBeneficiaryChoice(QBoxLayout *layout, QWidget *parent, QComboBox *locality, const Range<QComboBox> &letters)
{
    layout->addWidget(new QLabel(QStringLiteral("Doar pentru beneficiarii din Localitatea:"), parent));
    layout->addWidget(locality);
    layout->addWidget(new QLabel(QStringLiteral("Nume beneficiarii a caror nume incepe cu:"), parent));
    layout->addLayout(
        RangeOnOneLine(parent, letters, QStringLiteral("incepand cu litera"), QStringLiteral("terminand cu")));
}

void EnterMovesOn(std::initializer_list<QWidget *> fields, QPushButton *main)
{
    const std::vector<QWidget *> list(fields);
    for (std::size_t i = 0; i < list.size(); ++i) {
        QWidget *next = i + 1 < list.size() ? list[i + 1] : nullptr;
        auto go = [next, main] {
            if (next)
                next->setFocus();
            else
                main->click();
        };
        if (auto *edit = qobject_cast<QLineEdit *>(list[i]))
            QObject::connect(edit, &QLineEdit::returnPressed, main, go);
    }
}

bool IsEnterKey(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool ExecFrom(QDialog *dialog, QWidget *first)
{
    first->setFocus();
    return dialog->exec() == QDialog::Accepted;
}

} // namespace focaris::gui

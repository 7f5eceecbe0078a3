// Key handling of the CNP field.
#include "gui/widgets/CnpEdit.h"

#include "applications/Cnp.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpressionValidator>

namespace focaris::gui {

CnpEdit::CnpEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(13);
    // A last guard: whatever path a text takes into the field, only digits stay.
    setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,13}"), this));
}

bool CnpEdit::isValid() const
{
    return cnp::IsValid(text(), acceptsEmpty_);
}
QDate CnpEdit::birthDate() const
{
    return cnp::BirthDate(text());
}
QString CnpEdit::sex() const
{
    return cnp::Sex(text());
}

void CnpEdit::insertDigit(QChar digit)
{
    QString t = text();
    int pos = cursorPosition();
    if (hasSelectedText()) {
        pos = selectionStart();
        t.remove(pos, selectedText().size());
    }
    if (t == QLatin1String("0")) {
        t.clear();
        pos = 0;
    }
    if (t.size() >= 13)
        return;
    t.insert(pos, digit);
    setText(t);
    setCursorPosition(pos + 1);
}

void CnpEdit::insertDigits(const QString &text)
{
    for (QChar c : text)
        if (c >= '0' && c <= '9')
            insertDigit(c);
}

void CnpEdit::pasteDigits()
{
    insertDigits(QApplication::clipboard()->text());
}

void CnpEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->ignore(); // the form moves to the next field
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteDigits();
        return;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        insertDigit(QChar('0' + (key - Qt::Key_0)));
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        QString t = text();
        if (hasSelectedText()) {
            const int start = selectionStart();
            t.remove(start, selectedText().size());
            setText(t);
            setCursorPosition(start);
        } else if (key == Qt::Key_Backspace && cursorPosition() > 0) {
            const int pos = cursorPosition() - 1;
            t.remove(pos, 1);
            setText(t);
            setCursorPosition(pos);
        } else if (key == Qt::Key_Delete && cursorPosition() < t.size()) {
            const int pos = cursorPosition();
            t.remove(pos, 1);
            setText(t);
            setCursorPosition(pos);
        }
        return;
    }
    // Moving the caret, selecting and copying change nothing and stay usable.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) || key == Qt::Key_Left ||
        key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    // Every other key is ignored.
}

void CnpEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // Paste and cut from the menu go through the field's own rules too.
    for (QAction *a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, &CnpEdit::pasteDigits);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CnpEdit::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasText()) {
        insertDigits(event->mimeData()->text());
        event->acceptProposedAction();
    }
}

} // namespace focaris::gui

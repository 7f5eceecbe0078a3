// Key handling of the numeric field.
#include "gui/widgets/NumericEdit.h"

#include "applications/EditorFields.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace focaris::gui {

NumericEdit::NumericEdit(int integerDigits, int decimals, QWidget *parent)
    : QLineEdit(parent), integerDigits_(integerDigits), decimals_(decimals)
{
    setMaxLength(integerDigits + (decimals > 0 ? decimals + 1 : 0));
    setText(QStringLiteral("0"));
    setAlignment(Qt::AlignRight);
}

Amount NumericEdit::value() const
{
    return FieldNumber(text());
}

bool NumericEdit::acceptable(const QString &t) const
{
    if (t.startsWith(QLatin1String("00")))
        return false;
    const qsizetype dot = t.indexOf('.');
    if (dot >= 0 && (decimals_ == 0 || t.indexOf('.', dot + 1) >= 0))
        return false;
    for (QChar c : t)
        if (!(c.isDigit() && c.unicode() < 128) && c != '.')
            return false;
    const qsizetype intLen = dot < 0 ? t.size() : dot;
    const qsizetype decLen = dot < 0 ? 0 : t.size() - dot - 1;
    return intLen <= integerDigits_ && decLen <= decimals_;
}

void NumericEdit::refuse()
{
    ++beeps_;
    QApplication::beep();
}

void NumericEdit::put(const QString &insert)
{
    QString t = text();
    int pos = cursorPosition();
    if (hasSelectedText()) {
        pos = selectionStart();
        t.remove(pos, selectedText().size());
    }
    // "00" at the start is refused before a digit may take the place of a lone "0".
    QString raw = t;
    raw.insert(pos, insert);
    if (raw.startsWith(QLatin1String("00"))) {
        refuse();
        return;
    }
    // A digit typed into a field that shows "0" takes its place.
    if (t == QLatin1String("0") && insert.size() == 1 && insert[0].isDigit()) {
        t.clear();
        pos = 0;
    }
    t.insert(pos, insert);
    if (!acceptable(t)) {
        refuse();
        return;
    }
    setText(t);
    setCursorPosition(pos + int(insert.size()));
}

void NumericEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Tab ||
        key == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    if (key == Qt::Key_Delete)
        return;
    if (event->matches(QKeySequence::Paste)) {
        put(QApplication::clipboard()->text().trimmed());
        return;
    }
    if (key == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        if (text().isEmpty()) {
            setText(QStringLiteral("0"));
            selectAll();
        }
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = typed[0];
        if (c.isDigit() && c.unicode() < 128) {
            put(typed);
            return;
        }
        if (c == '.' || c == ',') {
            put(QStringLiteral("."));
            return;
        }
        if (c.isPrint()) {
            refuse();
            return;
        }
    }
    // Moving the caret, selecting, copying.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) || key == Qt::Key_Left ||
        key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End)
        QLineEdit::keyPressEvent(event);
}

void NumericEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
    // A mouse click places the caret after the focus arrives; select again once it has.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

void NumericEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    for (QAction *a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste")) {
            a->disconnect();
            connect(a, &QAction::triggered, this, [this] { put(QApplication::clipboard()->text().trimmed()); });
        } else if (a->objectName() == QLatin1String("edit-delete") || a->objectName() == QLatin1String("edit-cut")) {
            a->setEnabled(false);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void NumericEdit::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasText()) {
        put(event->mimeData()->text().trimmed());
        event->acceptProposedAction();
    }
}

} // namespace focaris::gui

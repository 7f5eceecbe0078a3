// The window audit; see WindowAudit.h.
#include "WindowAudit.h"

#include "gui/widgets/WindowAccess.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextStream>
#include <QTimer>

namespace focaris::test {
namespace {

QString windowName(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString readerName(QAccessibleInterface *iface);

// A control is named by its object name where it has one, else by what a reader hears.
QString stopName(const QWidget *w)
{
    // One stop stands for a group of radio buttons, whichever of them is checked.
    if (qobject_cast<const QRadioButton *>(w) && w->objectName().isEmpty()) {
        QStringList texts;
        for (const QRadioButton *r : w->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
            texts << r->text().remove(QLatin1Char('&'));
        return QLatin1Char('(') + texts.join(QLatin1Char('/')) + QLatin1Char(')');
    }
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
        return w->objectName();
    if (QAccessibleInterface *i = QAccessible::queryAccessibleInterface(const_cast<QWidget *>(w)))
        if (const QString name = readerName(i); !name.isEmpty())
            return QLatin1Char('[') + name + QLatin1Char(']');
    return QString::fromLatin1(w->metaObject()->className());
}

// What a screen reader says for the control: its name, or the label bound to it (on
// Linux a combo box's name is its value, and its label comes through the relation).
QString readerName(QAccessibleInterface *iface)
{
    if (iface->role() != QAccessible::ComboBox) {
        if (const QString own = iface->text(QAccessible::Name).simplified(); !own.isEmpty())
            return own;
    } else if (auto *w = qobject_cast<QWidget *>(iface->object()); w && !w->accessibleName().isEmpty()) {
        return w->accessibleName().simplified();
    }
    const auto labels = iface->relations(QAccessible::Label);
    for (const auto &label : labels)
        if (label.first && !label.first->text(QAccessible::Name).trimmed().isEmpty())
            return label.first->text(QAccessible::Name).simplified();
    return {};
}

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab: return true;
    default: return false;
    }
}

void walk(QAccessibleInterface *iface, WindowAudit::Window &out, int depth = 0)
{
    if (!iface || depth > 40)
        return;
    const QAccessible::Role role = iface->role();
    if (isControl(role) && !iface->state().invisible) {
        ++out.controls;
        if (readerName(iface).isEmpty()) {
            QObject *o = iface->object();
            out.unnamed.push_back(
                o ? (o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName())
                  : QStringLiteral("?"));
        }
    }
    // The cells of a grid are named by what they show.
    if (role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree ||
        role == QAccessible::ComboBox)
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), out, depth + 1);
}

QString shown(QString text)
{
    text.remove(QLatin1Char('&'));
    return text.simplified();
}

void checkFit(QWidget *window, WindowAudit::Window &out)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
                continue;
            const QSize need = label->minimumSizeHint();
            if (need.width() > label->width() + 1 || need.height() > label->height() + 1)
                out.clipped.push_back(QStringLiteral("label \"%1\"").arg(shown(label->text())));
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            const int need = button->fontMetrics().horizontalAdvance(shown(button->text())) +
                             (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w) ? 20 : 8);
            if (need > button->width())
                out.clipped.push_back(QStringLiteral("button \"%1\"").arg(shown(button->text())));
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
            if (spin->width() < spin->minimumSizeHint().width())
                out.clipped.push_back(QStringLiteral("field %1 \"%2\"").arg(stopName(spin), spin->text()));
        } else if (auto *edit = qobject_cast<QLineEdit *>(w); edit && !edit->text().isEmpty() &&
                                                              edit->echoMode() == QLineEdit::Normal &&
                                                              !qobject_cast<QAbstractSpinBox *>(edit->parentWidget()) &&
                                                              !qobject_cast<QComboBox *>(edit->parentWidget())) {
            // A typed value the field cannot show whole (the municipality's name).
            if (edit->fontMetrics().horizontalAdvance(edit->text()) + 10 > edit->width())
                out.clipped.push_back(QStringLiteral("field %1 \"%2\"").arg(stopName(edit), edit->text()));
        } else if (auto *grid = qobject_cast<QTableView *>(w); grid && grid->model()) {
            const QAbstractItemModel *model = grid->model();
            const QFontMetrics metrics = grid->fontMetrics();
            for (int c = 0; c < model->columnCount(); ++c) {
                if (grid->isColumnHidden(c))
                    continue;
                const int width = grid->columnWidth(c);
                bool cut = false;
                for (int r = 0; r < std::min(model->rowCount(), 20) && !cut; ++r)
                    cut = metrics.horizontalAdvance(model->index(r, c).data().toString()) + 6 > width;
                if (cut)
                    out.clipped.push_back(QStringLiteral("grid %1 column \"%2\"")
                                              .arg(windowName(grid), model->headerData(c, Qt::Horizontal).toString()));
            }
        }
    }
    out.clipped.removeDuplicates();
}

// Two captions of one window with the same Alt letter: the second can never be reached.
void checkMnemonics(QWidget *window, WindowAudit::Window &out)
{
    QMap<QChar, QString> letters;
    auto note = [&](const QString &text) {
        static const QRegularExpression mark(QStringLiteral("&([^&\\s])"));
        const QRegularExpressionMatch m = mark.match(text);
        if (!m.hasMatch())
            return;
        const QChar letter = m.captured(1).at(0).toLower();
        if (letters.contains(letter))
            out.clipped.push_back(
                QStringLiteral("Alt+%1 on \"%2\" and \"%3\"").arg(letter, letters.value(letter), text));
        else
            letters.insert(letter, text);
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            note(button->text());
        else if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
            note(label->text());
    }
}

QStringList tabChain(QWidget *window)
{
    QStringList chain;
    QWidget *w = window;
    for (int guard = 0; guard < 2000; ++guard) {
        w = w->nextInFocusChain();
        if (!w || w == window)
            break;
        if (w->window() != window || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) || !w->isEnabled())
            continue;
        // A field made of parts (a date field, an editable combo box) is one stop: its own.
        QWidget *owner = w;
        for (QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
            if (p->focusProxy() == w || qobject_cast<QAbstractSpinBox *>(p) || qobject_cast<QComboBox *>(p))
                owner = p;
        const QString name = stopName(owner);
        if (chain.isEmpty() || chain.back() != name)
            chain.push_back(name);
    }
    return chain;
}

} // namespace

WindowAudit::WindowAudit()
{
    gui::SetAnnouncementListener([this](QWidget *, const QString &text) { alerts_.push_back(text); });
    qApp->installEventFilter(this);
}

WindowAudit::~WindowAudit()
{
    qApp->removeEventFilter(this);
    gui::SetAnnouncementListener({});
}

void WindowAudit::read(QWidget *window)
{
    if (!window || !window->isWindow())
        return;
    Window seen;
    walk(QAccessible::queryAccessibleInterface(window), seen);
    checkFit(window, seen);
    checkMnemonics(window, seen);
    seen.chain = tabChain(window);
    Window &kept = windows_[windowName(window)];
    kept.controls = std::max(kept.controls, seen.controls);
    for (const QString &u : seen.unnamed)
        if (!kept.unnamed.contains(u))
            kept.unnamed.push_back(u);
    for (const QString &c : seen.clipped)
        if (!kept.clipped.contains(c))
            kept.clipped.push_back(c);
    if (seen.chain.size() >= kept.chain.size())
        kept.chain = seen.chain;
}

int WindowAudit::controls() const
{
    int n = 0;
    for (const Window &w : windows_)
        n += w.controls;
    return n;
}

bool WindowAudit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || !w->isWindow() || w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup)
        return false;
    if (event->type() == QEvent::Hide) {
        read(w);
        return false;
    }
    // Read once the window is laid out and the program's own preparation has run.
    QPointer<QWidget> guard(w);
    QTimer::singleShot(0, this, [this, guard] {
        if (guard && guard->isVisible())
            read(guard);
    });
    return false;
}

QString WindowAudit::chainTable() const
{
    QString table;
    for (auto it = windows_.begin(); it != windows_.end(); ++it)
        if (!it->chain.isEmpty())
            table += it.key() + QStringLiteral(": ") + it->chain.join(QStringLiteral(", ")) + QLatin1Char('\n');
    return table;
}

QStringList WindowAudit::chainDifferences(const QString &path) const
{
    QMap<QString, QString> kept;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        in.setEncoding(QStringConverter::Utf8);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const qsizetype colon = line.indexOf(QLatin1String(": "));
            if (colon > 0)
                kept.insert(line.left(colon), line.mid(colon + 2).trimmed());
        }
    }
    QStringList differences;
    for (auto it = windows_.begin(); it != windows_.end(); ++it) {
        if (it->chain.isEmpty())
            continue;
        const QString seen = it->chain.join(QStringLiteral(", "));
        if (!kept.contains(it.key()))
            differences.push_back(QStringLiteral("%1 is not in the table; its chain: %2").arg(it.key(), seen));
        else if (kept.value(it.key()) != seen)
            differences.push_back(QStringLiteral("%1 kept: %2\n  seen: %3").arg(it.key(), kept.value(it.key()), seen));
    }
    return differences;
}

} // namespace focaris::test

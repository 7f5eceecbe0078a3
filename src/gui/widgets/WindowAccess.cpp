// Keyboard and screen-reader access applied to every window; see WindowAccess.h.
#include "gui/widgets/WindowAccess.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>

namespace focaris::gui {
namespace {

const char kPrepared[] = "focarisAccessPrepared";
const char kAutoName[] = "focarisAutoName";

std::function<void(QWidget *, const QString &)> &announcementListener()
{
    static std::function<void(QWidget *, const QString &)> listener;
    return listener;
}
const char kPending[] = "focarisAccessPending";

// A control the person types into or chooses in: it needs a name of its own. Buttons and
// check boxes are named by their caption already.
bool needsLabel(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractItemView *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w);
}

// Widgets whose own children are parts of them (the line edit inside a spin box or a
// combo box, the viewport of a grid): they are one Tab stop and never searched inside.
bool isLeaf(const QWidget *w)
{
    return needsLabel(w) || qobject_cast<const QAbstractButton *>(w);
}

// The text a label shows, without its mnemonic marks.
QString plainText(const QLabel *label)
{
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    return text.simplified();
}

// A label that may be bound to a field: it shows plain text and is free. A label with a
// literal "&" (as in "A & B") keeps it visible by staying unbound.
bool freeLabel(const QLabel *label)
{
    if (!label || label->buddy() || label->textFormat() == Qt::RichText || plainText(label).isEmpty())
        return false;
    const QString text = label->text();
    return !text.contains(QLatin1String("& ")) && !text.contains(QLatin1String("&&")) &&
           !text.endsWith(QLatin1Char('&'));
}

QLabel *labelAt(QLayoutItem *item)
{
    return item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
}

// The label that stands before `field` in the layout that holds it: left of it in its row,
// else above it in its column; nullptr when the layout gives none.
QLabel *labelInLayout(QLayout *layout, QWidget *field)
{
    if (!layout)
        return nullptr;
    const int index = layout->indexOf(field);
    if (index >= 0) {
        if (auto *form = qobject_cast<QFormLayout *>(layout))
            return qobject_cast<QLabel *>(form->labelForField(field));
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            int row, column, rows, columns;
            grid->getItemPosition(index, &row, &column, &rows, &columns);
            if (column > 0)
                if (QLabel *left = labelAt(grid->itemAtPosition(row, column - 1)); freeLabel(left))
                    return left;
            if (row > 0)
                if (QLabel *above = labelAt(grid->itemAtPosition(row - 1, column)); freeLabel(above))
                    return above;
            return nullptr;
        }
        if (index > 0)
            if (QLabel *before = labelAt(layout->itemAt(index - 1)); freeLabel(before))
                return before;
        return nullptr;
    }
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout *inner = layout->itemAt(i)->layout())
            if (QLabel *found = labelInLayout(inner, field))
                return found;
    return nullptr;
}

// For windows placed by coordinates: the nearest free label on the field's line to its
// left, else just above it, among the field's siblings.
QLabel *labelByPlace(QWidget *field)
{
    QWidget *parent = field->parentWidget();
    if (!parent)
        return nullptr;
    const QRect f = field->geometry();
    QLabel *best = nullptr;
    int bestDistance = 0;
    for (QLabel *label : parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (!freeLabel(label) || label->isHidden())
            continue;
        const QRect l = label->geometry();
        int distance = -1;
        const bool sameLine = l.center().y() >= f.top() && l.center().y() <= f.bottom();
        if (sameLine && l.right() <= f.left() + 4)
            distance = f.left() - l.right();
        else if (l.bottom() <= f.top() + 2 && f.top() - l.bottom() < 30 && l.left() < f.right() && l.right() > f.left())
            distance = 1000 + f.top() - l.bottom();
        if (distance >= 0 && distance < 1300 && (!best || distance < bestDistance)) {
            best = label;
            bestDistance = distance;
        }
    }
    return best;
}

// The title of the group box a grid stands in ("LISTA MEMBRILOR").
QString groupTitle(QWidget *w)
{
    for (QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto *group = qobject_cast<QGroupBox *>(p); group && !group->title().isEmpty())
            return group->title().remove(QLatin1Char('&')).simplified();
    return {};
}

// The line edit inside a date field or a combo box: the control it belongs to is named.
bool partOfControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (isLeaf(p))
            return true;
    return false;
}

bool hasBuddyLabel(QWidget *window, QWidget *field)
{
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() == field)
            return true;
    return false;
}

void nameControl(QWidget *window, QWidget *w)
{
    // A grid named after its window's caption follows the caption ("Cereri 11.2026").
    if (w->property(kAutoName).toBool())
        w->setAccessibleName(QString());
    if (!w->accessibleName().isEmpty())
        return;
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (button->text().isEmpty() && !button->toolTip().isEmpty())
            button->setAccessibleName(button->toolTip());
        return;
    }
    if (!needsLabel(w) || hasBuddyLabel(window, w) || partOfControl(w))
        return;
    QLabel *label = labelInLayout(w->parentWidget() ? w->parentWidget()->layout() : nullptr, w);
    if (!label)
        label = labelByPlace(w);
    if (label) {
        label->setBuddy(w);
        // A grid reads its name from itself, not from a label bound to it.
        if (qobject_cast<QAbstractItemView *>(w))
            w->setAccessibleName(plainText(label));
        // The line edit of an editable combo box is what a reader reaches inside it.
        if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(plainText(label));
        return;
    }
    QString name = w->toolTip();
    if (name.isEmpty())
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            name = edit->placeholderText();
    if (name.isEmpty() && qobject_cast<QAbstractItemView *>(w))
        name = groupTitle(w);
    // The one grid of a window (the log, the list of applications) is what the window shows.
    if (name.isEmpty() && qobject_cast<QAbstractItemView *>(w)) {
        name = window->windowTitle();
        w->setProperty(kAutoName, true);
    }
    if (!name.isEmpty())
        w->setAccessibleName(name);
}

bool takesTab(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// The widgets a layout places, in the order a reader meets them: a grid by rows and then
// columns, a form row by row, a box in its direction; inner layouts in their place. The
// layout is used rather than the widgets' places, so that a field still hidden when the
// window first shows (the reason of a rejection) already stands where it will appear.
void layoutOrder(QLayout *layout, QList<QWidget *> &out)
{
    struct Cell {
        int row, column, index;
        QLayoutItem *item;
    };
    QList<Cell> cells;
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        for (int i = 0; i < grid->count(); ++i) {
            int row, column, rows, columns;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            cells.push_back({row, column, i, grid->itemAt(i)});
        }
    } else if (auto *form = qobject_cast<QFormLayout *>(layout)) {
        for (int i = 0; i < form->count(); ++i) {
            int row;
            QFormLayout::ItemRole role;
            form->getItemPosition(i, &row, &role);
            cells.push_back({row, role == QFormLayout::FieldRole ? 1 : 0, i, form->itemAt(i)});
        }
    } else {
        const auto *box = qobject_cast<QBoxLayout *>(layout);
        const bool reversed =
            box && (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop);
        for (int i = 0; i < layout->count(); ++i)
            cells.push_back({0, reversed ? -i : i, i, layout->itemAt(i)});
    }
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell &a, const Cell &b) { return a.row != b.row ? a.row < b.row : a.column < b.column; });
    for (const Cell &cell : cells) {
        if (QWidget *w = cell.item->widget())
            out.push_back(w);
        else if (QLayout *inner = cell.item->layout())
            layoutOrder(inner, out);
    }
}

// The direct children of `container` in reading order: those its layout places first, in
// the layout's order, then any placed by coordinates, in rows from top to bottom and each
// row from left to right.
QList<QWidget *> childOrder(QWidget *container)
{
    QList<QWidget *> ordered;
    if (container->layout())
        layoutOrder(container->layout(), ordered);
    QList<QWidget *> placed;
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !ordered.contains(child))
            placed.push_back(child);
    std::stable_sort(placed.begin(), placed.end(), [](const QWidget *a, const QWidget *b) { return a->y() < b->y(); });
    // A widget whose top lies above the middle of the row's first widget joins that row.
    for (qsizetype start = 0; start < placed.size();) {
        qsizetype end = start + 1;
        const int rowMiddle = placed[start]->geometry().center().y();
        while (end < placed.size() && placed[end]->y() < rowMiddle)
            ++end;
        std::stable_sort(placed.begin() + start, placed.begin() + end,
                         [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
        start = end;
    }
    ordered.append(placed);
    return ordered;
}

// The Tab stops inside `container`, in reading order.
void collectStops(QWidget *container, QList<QWidget *> &stops)
{
    for (QWidget *child : childOrder(container)) {
        if (child->isWindow() || child->parentWidget() != container)
            continue;
        if (isLeaf(child)) {
            if (takesTab(child) || child->focusProxy())
                stops.push_back(child);
            continue;
        }
        if (takesTab(child))
            stops.push_back(child);
        collectStops(child, stops);
    }
}

void orderTabs(QWidget *window)
{
    QList<QWidget *> stops;
    collectStops(window, stops);
    for (qsizetype i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

// Tab in a date field leaves the field instead of walking its day, month and year.
bool tabOutOfDate(QObject *receiver, QKeyEvent *key)
{
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    auto *w = qobject_cast<QWidget *>(receiver);
    QDateTimeEdit *date = qobject_cast<QDateTimeEdit *>(w);
    if (!date && w)
        date = qobject_cast<QDateTimeEdit *>(w->parentWidget());
    if (!date)
        return false;
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    QWidget *next = date;
    for (int guard = 0; guard < 10000; ++guard) {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if (next == date)
            return true;
        if (next->window() == date->window() && !date->isAncestorOf(next) && takesTab(next) && next->isVisible() &&
            next->isEnabled()) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

class AccessFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
            if (auto *w = qobject_cast<QWidget *>(watched)) {
                if (w->isWindow() && event->type() == QEvent::Show)
                    PrepareWindowAccess(w);
                else if (!w->isWindow() && w->window()->property(kPrepared).toBool())
                    schedule(w->window());
            }
            break;
        case QEvent::KeyPress:
            if (tabOutOfDate(watched, static_cast<QKeyEvent *>(event)))
                return true;
            break;
        default: break;
        }
        return false;
    }

private:
    // A field shown or hidden inside a window already on the screen (the working buttons
    // after the login): the window is prepared again once the change is laid out.
    static void schedule(QWidget *window)
    {
        if (window->property(kPending).toBool())
            return;
        window->setProperty(kPending, true);
        QPointer<QWidget> guard(window);
        QMetaObject::invokeMethod(
            window,
            [guard] {
                if (!guard)
                    return;
                guard->setProperty(kPending, false);
                if (guard->isVisible())
                    PrepareWindowAccess(guard);
            },
            Qt::QueuedConnection);
    }
};

} // namespace

void InstallWindowAccess()
{
    static AccessFilter *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new AccessFilter(qApp);
    qApp->installEventFilter(filter);
}

void PrepareWindowAccess(QWidget *window)
{
    if (!window)
        return;
    window->setProperty(kPrepared, true);
    for (QWidget *w : window->findChildren<QWidget *>())
        if (!w->isWindow() && w->window() == window)
            nameControl(window, w);
    orderTabs(window);
}

void Announce(QWidget *widget, const QString &text)
{
    if (!widget)
        return;
    widget->setAccessibleDescription(text);
    QAccessibleEvent event(widget, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
    if (announcementListener())
        announcementListener()(widget, text);
}

void SetAnnouncementListener(std::function<void(QWidget *, const QString &)> listener)
{
    announcementListener() = std::move(listener);
}

} // namespace focaris::gui

// The field hint balloon.
#include "gui/widgets/FieldHint.h"

#include "gui/widgets/WindowAccess.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace focaris::gui {
namespace {

// The balloon: a rounded box with an arrow on its upper edge pointing at the control.
QPainterPath balloon(const QSize &size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0.5, 8.5, size.width() - 1.0, size.height() - 9.0), 6, 6);
    QPainterPath arrow;
    arrow.moveTo(14, 9);
    arrow.lineTo(20, 0.5);
    arrow.lineTo(28, 9);
    arrow.closeSubpath();
    return path.united(arrow);
}

} // namespace

FieldHint::FieldHint(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FieldHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 18, 12, 10);
    layout->setSpacing(4);
    title_ = new QLabel(QStringLiteral("Problema !"), this);
    // The balloon's window carries its title too: the desktop and its screen reader know
    // it by that name.
    setWindowTitle(title_->text());
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    text_->setMaximumWidth(320);
    layout->addWidget(title_);
    layout->addWidget(text_);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
}

QString FieldHint::text() const
{
    return text_->text();
}

void FieldHint::showHint(const QString &text, QWidget *control)
{
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text_->setText(shown.trimmed());
    adjustSize();
    // Shaped by a mask rather than a transparent background, which needs a compositor.
    setMask(QRegion(balloon(size()).toFillPolygon().toPolygon()));
    QWidget *anchor = control ? control : QApplication::activeWindow();
    QPoint at;
    if (anchor) {
        // Below the control, its arrow pointing at the middle of the control's lower edge.
        at = anchor->mapToGlobal(QPoint(anchor->width() / 2 - 20, anchor->height()));
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        at = screen->availableGeometry().center() - QPoint(width() / 2, height() / 2);
    }
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
    // The balloon goes with the window it points into.
    if (watched_)
        watched_->removeEventFilter(this);
    watched_ = anchor ? anchor->window() : nullptr;
    if (watched_)
        watched_->installEventFilter(this);
    show();
    raise();
    Announce(this, title_->text() + QLatin1Char('\n') + text_->text());
    timer_.start(kDurationMs);
}

bool FieldHint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watched_ && event->type() == QEvent::Hide)
        hide();
    return QWidget::eventFilter(watched, event);
}

void FieldHint::mousePressEvent(QMouseEvent *)
{
    hide();
}

void FieldHint::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = balloon(size());
    p.setPen(QColor(0x76, 0x76, 0x76));
    p.setBrush(QColor(0xFF, 0xFF, 0xE1));
    p.drawPath(path);
}

} // namespace focaris::gui

// Button pictures drawn with QPainter.
#include "gui/shell/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace focaris::gui {
namespace {

void drawCalendar(QPainter &p, qreal s)
{
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), s / 24));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.70), s * 0.06, s * 0.06);
    p.setBrush(QColor(0xC6, 0x28, 0x28));
    p.drawRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x55, 0x55));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            p.drawRect(QRectF(s * (0.2 + c * 0.16), s * (0.44 + r * 0.13), s * 0.1, s * 0.08));
}

void drawDocument(QPainter &p, qreal s, QColor accent)
{
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), s / 24));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(s * 0.2, s * 0.1);
    page.lineTo(s * 0.62, s * 0.1);
    page.lineTo(s * 0.8, s * 0.28);
    page.lineTo(s * 0.8, s * 0.9);
    page.lineTo(s * 0.2, s * 0.9);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(accent, s / 16));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(s * 0.3, s * (0.4 + i * 0.13)), QPointF(s * 0.7, s * (0.4 + i * 0.13)));
}

void drawHouse(QPainter &p, qreal s)
{
    drawDocument(p, s, QColor(0xA0, 0xA0, 0xA0));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), s / 28));
    p.setBrush(QColor(0xE6, 0x6A, 0x1E));
    QPainterPath roof;
    roof.moveTo(s * 0.42, s * 0.62);
    roof.lineTo(s * 0.66, s * 0.42);
    roof.lineTo(s * 0.9, s * 0.62);
    roof.closeSubpath();
    p.drawPath(roof);
    p.setBrush(QColor(0xF2, 0xD4, 0x9B));
    p.drawRect(QRectF(s * 0.48, s * 0.62, s * 0.36, s * 0.28));
}

void drawGear(QPainter &p, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x6E, 0x86));
    const QPointF c(s / 2, s / 2);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45);
        p.drawRect(QRectF(-s * 0.07, -s * 0.42, s * 0.14, s * 0.2));
        p.restore();
    }
    p.drawEllipse(c, s * 0.28, s * 0.28);
    p.setBrush(Qt::white);
    p.drawEllipse(c, s * 0.11, s * 0.11);
}

void drawPadlock(QPainter &p, qreal s, bool open)
{
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), s / 10, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QRectF shackle(s * 0.3, s * 0.1, s * 0.4, s * 0.5);
    if (open)
        shackle.translate(s * 0.16, -s * 0.06);
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.right(), shackle.center().y()), QPointF(shackle.right(), s * 0.48));
    if (!open)
        p.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(shackle.left(), s * 0.48));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), s / 28));
    p.setBrush(open ? QColor(0x3C, 0xA0, 0x46) : QColor(0xD9, 0xA4, 0x1E));
    p.drawRoundedRect(QRectF(s * 0.2, s * 0.44, s * 0.6, s * 0.46), s * 0.06, s * 0.06);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(QPointF(s * 0.5, s * 0.63), s * 0.05, s * 0.05);
}

void drawExit(QPainter &p, qreal s)
{
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), s / 24));
    p.setBrush(QColor(0x8D, 0x5A, 0x2B));
    p.drawRect(QRectF(s * 0.14, s * 0.1, s * 0.42, s * 0.8));
    p.setBrush(QColor(0xF0, 0xC0, 0x40));
    p.drawEllipse(QPointF(s * 0.47, s * 0.52), s * 0.04, s * 0.04);
    p.setPen(QPen(QColor(0xC6, 0x28, 0x28), s / 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(s * 0.6, s * 0.5), QPointF(s * 0.9, s * 0.5));
    p.drawLine(QPointF(s * 0.78, s * 0.38), QPointF(s * 0.9, s * 0.5));
    p.drawLine(QPointF(s * 0.78, s * 0.62), QPointF(s * 0.9, s * 0.5));
}

void drawFlame(QPainter &p, qreal s)
{
    QPainterPath outer;
    outer.moveTo(s * 0.5, s * 0.04);
    outer.cubicTo(s * 0.62, s * 0.3, s * 0.9, s * 0.42, s * 0.84, s * 0.68);
    outer.cubicTo(s * 0.8, s * 0.88, s * 0.62, s * 0.96, s * 0.5, s * 0.96);
    outer.cubicTo(s * 0.3, s * 0.96, s * 0.14, s * 0.84, s * 0.16, s * 0.64);
    outer.cubicTo(s * 0.18, s * 0.46, s * 0.32, s * 0.4, s * 0.34, s * 0.24);
    outer.cubicTo(s * 0.42, s * 0.32, s * 0.44, s * 0.4, s * 0.42, s * 0.48);
    outer.cubicTo(s * 0.5, s * 0.36, s * 0.54, s * 0.2, s * 0.5, s * 0.04);
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, QColor(0xFF, 0xC1, 0x07));
    g.setColorAt(1, QColor(0xE6, 0x3C, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(outer);
    QPainterPath inner;
    inner.moveTo(s * 0.5, s * 0.5);
    inner.cubicTo(s * 0.6, s * 0.64, s * 0.68, s * 0.72, s * 0.64, s * 0.82);
    inner.cubicTo(s * 0.6, s * 0.92, s * 0.4, s * 0.92, s * 0.36, s * 0.82);
    inner.cubicTo(s * 0.34, s * 0.7, s * 0.46, s * 0.64, s * 0.5, s * 0.5);
    p.setBrush(QColor(0xFF, 0xEB, 0x80));
    p.drawPath(inner);
}

QPixmap draw(Picture picture, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    switch (picture) {
    case Picture::Period: drawCalendar(p, s); break;
    case Picture::Applications: drawHouse(p, s); break;
    case Picture::Lists: drawDocument(p, s, QColor(0x36, 0x5F, 0x9C)); break;
    case Picture::Utilities: drawGear(p, s); break;
    case Picture::AdminLocked: drawPadlock(p, s, false); break;
    case Picture::AdminUnlocked: drawPadlock(p, s, true); break;
    case Picture::Exit: drawExit(p, s); break;
    }
    return pm;
}

} // namespace

QIcon pictureIcon(Picture picture, int size)
{
    QIcon icon;
    icon.addPixmap(draw(picture, size));
    icon.addPixmap(draw(picture, size * 2));
    return icon;
}

QPixmap flamePixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawFlame(p, size);
    return pm;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(flamePixmap(size));
    return icon;
}

} // namespace focaris::gui

#include "ui/GenericTxGlyphs.h"

#include "ui/LampPicture.h"
#include "ui/ToggleButton.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int Size = 16;

QPixmap canvas()
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap lamp(const QColor &light)
{
    return lampPicture(light, Size);
}

void arrowHead(QPainter &p, QPointF tip, QPointF back1, QPointF back2)
{
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back1);
    head.lineTo(back2);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}
} // namespace

namespace GenericTxGlyphs {

QPixmap transmitOn()
{
    return lamp(QColor(220, 0, 0));
}

QPixmap scanOn()
{
    return lamp(QColor(0, 170, 0));
}

QPixmap off()
{
    return lamp(QColor(110, 110, 110));
}

QPixmap circle()
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 160), 2));
    // Three quarters of a ring, its open end carrying the arrow head.
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
    arrowHead(p, QPointF(12, 8), QPointF(9, 4), QPointF(15.5, 4));
    return pixmap;
}

QPixmap elevator()
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.drawLine(QPointF(8, 4), QPointF(8, 12));
    arrowHead(p, QPointF(8, 0.5), QPointF(3.5, 5.5), QPointF(12.5, 5.5));
    arrowHead(p, QPointF(8, 15.5), QPointF(3.5, 10.5), QPointF(12.5, 10.5));
    return pixmap;
}

void dressPanel(ToggleButton *scan, ToggleButton *transmit, QLabel *circle, QLabel *elevator)
{
    for (ToggleButton *toggle : {scan, transmit}) {
        toggle->setCheckable(true);
        toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    scan->setLook(off(), scanOn(), QColor(0, 128, 0));
    transmit->setLook(off(), transmitOn(), Qt::red);
    circle->setPixmap(GenericTxGlyphs::circle());
    elevator->setPixmap(GenericTxGlyphs::elevator());
}

void showScanMode(QLabel *circle, QLabel *elevator, bool circular)
{
    circle->setVisible(circular);
    elevator->setVisible(!circular);
}

} // namespace GenericTxGlyphs

#include "kenwood/PanelPictures.h"

#include <QPainter>
#include <QRadialGradient>

namespace PanelPictures {

namespace {

constexpr int LedSize = 16;

QPixmap dot(const QColor &colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A highlight up and to the left makes the dot read as a lamp, lit or not.
    QRadialGradient glow(size * 0.35, size * 0.35, size * 0.6);
    glow.setColorAt(0.0, colour.lighter(170));
    glow.setColorAt(1.0, colour.darker(120));
    painter.setBrush(glow);
    painter.setPen(QPen(colour.darker(200), 1));
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    return pixmap;
}

} // namespace

QPixmap led(const QColor &colour)
{
    return dot(colour, LedSize);
}

QPixmap ledGreen()
{
    return led(QColor(0, 200, 0));
}

QPixmap ledRed()
{
    return led(QColor(230, 0, 0));
}

QPixmap ledOff()
{
    return led(QColor(110, 110, 110));
}

QIcon transmitOn()
{
    return QIcon(dot(QColor(230, 0, 0), 20));
}

QIcon transmitOff()
{
    return QIcon(dot(QColor(0, 120, 0), 20));
}

} // namespace PanelPictures

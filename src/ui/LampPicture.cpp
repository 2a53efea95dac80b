#include "ui/LampPicture.h"

#include <QPainter>
#include <QRadialGradient>

QPixmap lampPicture(const QColor &colour, int size)
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

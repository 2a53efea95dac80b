#include "ui/PanelPictures.h"

#include "ui/LampPicture.h"

namespace PanelPictures {

constexpr int LedSize = 16;

QPixmap led(const QColor &colour)
{
    return lampPicture(colour, LedSize);
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

QPixmap transmitOn()
{
    return lampPicture(QColor(230, 0, 0), 20);
}

QPixmap transmitOff()
{
    return lampPicture(QColor(0, 120, 0), 20);
}

} // namespace PanelPictures

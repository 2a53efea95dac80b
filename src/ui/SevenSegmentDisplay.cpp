#include "ui/SevenSegmentDisplay.h"

SevenSegmentDisplay::SevenSegmentDisplay(QWidget *parent) : QLCDNumber(2, parent)
{
    setSegmentStyle(QLCDNumber::Flat);
    setFrameShape(QFrame::Box);
    setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225); color: rgb(0, 160, 0);"));
    setChannel(1);
}

void SevenSegmentDisplay::setChannel(int value)
{
    m_channel = value;
    if (value < 0 || value > 99)
        display(QStringLiteral("--"));
    else
        display(QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
}

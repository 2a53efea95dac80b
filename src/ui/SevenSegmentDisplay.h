#pragma once

#include <QLCDNumber>

// Two-digit seven-segment display: green segments on the window's light-yellow information colour.
class SevenSegmentDisplay : public QLCDNumber
{
    Q_OBJECT
public:
    explicit SevenSegmentDisplay(QWidget *parent = nullptr);

    // Shows the value on two digits with a leading zero (01..99); other values show "--".
    void setChannel(int value);
    int channel() const { return m_channel; }

private:
    int m_channel = 1;
};

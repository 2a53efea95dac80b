#pragma once

#include <QWidget>

class QToolButton;

// Up/down arrow pair holding a position 0..maximum. A click moves the position by one within the
// range and reports its direction, even when the position is already at an end, so the owner can
// apply its own wrap-around rules.
class UpDownArrows : public QWidget
{
    Q_OBJECT
public:
    enum class Direction { Up, Down };

    explicit UpDownArrows(QWidget *parent = nullptr);

    int position() const { return m_position; }
    void setPosition(int position);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);

    // What a user click does: move and report.
    void click(Direction direction);

signals:
    void clicked(UpDownArrows::Direction direction);

private:
    QToolButton *m_up;
    QToolButton *m_down;
    int m_position = 0;
    int m_maximum = 100;
};

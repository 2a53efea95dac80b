#include "ui/UpDownArrows.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDownArrows::UpDownArrows(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { click(Direction::Up); });
    connect(m_down, &QToolButton::clicked, this, [this] { click(Direction::Down); });
}

void UpDownArrows::setPosition(int position)
{
    m_position = qBound(0, position, m_maximum);
}

void UpDownArrows::setMaximum(int maximum)
{
    m_maximum = qMax(0, maximum);
    m_position = qMin(m_position, m_maximum);
}

void UpDownArrows::click(Direction direction)
{
    setPosition(m_position + (direction == Direction::Up ? 1 : -1));
    emit clicked(direction);
}

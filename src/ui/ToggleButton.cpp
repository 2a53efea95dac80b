#include "ui/ToggleButton.h"

#include <QIcon>
#include <QStyleOptionToolButton>
#include <QStylePainter>

ToggleButton::ToggleButton(QWidget *parent) : QToolButton(parent)
{
    setCheckable(true);
}

void ToggleButton::setLook(const QPixmap &up, const QPixmap &down, const QColor &downCaption)
{
    // The button picks the picture of its state (QIcon::Off up, QIcon::On down) at each paint.
    QIcon icon;
    icon.addPixmap(up, QIcon::Normal, QIcon::Off);
    icon.addPixmap(down, QIcon::Normal, QIcon::On);
    setIcon(icon);
    m_downCaption = downCaption;
    m_downPaletteBasis = 0;
    update();
}

QColor ToggleButton::captionColour() const
{
    if (isChecked() && m_downCaption.isValid())
        return m_downCaption;
    return palette().color(QPalette::ButtonText);
}

const QPalette &ToggleButton::downPalette()
{
    const QPalette &current = palette();
    if (m_downPaletteBasis != current.cacheKey()) {
        m_downPalette = current;
        m_downPalette.setColor(QPalette::ButtonText, m_downCaption);
        m_downPaletteBasis = current.cacheKey();
    }
    return m_downPalette;
}

// QToolButton::paintEvent, with the down state's palette in the option.
void ToggleButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    if (isChecked() && m_downCaption.isValid())
        option.palette = downPalette();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

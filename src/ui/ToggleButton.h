#pragma once

#include <QColor>
#include <QPalette>
#include <QToolButton>

// A checkable tool button that shows by itself whether it is down (TRANSMIT keyed, SCAN
// scanning): one picture and the usual caption while up, another picture and a caption in a
// colour of its own while down. Nothing is set on the button when it goes up or down.
//
// That matters to a station keyed day and night. A style keeps what it paints for a button in
// QPixmapCache under a key that holds the palette's cache key (Fusion's bevel), and Qt keeps
// every such key it is given. A style sheet or palette set at each keying hands the style a
// palette never seen before, at every paint: the process grew by about 0.55 KB per
// TRANSMIT/RECEIVE pair, without end. Here the palette of the down state is made once per
// palette of the button and reused, so a button is painted under two palettes however often it
// is pressed.
class ToggleButton : public QToolButton
{
    Q_OBJECT
public:
    explicit ToggleButton(QWidget *parent = nullptr);

    // The pictures while up and while down, and the caption's colour while down.
    void setLook(const QPixmap &up, const QPixmap &down, const QColor &downCaption);
    // The colour the caption is drawn in now.
    QColor captionColour() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QPalette &downPalette();

    QColor m_downCaption;
    QPalette m_downPalette;
    qint64 m_downPaletteBasis = 0; // the cache key of the palette m_downPalette was made from
};

#pragma once

#include <QColor>
#include <QPixmap>

// The panel's pictures, drawn at run time so the program carries no image files: the three LED
// templates and the two glyphs of the transmit toggle.
namespace PanelPictures {

QPixmap led(const QColor &colour);
QPixmap ledGreen();
QPixmap ledRed();
QPixmap ledOff();

// A red "on air" dot and a green receive dot for the TRANSMIT button.
QPixmap transmitOn();
QPixmap transmitOff();

} // namespace PanelPictures

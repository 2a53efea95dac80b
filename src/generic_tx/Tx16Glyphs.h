#pragma once

#include <QPixmap>

// The small pictures of the generic transmitter panel, drawn in code so the program needs no
// image files.
namespace Tx16Glyphs {
// TRANSMIT while keyed: a red lamp.
QPixmap transmitOn();
// SCAN while scanning: a green lamp.
QPixmap scanOn();
// Either toggle when off: an unlit lamp.
QPixmap off();
// Scanning mode icons: a circular arrow (rolling scan) and an up/down arrow pair (elevator).
QPixmap circle();
QPixmap elevator();
} // namespace Tx16Glyphs

#pragma once

#include <QPixmap>

class QLabel;
class ToggleButton;

// The small pictures of the generic transmitter panel, drawn in code so the program needs no
// image files.
namespace GenericTxGlyphs {
// TRANSMIT while keyed: a red lamp.
QPixmap transmitOn();
// SCAN while scanning: a green lamp.
QPixmap scanOn();
// Either toggle when off: an unlit lamp.
QPixmap off();
// Scanning mode icons: a circular arrow (rolling scan) and an up/down arrow pair (elevator).
QPixmap circle();
QPixmap elevator();

// Dresses the generic panel: the SCAN and TRANSMIT toggles draw their look from their checked
// state, the labels get the scan mode's pictures.
void dressPanel(ToggleButton *scan, ToggleButton *transmit, QLabel *circle, QLabel *elevator);
// Shows the picture of the scan mode in use: rolling (circular) or elevator.
void showScanMode(QLabel *circle, QLabel *elevator, bool circular);
} // namespace GenericTxGlyphs

#pragma once

#include <QColor>
#include <QPixmap>

// A round lamp of the given colour, lit or not, drawn rather than loaded so that the panels need
// no picture files.
QPixmap lampPicture(const QColor &colour, int size);

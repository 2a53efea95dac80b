#pragma once

#include <QString>

class QLineEdit;

// The serial traffic line: replies (and server messages) appended as they come. It keeps the
// newest text only, so a station left running for weeks does not grow without bound; the memory
// list is parsed from the replies themselves, never from this display.
namespace TrafficDisplay {

inline constexpr int Capacity = 64 * 1024;

void append(QLineEdit *display, const QString &text);
void clear(QLineEdit *display);

} // namespace TrafficDisplay

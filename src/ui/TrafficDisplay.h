#pragma once

#include <QString>

class QLineEdit;

// The serial traffic line: replies (and server messages) appended as they come, the newest at
// its end. A line edit lays out its whole text again on every change, so the line holds only
// the newest text, as much as its width can show and never more than Capacity characters: an
// append costs the same after weeks of traffic as on an empty line, and nothing grows. The
// memory list is parsed from the replies themselves, never from this display.
namespace TrafficDisplay {

inline constexpr int Capacity = 1024;

void append(QLineEdit *display, const QString &text);
void clear(QLineEdit *display);

} // namespace TrafficDisplay

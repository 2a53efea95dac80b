#pragma once

#include <QString>

class QLineEdit;
struct StationState;

// The three status lines of the main window, drawn from the status codes. The texts come from
// StatusMessages, so a language switch redraws them with the same call.
namespace StatusLines {

enum class Colour { Unchanged, Green, Red };

void setColouredText(QLineEdit *line, const QString &text, Colour colour);

// Puts `before` + the port name + `after` on the line. A name too long for it (a by-id name)
// keeps its end, the part that tells adapters apart, behind "...", and the whole text is in the
// line's tool tip.
void setPortText(QLineEdit *line, const QString &before, const QString &portName,
                 const QString &after, Colour colour);

// Port name followed by " connecté à 9600 bds" (green) or " erreur connexion" (red).
void showPort(QLineEdit *line, const StationState &state, const QString &portName);
void showRig(QLineEdit *line, const StationState &state);
void showServer(QLineEdit *line, const StationState &state);

} // namespace StatusLines

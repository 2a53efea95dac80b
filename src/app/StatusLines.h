#pragma once

#include <QString>

class QLineEdit;
struct StationState;

// The three status lines of the main window, drawn from the status codes. The texts come from
// StatusMessages, so a language switch redraws them with the same call.
namespace StatusLines {

enum class Colour { Unchanged, Green, Red };

void setColouredText(QLineEdit *line, const QString &text, Colour colour);

// Port name followed by " connecté à 9600 bds" (green) or " erreur connexion" (red).
void showPort(QLineEdit *line, const StationState &state, const QString &portName);
void showRig(QLineEdit *line, const StationState &state);
void showServer(QLineEdit *line, const StationState &state);

} // namespace StatusLines

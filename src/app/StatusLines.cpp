#include "app/StatusLines.h"

#include "app/StationState.h"

#include <QLineEdit>

namespace StatusLines {

void setColouredText(QLineEdit *line, const QString &text, Colour colour)
{
    line->setText(text);
    if (colour == Colour::Unchanged)
        return;
    const char *rgb = colour == Colour::Green ? "rgb(0, 128, 0)" : "rgb(255, 0, 0)";
    line->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225); color: %1;")
                            .arg(QLatin1String(rgb)));
}

void showPort(QLineEdit *line, const StationState &state, const QString &portName)
{
    if (state.PortStatus == 1)
        setColouredText(line, portName + state.StatusMessages[2], Colour::Green);
    else if (state.PortStatus == 0)
        setColouredText(line, portName + state.StatusMessages[4], Colour::Red);
}

void showRig(QLineEdit *line, const StationState &state)
{
    switch (state.RigStatus) {
    case 0:
        setColouredText(line, state.ModelLabel + state.StatusMessages[5], Colour::Red);
        break;
    case 1:
        setColouredText(line, state.ModelLabel + state.StatusMessages[6], Colour::Green);
        break;
    case 2:
        setColouredText(line, state.StatusMessages[3], Colour::Red);
        break;
    case 3:
        setColouredText(line, state.StatusMessages[7], Colour::Green);
        break;
    default:
        break;
    }
}

void showServer(QLineEdit *line, const StationState &state)
{
    if (state.ServerStatus == 1)
        setColouredText(line, state.StatusMessages[9], Colour::Green);
    else
        setColouredText(line, state.StatusMessages[10], Colour::Red);
}

} // namespace StatusLines

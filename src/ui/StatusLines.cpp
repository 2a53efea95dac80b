#include "ui/StatusLines.h"

#include "core/StationState.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace StatusLines {

void setColouredText(QLineEdit *line, const QString &text, Colour colour)
{
    line->setText(text);
    if (colour == Colour::Unchanged)
        return;
    const char *rgb = colour == Colour::Green ? "rgb(0, 128, 0)" : "rgb(255, 0, 0)";
    line->setStyleSheet(
        QStringLiteral("background-color: rgb(255, 255, 225); color: %1;").arg(QLatin1String(rgb)));
}

void setPortText(QLineEdit *line, const QString &before, const QString &portName,
                 const QString &after, Colour colour)
{
    const QFontMetrics metrics = line->fontMetrics();
    // The frame and the line's own margins around the text.
    constexpr int Margins = 10;
    const int room = line->width() - Margins;
    const auto fits = [&](const QString &text) { return metrics.horizontalAdvance(text) <= room; };
    const QString whole = before + portName + after;
    QString shown = whole;
    if (!fits(whole)) {
        const QString ellipsis = QStringLiteral("...");
        qsizetype kept = portName.size();
        while (kept > 1 && !fits(before + ellipsis + portName.right(kept) + after))
            --kept;
        shown = before + ellipsis + portName.right(kept) + after;
    }
    setColouredText(line, shown, colour);
    if (shown == whole)
        return;
    // The window puts the shown text under the line's hint; the whole name goes there instead.
    // The same text shown again changes nothing, so the tip may still end with the whole name.
    QString tip = line->toolTip();
    if (tip.endsWith(shown))
        tip.chop(shown.size());
    else if (tip.endsWith(whole))
        tip.chop(whole.size());
    else
        tip.clear();
    line->setToolTip(tip + whole);
}

void showPort(QLineEdit *line, const StationState &state, const QString &portName)
{
    if (state.PortStatus == 1)
        setPortText(line, QString(), portName, state.statusMessage(StatusMessage::PortOpened),
                    Colour::Green);
    else if (state.PortStatus == 0)
        setPortText(line, QString(), portName, state.statusMessage(StatusMessage::PortOpenError),
                    Colour::Red);
}

void showRig(QLineEdit *line, const StationState &state)
{
    switch (state.RigStatus) {
    case 0:
        setColouredText(line,
                        state.ModelLabel + state.statusMessage(StatusMessage::RigNotAnswering),
                        Colour::Red);
        break;
    case 1:
        setColouredText(line, state.ModelLabel + state.statusMessage(StatusMessage::RigAnswersOk),
                        Colour::Green);
        break;
    case 2:
        setColouredText(line, state.statusMessage(StatusMessage::Initialising), Colour::Red);
        break;
    case 3:
        setColouredText(line, state.statusMessage(StatusMessage::InitialisationDone),
                        Colour::Green);
        break;
    default:
        break;
    }
}

void showServer(QLineEdit *line, const StationState &state)
{
    if (state.ServerStatus == 1)
        setColouredText(line, state.statusMessage(StatusMessage::ServerConnected), Colour::Green);
    else
        setColouredText(line, state.statusMessage(StatusMessage::ServerNotConnected), Colour::Red);
}

} // namespace StatusLines

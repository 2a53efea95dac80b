#include "app/StatusLines.h"

#include "app/StationState.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QVariant>

namespace StatusLines {

namespace {
// The line's tool tip of its own, kept while a long port name stands in for it.
const char *const OwnToolTip = "ivrelaneOwnToolTip";
} // namespace

void setColouredText(QLineEdit *line, const QString &text, Colour colour)
{
    line->setText(text);
    if (line->property(OwnToolTip).isValid())
        line->setToolTip(line->property(OwnToolTip).toString());
    if (colour == Colour::Unchanged)
        return;
    const char *rgb = colour == Colour::Green ? "rgb(0, 128, 0)" : "rgb(255, 0, 0)";
    line->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225); color: %1;")
                            .arg(QLatin1String(rgb)));
}

void setPortText(QLineEdit *line, const QString &before, const QString &portName,
                 const QString &after, Colour colour)
{
    if (!line->property(OwnToolTip).isValid())
        line->setProperty(OwnToolTip, line->toolTip());
    const QFontMetrics metrics = line->fontMetrics();
    // The frame and the line's own margins around the text.
    const int room = line->contentsRect().width() - 2 * metrics.averageCharWidth();
    const auto fits = [&](const QString &text) { return metrics.horizontalAdvance(text) <= room; };
    QString name = portName;
    if (!fits(before + name + after)) {
        const QString ellipsis = QStringLiteral("...");
        qsizetype kept = portName.size();
        while (kept > 1 && !fits(before + ellipsis + portName.right(kept) + after))
            --kept;
        name = ellipsis + portName.right(kept);
    }
    setColouredText(line, before + name + after, colour);
    if (name != portName)
        line->setToolTip(portName);
    // A read-only line scrolled by an earlier, longer text would hide the start of this one.
    line->setCursorPosition(0);
}

void showPort(QLineEdit *line, const StationState &state, const QString &portName)
{
    if (state.PortStatus == 1)
        setPortText(line, QString(), portName, state.StatusMessages[2], Colour::Green);
    else if (state.PortStatus == 0)
        setPortText(line, QString(), portName, state.StatusMessages[4], Colour::Red);
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

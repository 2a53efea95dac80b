#include "generic_tx/GenericReset.h"

#include "core/ConfigValues.h"
#include "generic_tx/ControlLines.h"
#include "generic_tx/LinesFactory.h"
#include "platform/ParallelPort.h"

namespace GenericReset {

QString toIdle(ParallelPort &port, const Lines &lines)
{
    if (lines.base == 0)
        return QStringLiteral("no parallel port in the configuration (LPT=)");
    port.EnablePorts(lines.base, lines.base);
    QString failure;
    for (TxLine line : PinLogic::IdleOrder) {
        PinLogic::writeLevel(port, lines.base, line, lines.polarities[int(line)], false);
        if (failure.isEmpty() && !PinLogic::succeeded(port.GetLastState()))
            failure = port.GetLastState();
    }
    port.DisablePorts(lines.base, lines.base);
    if (!failure.isEmpty())
        return QStringLiteral("parallel port at %1h: %2")
            .arg(ConfigValues::hexAddress(lines.base), failure);
    return {};
}

QString toIdle(const LineSettings &settings, const std::array<LinePolarity, 4> &polarities)
{
    const std::unique_ptr<ControlLines> lines =
        LinesFactory::create(settings, LinePolarity::Positive);
    if (!lines || !lines->present())
        return QStringLiteral(
            "no device or pin map in the configuration (LINESDEVICE=, LINESMAP=)");
    ControlLines::Levels rest{};
    for (TxLine line : PinLogic::IdleOrder)
        rest[std::size_t(line)] = PinLogic::levelHigh(polarities[std::size_t(line)], false);
    if (!lines->open(rest))
        return lines->failure();
    lines->close();
    return {};
}

} // namespace GenericReset

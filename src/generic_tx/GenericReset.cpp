#include "generic_tx/GenericReset.h"

#include "core/ConfigValues.h"
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

} // namespace GenericReset

#include "kenwood/KenwoodReset.h"

#include "core/StationState.h"
#include "kenwood/PortOpenReport.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"

#include <QFileInfo>

namespace KenwoodReset {

QString toReceive(const SerialPortSettings &settings)
{
    const QString &port = settings.portName;
    if (port.isEmpty())
        return QStringLiteral("no serial port in the configuration (COM=)");
    if (!QFileInfo::exists(PortOpenReport::devicePath(port)))
        return QStringLiteral("port %1 is missing").arg(port);
    StationState state;
    RigLink link(state, settings, {});
    if (!link.open(port))
        return QStringLiteral("port %1 cannot be opened: %2").arg(port, link.openError());
    if (link.SendRigCommand(QStringLiteral("RX")) == QLatin1String("timerout")) {
        return QStringLiteral("the radio on %1 does not answer (%2 s)")
            .arg(port)
            .arg(RigLink::ReplyDeadlineMs / 1000.0, 0, 'f', 1);
    }
    link.SendRigCommand(QStringLiteral("SC 0"));
    link.close();
    return {};
}

} // namespace KenwoodReset

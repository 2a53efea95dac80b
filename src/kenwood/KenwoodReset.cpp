#include "kenwood/KenwoodReset.h"

#include "core/StationState.h"
#include "kenwood/PortOpenReport.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"

#include <QFileInfo>

namespace KenwoodReset {

QCoro::Task<QString> toReceive(SerialPortSettings settings)
{
    const QString &port = settings.portName;
    if (port.isEmpty())
        co_return QStringLiteral("no serial port in the configuration (COM=)");
    if (!QFileInfo::exists(PortOpenReport::devicePath(port)))
        co_return QStringLiteral("port %1 is missing").arg(port);
    StationState state;
    RigLink link(state, settings, nullptr);
    if (!link.open(port))
        co_return QStringLiteral("port %1 cannot be opened: %2").arg(port, link.openError());
    if (co_await link.exchange(QStringLiteral("RX")) == QLatin1String("timerout")) {
        co_return QStringLiteral("the radio on %1 does not answer (%2 s)")
            .arg(port)
            .arg(RigLink::ReplyDeadlineMs / 1000.0, 0, 'f', 1);
    }
    co_await link.exchange(QStringLiteral("SC 0"));
    link.close();
    co_return QString();
}

} // namespace KenwoodReset

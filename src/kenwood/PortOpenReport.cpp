#include "kenwood/PortOpenReport.h"

#include "core/EventLog.h"
#include "kenwood/RigLink.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

QString PortOpenReport::devicePath(const QString &portName)
{
    return QDir::isAbsolutePath(portName) ? portName : QStringLiteral("/dev/") + portName;
}

void PortOpenReport::failed(const QString &portName, const RigLink &link)
{
    // Start-up opens the port twice; the same failure again says nothing new.
    const QString reason = QStringLiteral("Port %1: %2").arg(portName, link.openError());
    if (reason == std::exchange(m_logged, reason))
        return;
    m_log.append(reason);
    if (!link.openDenied())
        return;
    QString group = QFileInfo(devicePath(portName)).group();
    if (group.isEmpty() || group == QLatin1String("root"))
        group = QStringLiteral("dialout");
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("$USER");
    m_log.append(
        QStringLiteral("Port %1: join the %2 group (sudo adduser %3 %2), then log in again")
            .arg(portName, group, user));
}

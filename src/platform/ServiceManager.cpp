#include "platform/ServiceManager.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

// WATCHDOG_USEC, when the watchdog is meant for this process (WATCHDOG_PID, when set, names it).
qint64 watchdogMicroseconds()
{
    const QByteArray pid = qgetenv("WATCHDOG_PID");
    if (!pid.isEmpty() && pid.toLongLong() != qint64(::getpid()))
        return 0;
    bool ok = false;
    const qint64 usec = qgetenv("WATCHDOG_USEC").toLongLong(&ok);
    return ok && usec > 0 ? usec : 0;
}

} // namespace

ServiceManager::ServiceManager(QObject *parent)
    : QObject(parent), m_socketPath(qgetenv("NOTIFY_SOCKET"))
{
    connect(&m_heartbeat, &QTimer::timeout, this, [this] { send("WATCHDOG=1"); });
}

bool ServiceManager::runsAsService()
{
    // systemd sets INVOCATION_ID for every unit it runs, JOURNAL_STREAM when standard error
    // goes to the journal, NOTIFY_SOCKET for a unit of Type=notify.
    for (const char *name : {"NOTIFY_SOCKET", "INVOCATION_ID", "JOURNAL_STREAM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return false;
}

void ServiceManager::ready()
{
    if (!notifies())
        return;
    send("READY=1");
    if (const qint64 usec = watchdogMicroseconds(); usec > 0) {
        m_heartbeat.start(int(std::clamp<qint64>(usec / 2000, 1, 24 * 3600 * 1000)));
        send("WATCHDOG=1");
    }
}

void ServiceManager::stopping()
{
    m_heartbeat.stop();
    if (notifies())
        send("STOPPING=1");
}

void ServiceManager::status(const QString &text)
{
    if (!notifies())
        return;
    // One assignment per line in the protocol: a line break would end the text early.
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    send("STATUS=" + line.toUtf8());
}

bool ServiceManager::send(const QByteArray &message)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // "@name" is a name in the abstract namespace, a leading NUL byte on the wire.
    const bool abstract = m_socketPath.startsWith('@');
    if (m_socketPath.isEmpty() || (m_socketPath.at(0) != '/' && !abstract) ||
        size_t(m_socketPath.size()) > sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, m_socketPath.constData(), size_t(m_socketPath.size()));
    if (abstract)
        address.sun_path[0] = '\0';
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + m_socketPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const ssize_t sent = ::sendto(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr *>(&address), length);
    ::close(fd);
    return sent == message.size();
}

#include "support/HidrawPeer.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

int HidrawPeer::open()
{
    if (refuse) {
        errno = ENOENT;
        return -1;
    }
    unplug();
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return -1;
    m_peer = ends[1];
    return ends[0];
}

void HidrawPeer::unplug()
{
    if (m_peer >= 0)
        ::close(m_peer);
    m_peer = -1;
}

QList<QByteArray> HidrawPeer::reports()
{
    QList<QByteArray> out;
    char buffer[64];
    ssize_t n;
    while (m_peer >= 0 && (n = recv(m_peer, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
        out << QByteArray(buffer, int(n));
    return out;
}

bool HidrawPeer::press(quint8 buttons)
{
    const char report[4] = {char(buttons), 0, 0, 0};
    return send(m_peer, report, sizeof report, MSG_NOSIGNAL) == ssize_t(sizeof report);
}

bool HidrawPeer::closed() const
{
    char byte;
    return m_peer >= 0 && recv(m_peer, &byte, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
}

#include "support/PtyPeer.h"
#include "support/RawPty.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

PtyPeer::PtyPeer()
{
    m_path = openRawPty(&m_master, &m_slave);
    if (m_path.isEmpty())
        return;
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPeer::readMaster);
}

PtyPeer::~PtyPeer()
{
    delete m_notifier;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyPeer::script(const QByteArray &command, const QByteArray &reply)
{
    m_replies.insert(command, reply);
}

void PtyPeer::sendRaw(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        done += n > 0 ? n : 0;
    }
}

void PtyPeer::readMaster()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_input.append(buffer, n);
    }
    for (qsizetype cr = m_input.indexOf('\r'); cr >= 0; cr = m_input.indexOf('\r')) {
        const QByteArray command = m_input.left(cr);
        m_input.remove(0, cr + 1);
        commands << QString::fromLatin1(command);
        sendRaw(m_replies.value(command, QByteArrayLiteral("?\r")));
    }
}

#include "PtyPort.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A command longer than any the sets know is cut here, so garbage without a carriage return
// cannot grow the buffer without bound.
constexpr qsizetype MaxCommandLength = 256;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

PtyPort::PtyPort(bool paced, QObject *parent) : QObject(parent), m_paced(paced)
{
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    m_paceTimer.setInterval(1);
    connect(&m_paceTimer, &QTimer::timeout, this, &PtyPort::writePacedBytes);
}

PtyPort::~PtyPort()
{
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_slavePath)
        ::unlink(QFile::encodeName(m_linkPath).constData());
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyPort::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (!name) {
        *error = systemError("cannot name the pseudo-terminal");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Holding the slave open keeps the master readable while no client has the port open, and
    // sets the raw 9600 8N1 line a client expects before it applies its own settings.
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = systemError("cannot open the pseudo-terminal's slave");
        return false;
    }
    termios tio{};
    ::tcgetattr(m_slave, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(m_slave, TCSANOW, &tio);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyPort::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyPort::writePending);
    return true;
}

bool PtyPort::makeLink(const QString &linkPath, QString *error)
{
    const QByteArray path = QFile::encodeName(linkPath);
    const QFileInfo existing(linkPath);
    // A link left by a simulator that was killed is replaced; anything else is not ours to touch.
    if (existing.isSymLink()) {
        ::unlink(path.constData());
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    if (::symlink(QFile::encodeName(m_slavePath).constData(), path.constData()) != 0) {
        *error = systemError("cannot make the link");
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void PtyPort::send(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    const bool idle = m_output.isEmpty();
    m_output += bytes;
    if (!m_paced) {
        writePending();
    } else if (idle) {
        m_burstClock.start();
        m_burstBytes = 0;
        m_paceTimer.start();
    }
}

void PtyPort::readMaster()
{
    char chunk[512];
    const ssize_t count = ::read(m_master, chunk, sizeof chunk);
    if (count <= 0)
        return; // EAGAIN or EINTR; the slave we hold keeps EIO away
    for (ssize_t i = 0; i < count; ++i) {
        const char c = chunk[i];
        if (c == '\r') {
            emit commandReceived(m_input);
            m_input.clear();
        } else if (c != '\n') {
            m_input += c;
            if (m_input.size() >= MaxCommandLength) {
                emit commandReceived(m_input);
                m_input.clear();
            }
        }
    }
}

void PtyPort::writePending()
{
    while (!m_output.isEmpty()) {
        const ssize_t written = ::write(m_master, m_output.constData(), m_output.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            // Full: the client is not reading. Go on when the pty takes bytes again.
            m_writeNotifier->setEnabled(errno == EAGAIN);
            if (errno != EAGAIN)
                m_output.clear();
            return;
        }
        m_output.remove(0, written);
    }
    m_writeNotifier->setEnabled(false);
}

void PtyPort::writePacedBytes()
{
    const qint64 due = m_burstClock.nsecsElapsed() / ByteTimeNs + 1 - m_burstBytes;
    for (qint64 i = 0; i < due && !m_output.isEmpty(); ++i) {
        const ssize_t written = ::write(m_master, m_output.constData(), 1);
        if (written != 1)
            return; // try the same byte at the next tick
        m_output.remove(0, 1);
        ++m_burstBytes;
    }
    if (m_output.isEmpty())
        m_paceTimer.stop();
}

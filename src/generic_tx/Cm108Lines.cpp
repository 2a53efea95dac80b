#include "generic_tx/Cm108Lines.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int ReportSize = 5;

quint8 pinBit(int gpio)
{
    return quint8(1u << (gpio - 1));
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

Cm108Lines::Cm108Lines(const QString &device, const LineMap &map, Opener opener, QObject *parent)
    : ControlLines(parent), m_device(device), m_map(map),
      m_opener(opener ? std::move(opener) : Opener(&Cm108Lines::openDevice))
{
}

Cm108Lines::~Cm108Lines()
{
    close();
}

int Cm108Lines::openDevice(const QString &device)
{
    return ::open(device.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
}

bool Cm108Lines::open(const Levels &rest)
{
    close();
    const int fd = m_opener(m_device);
    if (fd < 0) {
        m_failure = QStringLiteral("Cannot open %1: %2").arg(m_device, systemError(errno));
        return false;
    }
    m_fd = fd;
    struct stat info
    {
    };
    m_socket = fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    // A terminal standing in for the device (a pseudo-terminal of a test rig) passes the
    // reports' bytes as they are only in raw mode: no newline translation, no echo, no lines.
    if (termios tty{}; ::isatty(fd) && tcgetattr(fd, &tty) == 0) {
        cfmakeraw(&tty);
        tcsetattr(fd, TCSANOW, &tty);
    }
    // Every button pin at its idle level, pulled up, until the interface says otherwise: it
    // reports changes only.
    m_buttons = 0;
    m_data = 0;
    m_direction = 0;
    for (TxLine line : PinLogic::IdleOrder) {
        const int gpio = m_map.outputs[std::size_t(line)];
        if (gpio < 1)
            continue;
        m_direction |= pinBit(gpio);
        if (rest[std::size_t(line)])
            m_data |= pinBit(gpio);
    }
    if (m_direction != 0 && !writeReport()) {
        close();
        return false;
    }
    m_input = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_input, &QSocketNotifier::activated, this, &Cm108Lines::readInputReports);
    m_failure.clear();
    return true;
}

void Cm108Lines::close()
{
    // Closing may come from the notifier's own signal (the device read as gone).
    if (m_input) {
        m_input->setEnabled(false);
        m_input->deleteLater();
    }
    m_input = nullptr;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool Cm108Lines::setLevel(TxLine line, bool high)
{
    const int gpio = m_map.outputs[std::size_t(line)];
    if (gpio < 1)
        return true;
    if (m_fd < 0) {
        m_failure = QStringLiteral("%1 not open").arg(m_device);
        return false;
    }
    const quint8 bit = pinBit(gpio);
    m_direction |= bit;
    m_data = high ? quint8(m_data | bit) : quint8(m_data & ~bit);
    if (writeReport())
        return true;
    fail(m_failure);
    return false;
}

std::optional<bool> Cm108Lines::squelchHigh()
{
    if (m_fd < 0 || m_map.squelch < 0)
        return std::nullopt;
    // A set bit: the pin is pulled to 0 V.
    return (m_buttons & m_map.squelch) == 0;
}

bool Cm108Lines::writeReport()
{
    const char report[ReportSize] = {0, 0, char(m_data), char(m_direction), 0};
    // A socket standing in for the device would raise SIGPIPE once its peer is gone.
    const ssize_t written = m_socket ? ::send(m_fd, report, ReportSize, MSG_NOSIGNAL)
                                     : ::write(m_fd, report, ReportSize);
    if (written == ReportSize)
        return true;
    m_failure = QStringLiteral("%1: %2").arg(m_device, written < 0 ? systemError(errno)
                                                                   : QStringLiteral("short write"));
    return false;
}

void Cm108Lines::readInputReports()
{
    for (;;) {
        char report[64];
        const ssize_t n = ::read(m_fd, report, sizeof report);
        if (n > 0) {
            m_buttons = quint8(report[0]);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        fail(QStringLiteral("%1: %2").arg(m_device, n == 0 ? QStringLiteral("end of file")
                                                           : systemError(errno)));
        return;
    }
}

void Cm108Lines::fail(const QString &reason)
{
    m_failure = reason;
    close();
    emit lost(m_failure);
}

#include "platform/PpdevParallelPort.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int RegisterCount = 3; // data, status, control
constexpr quint8 FloatingBus = 0xFF;

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h');
}

QString hex2(quint8 value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h');
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool rangesMeet(quint16 base, quint16 first, quint16 last)
{
    return int(base) <= int(last) && int(base) + RegisterCount - 1 >= int(first);
}
} // namespace

PpdevParallelPort::PpdevParallelPort(const QString &procRoot, const QString &devRoot)
    : m_proc(procRoot), m_devRoot(devRoot), m_lastState(QStringLiteral("No operation yet"))
{
}

PpdevParallelPort::~PpdevParallelPort()
{
    const QList<quint16> bases = m_devices.keys();
    for (quint16 base : bases)
        closeDevice(base);
}

quint8 PpdevParallelPort::Inport(quint16 port)
{
    int offset = 0;
    const int fd = deviceFor(port, offset);
    if (fd < 0)
        return FloatingBus;

    unsigned char value = FloatingBus;
    const unsigned long request = offset == 0 ? PPRDATA : (offset == 1 ? PPRSTATUS : PPRCONTROL);
    if (::ioctl(fd, request, &value) != 0) {
        m_lastState = QStringLiteral("Read of %1 failed: %2").arg(hex4(port), systemError(errno));
        return FloatingBus;
    }
    m_lastState = QStringLiteral("Read of %1 successful").arg(hex4(port));
    return value;
}

void PpdevParallelPort::Outport(quint16 port, quint8 value)
{
    int offset = 0;
    const int fd = deviceFor(port, offset);
    if (fd < 0)
        return;
    if (offset == 1) {
        m_lastState = QStringLiteral("%1 is the read-only status register").arg(hex4(port));
        return;
    }

    unsigned char byte = value;
    const unsigned long request = offset == 0 ? PPWDATA : PPWCONTROL;
    if (::ioctl(fd, request, &byte) != 0) {
        m_lastState = QStringLiteral("Write of %1 to %2 failed: %3")
                          .arg(hex2(value), hex4(port), systemError(errno));
        return;
    }
    m_lastState = QStringLiteral("Write of %1 to %2 successful").arg(hex2(value), hex4(port));
}

QString PpdevParallelPort::GetLastState() const
{
    return m_lastState;
}

void PpdevParallelPort::EnablePorts(quint16 first, quint16 last)
{
    if (first > last)
        std::swap(first, last);
    if (first == last)
        m_wantedBase = first;
    bool found = false;
    QString failure;
    const QList<int> numbers = m_proc.portNumbers();
    for (int number : numbers) {
        const std::optional<quint16> base = m_proc.baseAddress(number);
        if (!base || *base == 0 || !rangesMeet(*base, first, last))
            continue;
        found = true;
        if (openDevice(*base) < 0 && failure.isEmpty())
            failure = m_lastState;
    }
    if (!found && first == last)
        m_lastState = QStringLiteral("No parallel port at %1").arg(hex4(first));
    else if (!found)
        m_lastState =
            QStringLiteral("No parallel port between %1 and %2").arg(hex4(first), hex4(last));
    else if (!failure.isEmpty())
        m_lastState = failure;
    else
        m_lastState =
            QStringLiteral("Ports %1 to %2 enabled successfully").arg(hex4(first), hex4(last));
}

void PpdevParallelPort::DisablePorts(quint16 first, quint16 last)
{
    if (first > last)
        std::swap(first, last);
    const QList<quint16> bases = m_devices.keys();
    for (quint16 base : bases) {
        if (rangesMeet(base, first, last))
            closeDevice(base);
    }
    m_lastState =
        QStringLiteral("Ports %1 to %2 released successfully").arg(hex4(first), hex4(last));
}

quint16 PpdevParallelPort::GetLPTPortAddress(int n)
{
    if (n < 1)
        return 0;
    // LPT1 is the kernel's parport0.
    return m_proc.baseAddress(n - 1).value_or(0);
}

int PpdevParallelPort::deviceFor(quint16 address, int &offset)
{
    for (auto it = m_devices.cbegin(); it != m_devices.cend(); ++it) {
        const int delta = int(address) - int(it.key());
        if (delta >= 0 && delta < RegisterCount) {
            offset = delta;
            return it.value();
        }
    }
    const QList<int> numbers = m_proc.portNumbers();
    for (int number : numbers) {
        const std::optional<quint16> base = m_proc.baseAddress(number);
        if (!base || *base == 0)
            continue;
        const int delta = int(address) - int(*base);
        if (delta >= 0 && delta < RegisterCount) {
            offset = delta;
            return openDevice(*base);
        }
    }
    const bool wantedRegister = m_wantedBase != 0 && address >= m_wantedBase &&
                                int(address) < int(m_wantedBase) + RegisterCount;
    m_lastState =
        QStringLiteral("No parallel port at %1").arg(hex4(wantedRegister ? m_wantedBase : address));
    return -1;
}

int PpdevParallelPort::openDevice(quint16 base)
{
    if (const auto it = m_devices.constFind(base); it != m_devices.cend())
        return it.value();

    const std::optional<int> number = m_proc.portNumberForBase(base);
    if (!number) {
        m_lastState = QStringLiteral("No parallel port at %1").arg(hex4(base));
        return -1;
    }
    const QString path = m_devRoot + QStringLiteral("/parport%1").arg(*number);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        m_lastState = QStringLiteral("Cannot open %1 for the port at %2: %3")
                          .arg(path, hex4(base), systemError(errno));
        return -1;
    }
    // PPCLAIM waits while another driver (a print job through lp) holds the port.
    if (::ioctl(fd, PPCLAIM) != 0) {
        m_lastState = QStringLiteral("Cannot claim %1 for the port at %2: %3")
                          .arg(path, hex4(base), systemError(errno));
        ::close(fd);
        return -1;
    }
    m_devices.insert(base, fd);
    m_lastState = QStringLiteral("%1 claimed successfully").arg(path);
    return fd;
}

void PpdevParallelPort::closeDevice(quint16 base)
{
    const int fd = m_devices.take(base);
    ::ioctl(fd, PPRELEASE);
    ::close(fd);
}

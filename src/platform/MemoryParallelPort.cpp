#include "platform/MemoryParallelPort.h"

namespace {
constexpr quint8 FloatingBus = 0xFF;

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h');
}
} // namespace

MemoryParallelPort::MemoryParallelPort(quint16 base)
    : m_base(base), m_lptAddresses{base, 0, 0}, m_lastState(QStringLiteral("No operation yet"))
{
    m_clock.start();
}

quint8 MemoryParallelPort::Inport(quint16 port)
{
    if (!holds(port)) {
        m_lastState = QStringLiteral("No parallel port at %1").arg(hex4(port));
        return FloatingBus;
    }
    m_lastState = QStringLiteral("Read of %1 successful").arg(hex4(port));
    switch (port - m_base) {
    case 0:
        return m_data;
    case 1:
        return m_status;
    default:
        return m_control;
    }
}

void MemoryParallelPort::Outport(quint16 port, quint8 value)
{
    Write write{port, value, m_clock.nsecsElapsed(), false};
    if (!holds(port)) {
        m_lastState = QStringLiteral("No parallel port at %1").arg(hex4(port));
    } else if (m_writesFail) {
        m_lastState = QStringLiteral("Write to %1 refused").arg(hex4(port));
    } else if (port - m_base == 1) {
        m_lastState = QStringLiteral("%1 is the read-only status register").arg(hex4(port));
    } else {
        (port == m_base ? m_data : m_control) = value;
        write.reachedRegister = true;
        m_lastState = QStringLiteral("Write to %1 successful").arg(hex4(port));
    }
    m_writes.append(write);
}

QString MemoryParallelPort::GetLastState() const
{
    return m_lastState;
}

void MemoryParallelPort::EnablePorts(quint16 first, quint16 last)
{
    ++m_enableCount;
    if (m_base != 0 && int(m_base) <= int(last) && int(m_base) + 2 >= int(first)) {
        m_enabled = true;
        m_lastState = QStringLiteral("Ports enabled successfully");
    } else {
        m_lastState =
            QStringLiteral("No parallel port between %1 and %2").arg(hex4(first), hex4(last));
    }
}

void MemoryParallelPort::DisablePorts(quint16, quint16)
{
    ++m_disableCount;
    m_enabled = false;
    m_lastState = QStringLiteral("Ports released successfully");
}

quint16 MemoryParallelPort::GetLPTPortAddress(int n)
{
    return n >= 1 && n <= 3 ? m_lptAddresses[n - 1] : 0;
}

void MemoryParallelPort::setSquelchBit(bool set)
{
    m_status = set ? (m_status | SquelchBit) : (m_status & ~SquelchBit);
}

bool MemoryParallelPort::holds(quint16 port) const
{
    return m_base != 0 && port >= m_base && port - m_base < 3;
}

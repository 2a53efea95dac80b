#include "generic_tx/MemoryLines.h"

MemoryLines::MemoryLines(const QString &device, QObject *parent)
    : ControlLines(parent), m_device(device)
{
}

bool MemoryLines::open(const Levels &rest)
{
    if (refuseOpen) {
        m_failure = QStringLiteral("Cannot open %1: No such device").arg(m_device);
        return false;
    }
    ++opens;
    m_open = true;
    for (TxLine line : PinLogic::IdleOrder)
        writes << Write{line, rest[std::size_t(line)]};
    return true;
}

void MemoryLines::close()
{
    if (m_open)
        writesBeforeClose = int(writes.size());
    m_open = false;
}

bool MemoryLines::setLevel(TxLine line, bool high)
{
    if (!m_open) {
        m_failure = QStringLiteral("%1 not open").arg(m_device);
        return false;
    }
    writes << Write{line, high};
    return true;
}

std::optional<bool> MemoryLines::squelchHigh()
{
    return m_open ? squelchInput : std::nullopt;
}

void MemoryLines::unplug()
{
    m_open = false;
    m_failure = QStringLiteral("%1: No such device").arg(m_device);
    emit lost(m_failure);
}

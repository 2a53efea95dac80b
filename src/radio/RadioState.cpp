#include "radio/RadioState.h"

#include "radio/MemoryEntry.h"

template <typename T> void RadioState::update(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void RadioState::setKeyed(bool keyed)
{
    if (m_keyed == keyed)
        return;
    m_keyed = keyed;
    emit changed();
    emit keyedChanged(keyed);
}

void RadioState::setPanelEnabled(bool enabled)
{
    update(m_panelEnabled, enabled);
}

void RadioState::setTransmitAvailable(bool available)
{
    update(m_transmitAvailable, available);
}

void RadioState::setTitle(const QString &title)
{
    update(m_title, title);
}

void RadioState::setModelLabel(const QString &label)
{
    update(m_modelLabel, label);
}

void RadioState::setMemoryListAvailable(bool available)
{
    update(m_memoryListAvailable, available);
}

void RadioState::setBandSelectable(int band, bool selectable)
{
    update(m_bands[index(band)].selectable, selectable);
}

void RadioState::setMemoryAvailable(int band, bool available)
{
    update(m_bands[index(band)].memoryAvailable, available);
}

void RadioState::setScanAvailable(int band, bool available)
{
    update(m_bands[index(band)].scanAvailable, available);
}

void RadioState::setScanning(int band, bool scanning)
{
    update(m_bands[index(band)].scanning, scanning);
}

void RadioState::setPowerAvailable(int band, bool available)
{
    update(m_bands[index(band)].powerAvailable, available);
}

void RadioState::setVfoText(int band, const QString &text)
{
    update(m_bands[index(band)].vfoText, text);
}

void RadioState::setMemoryText(int band, const QString &text)
{
    update(m_bands[index(band)].memoryText, text);
}

void RadioState::clearDisplays()
{
    for (int band : {0, 1}) {
        setVfoText(band, QString());
        setMemoryText(band, QString());
    }
}

QString RadioState::currentMemoryText() const
{
    return m_memories.value(m_currentMemory);
}

int RadioState::memoryIndex(const QString &channel) const
{
    if (channel.isEmpty())
        return -1;
    for (int i = 0; i < m_memories.size(); ++i) {
        if (MemoryEntry::channel(m_memories.at(i)) == channel)
            return i;
    }
    return -1;
}

void RadioState::setMemories(const QStringList &entries)
{
    if (m_memories == entries && m_currentMemory == -1)
        return;
    m_memories = entries;
    m_currentMemory = -1;
    emit changed();
}

void RadioState::updateMemories(const QStringList &entries)
{
    const int current = m_memories.isEmpty() && !entries.isEmpty() ? 0 : m_currentMemory;
    if (m_memories == entries && m_currentMemory == current)
        return;
    m_memories = entries;
    m_currentMemory = current < entries.size() ? current : -1;
    emit changed();
}

void RadioState::setCurrentMemory(int index)
{
    update(m_currentMemory, index >= 0 && index < m_memories.size() ? index : -1);
}

void RadioState::setMode(int band, Mode mode)
{
    update(m_bands[index(band)].mode, mode);
}

void RadioState::setPower(int band, int position)
{
    update(m_bands[index(band)].power, position);
}

void RadioState::setTransmitBand(int band)
{
    update(m_transmitBand, band);
}

void RadioState::resetLamps()
{
    setTransmitBand(-1);
    for (int band : {0, 1})
        setMode(band, Mode::None);
}

bool RadioState::acceptsBandOperation(int band) const
{
    return m_panelEnabled && m_bands[index(band)].selectable;
}

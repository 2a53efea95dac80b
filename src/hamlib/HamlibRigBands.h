#pragma once

#include "hamlib/HamlibTypes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

class HamlibRig;

// The band operations of the radio on the worker thread: the memory list, the band that
// transmits, each band's VFO or memory mode, channel and power, and the frequency the server is
// told. A radio that takes the per-band orders is given only what the change needs; any other
// goes through Hamlib's VFO selection. Reports through the radio's signals.
class HamlibRigBands
{
public:
    explicit HamlibRigBands(HamlibRig &radio);

    void readMemories(int count);
    // Reads where the radio is (transmit band, each band's mode, channel and power) and leaves
    // it there; `band` 0 or 1 is the one that must transmit, -1 the radio's own.
    void readInitialState(int band, bool bothBands);
    void selectBand(int band);
    void setMode(int band, int activeBand, bool memory, int channel);
    void readBand(int band);
    void setPower(int band, bool activeBand, int position);
    void readFrequency(int band);

private:
    // One of the radio's own commands (the per-band orders); the fields of its reply, or nothing
    // when it was refused or the radio is lost (both reported).
    std::optional<QList<QByteArray>> order(const QByteArray &command);
    // `memory` when the band's mode is already known.
    void reportBand(int band, bool selected, std::optional<bool> memory = std::nullopt);
    bool readBandState(HamlibBandState &state, std::optional<bool> memory);
    bool readOrderedBand(HamlibBandState &state, std::optional<bool> memory);
    // Puts the radio on the band's VFO, in the mode the band was left in.
    bool selectBandVfo(int band);
    // The channel's frequency, from the memory list read when it is there.
    qint64 channelHertz(int channel);

    HamlibRig &m_radio;
    QHash<int, qint64> m_channelHertz;
};

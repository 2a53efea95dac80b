#include "RigState.h"

#include <array>

namespace {

// A plausible set of local repeaters and simplex channels; more channels repeat the pattern
// 12.5 kHz higher each round.
constexpr std::array<RigChannel, 10> DefaultChannels{{
    {145'225'000, 2, 600'000},
    {145'500'000, 0, 0},
    {430'025'000, 2, 9'400'000},
    {144'800'000, 0, 0},
    {145'430'000, 1, 600'000},
    {438'500'000, 0, 0},
    {433'500'000, 0, 0},
    {145'650'000, 2, 600'000},
    {439'975'000, 2, 7'600'000},
    {145'787'500, 2, 600'000},
}};

QByteArray digits(qint64 value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0', true);
}

} // namespace

RigState RigState::factoryDefault(RigKind kind, int channelCount)
{
    RigState state;
    state.kind = kind;
    for (int i = 0; i < channelCount && i < state.lastChannel(); ++i) {
        RigChannel channel = DefaultChannels[i % DefaultChannels.size()];
        channel.frequency += qint64(i / DefaultChannels.size()) * 12'500;
        state.memories.insert(i + 1, channel);
    }
    state.bands[0].vfo = {145'225'000, 0, 0};
    state.bands[0].vfoRange = '2';
    state.bands[1].vfo = {433'500'000, 2, 1'600'000};
    state.bands[1].vfoRange = '5';
    state.bands[1].power = 2;
    // Band B starts on channel 003 when it is programmed, as a set left in memory mode would.
    if (state.memories.contains(3)) {
        state.bands[1].memoryMode = true;
        state.bands[1].channel = 3;
    }
    return state;
}

int RigState::lastChannel() const
{
    return kind == RigKind::TMD700 ? 199 : 999;
}

QByteArray memoryRecord(const RigState &state, int channel)
{
    const RigChannel &c = state.memories.value(channel);
    if (state.kind == RigKind::TMD700)
        return "MR 0,0," + digits(channel, 3) + ',' + digits(c.frequency, 11) + ",0," +
               QByteArray::number(c.shift) + ",0,0,0,0,09,0010,09," + digits(c.offset, 9) + ",0,0";
    return "ME " + digits(channel, 3) + ',' + digits(c.frequency, 10) + ",0," +
           QByteArray::number(c.shift) + ",0,0,0,0,08,08,000," + digits(c.offset, 8) +
           ",0,0000000000,0,0";
}

QByteArray vfoRecord(const RigState &state, int band)
{
    const RigBand &b = state.bands[band];
    if (state.kind == RigKind::TMD700)
        return QByteArray("VR ") + b.vfoRange + ',' + digits(b.vfo.frequency, 11) + ",0," +
               QByteArray::number(b.vfo.shift) + ",0,0,0,0,09,0010,09," + digits(b.vfo.offset, 9) +
               ",0";
    return "FO " + QByteArray::number(band) + ',' + digits(b.vfo.frequency, 10) + ",0," +
           QByteArray::number(b.vfo.shift) + ",0,0,0,0,08,08,000," + digits(b.vfo.offset, 8) + ",0";
}

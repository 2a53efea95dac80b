#pragma once

#include <QByteArray>
#include <QMap>

// What the simulated transceiver remembers: its memory channels, the two bands and the switches.
// Frequencies and offsets are in hertz.

enum class RigKind { TMD700, TMD710, TMV71 };

struct RigChannel
{
    qint64 frequency = 0;
    int shift = 0; // 0 simplex, 1 plus, 2 minus
    qint64 offset = 0;
};

struct RigBand
{
    bool memoryMode = false;
    int channel = 0;     // current memory channel
    char vfoRange = '2'; // TM-D700 VFO range, the argument of "VR"
    RigChannel vfo;
    int power = 0; // 0 high, 1 medium, 2 low
};

struct RigState
{
    RigKind kind = RigKind::TMD710;
    QMap<int, RigChannel> memories;
    RigBand bands[2];
    int controlBand = 0;
    int pttBand = 0;
    int autoInformation = 0;
    bool scanning = false;
    bool transmitting = false;

    // A radio as it comes out of its box with `channelCount` channels programmed from 001 on.
    static RigState factoryDefault(RigKind kind, int channelCount);

    // Highest channel number the model stores (000 is a channel too).
    int lastChannel() const;
};

// Record texts as the sets send them, without the carriage return.
QByteArray memoryRecord(const RigState &state, int channel);
QByteArray vfoRecord(const RigState &state, int band);

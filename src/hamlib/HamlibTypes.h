#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

// What the chosen radio can do, from Hamlib's description of it. The panel disables what is
// missing instead of letting a click do nothing.
struct HamlibCapabilities
{
    QString maker;
    QString model;
    bool twoBands = false;   // VFO A/B or main/sub receiver
    bool memoryMode = false; // a memory mode and channel selection
    bool memoryRead = false; // the channels' contents can be read
    bool power = false;      // RF power level
    bool scanVfo = false;    // a scan from the VFO, over the band or a programmed range
    bool scanMemory = false; // a scan over the memories
    bool ptt = false;
    bool network = false; // a rigctld, through Hamlib's network client

    // "Kenwood TM-D710(G)", as the panel's title shows it.
    QString title() const { return maker.isEmpty() ? model : maker + QLatin1Char(' ') + model; }
};

// What a request refused by the radio was about, so the control that asked it is put back.
enum class HamlibRequest { Read, Band, Mode, Power, Scan, Transmit };

// The state of one band as the radio tells it after an operation.
struct HamlibBandState
{
    int band = 0;
    bool selected = false; // the band was just selected: it is the one that transmits
    bool memoryMode = false;
    int channel = -1;       // memory mode: the channel, when the radio tells it
    qint64 frequencyHz = 0; // VFO mode: the VFO's frequency; memory mode: the channel's
    QString shiftText = QStringLiteral("shift=0");
    int power = -1; // the power position (0 high to 2 low), when the radio told it
};

// The answer to a frequency request.
struct HamlibFrequency
{
    bool answered = false;
    bool memoryMode = false;
    int channel = -1;
    qint64 frequencyHz = 0;
};

Q_DECLARE_METATYPE(HamlibCapabilities)
Q_DECLARE_METATYPE(HamlibBandState)
Q_DECLARE_METATYPE(HamlibFrequency)
Q_DECLARE_METATYPE(HamlibRequest)

#pragma once

#include "dtmf/DtmfAction.h"

#include <QCoroTask>
#include <QString>
#include <QStringList>
#include <functional>

class EventLog;
class Radio;
class RadioSelector;
struct StationState;

// The configuration save the actions use (as the File menu's).
struct DtmfStationControls
{
    std::function<void()> saveConfiguration;
};

// What each action of the catalogue does on the radio in use, through the same operations the
// panel's controls run. What the radio cannot do comes from its capabilities; what the panel
// would refuse now (a band left out by the band choice, a panel waiting for the
// initialisation) is refused by the radio's own rules. Conditions count at the moment of the
// action, so a change of model or band choice counts at once.
class DtmfActions
{
public:
    DtmfActions(StationState &state, EventLog &log, RadioSelector &radios,
                const DtmfStationControls &controls);

    // An action that reads no figures after its code. Returns whether the entry is to be closed
    // afterwards; an action whose condition does not hold does nothing and leaves it open.
    QCoro::Task<bool> carryOut(DtmfAction action);

    // The last step of a memory (MemoryA, MemoryB, MemoryActive) or frequency (FrequencyActive)
    // action, once its entry has been
    // selected in the list and MemoryNumberText set. `value` is what followed the code with the
    // code's last character in front ("5225" for 5.225). `index` is the entry chosen.
    QCoro::Task<> actOnFound(DtmfAction action, QString value, int index);

    // Whether the radio in use recalls memories (a stepping transmitter has a channel list).
    bool recallsMemories() const;
    // What a memory or frequency code's figures are looked up in: the stepping transmitter's
    // channel list, or the memories of the radio in use.
    QStringList entries() const;
    // Makes the entry found current, where it was found.
    void choose(int index);

private:
    QCoro::Task<> restartScan(Radio &radio, int band);
    QCoro::Task<> recallMemory(Radio &radio, int band, QString logPrefixA, QString logPrefixB,
                               QString logged);
    void log(const QString &text);

    StationState &m_state;
    EventLog &m_log;
    RadioSelector &m_radios;
    DtmfStationControls m_c;
};

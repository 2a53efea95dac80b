#pragma once

#include "dtmf/DtmfControls.h"

#include <QString>

class EventLog;
struct StationState;

// What each action of the catalogue does on the radio in use: it presses the same buttons, moves
// the same sliders and ticks the same box as the operator would. Conditions are read from the
// menus at the moment of the action, so a change of model or band choice counts at once.
class DtmfActions
{
public:
    DtmfActions(StationState &state, EventLog &log, const DtmfControls &controls);

    // An action that reads no figures after its code. Returns whether the entry is to be closed
    // afterwards; an action whose condition does not hold does nothing and leaves it open.
    bool carryOut(int action);

    // The last step of a memory (7, 8, 10) or frequency (11) action, once its entry has been
    // selected in the list and MemoryNumberText set. `value` is what followed the code with the
    // code's last character in front ("5225" for 5.225).
    void actOnFound(int action, const QString &value);

    bool isGeneric() const;
    bool bandAAllowed() const;
    bool bandBAllowed() const;
    // The TM-D700, or a Hamlib radio (whose scan buttons are disabled when it cannot scan).
    bool scansOnCommand() const;

private:
    static void press(QAbstractButton *button);
    void setPower(QSlider *slider, int position);
    void pressIfDown(QAbstractButton *button, bool down);
    void restartKenwoodScan(QAbstractButton *scan);
    void recallMemory(bool bandB, const QString &logPrefixA, const QString &logPrefixB,
                      const QString &logged);
    void goToChannel(const QString &number);
    void log(const QString &text);

    StationState &m_state;
    EventLog &m_log;
    DtmfControls m_c;
};

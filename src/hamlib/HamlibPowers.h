#pragma once

#include "hamlib/HamlibTypes.h"

#include <functional>

class EventLog;
class HamlibLink;
class RadioState;
struct StationState;

// The power settings of a radio Hamlib drives: the sliders and the saved powers show only what
// the radio took; a power the radio cannot take now waits, unshown, until it answers.
class HamlibPowers
{
public:
    // `radioTakes`: the radio takes a power now (there, answering, initialised).
    HamlibPowers(StationState &state, RadioState &radio, EventLog &log, HamlibLink &link,
                 std::function<bool()> radioTakes);

    // What the radio can set; the positions shown count as asked.
    void setCapabilities(const HamlibCapabilities &caps);
    bool canSet(int band) const;
    // Sends the band's power when the position changes. Asked while the radio cannot take it
    // it waits, unshown, for the radio.
    void set(int band, int position);
    // Sends the band's power shown now.
    void send(int band);
    // The power the radio reported, shown without being sent.
    void read(int band, int position);
    // Moves the slider without sending the power.
    void show(int band, int position);
    // Sends the powers asked while the radio could not take them.
    void applyWaiting();
    // The radio refused the power sent: the slider goes back to the power it had.
    void refused(int band);
    // The radio did not answer the power sent: the slider goes back, and the one asked waits.
    void notTaken(int band);

private:
    StationState &m_state;
    RadioState &m_radio;
    EventLog &m_log;
    HamlibLink &m_link;
    std::function<bool()> m_radioTakes;
    bool m_power = false;
    bool m_twoBands = false;
    // Per band, the power position asked last and the one before, which a refusal puts back.
    int m_asked[2] = {0, 0};
    int m_before[2] = {0, 0};
    // Per band, the power asked while the radio could not take it; -1 for none.
    int m_waiting[2] = {-1, -1};
};

#pragma once

#include "radio/Capabilities.h"
#include "radio/RadioState.h"

#include <QObject>
#include <functional>

// What the panel, the DTMF actions, the server and the transmit time-out ask of any radio.
// Bands are 0 for A and 1 for B. The public operations hold the rules (what the panel would
// refuse now, what the radio cannot do) and hand the rest to the backend; outcomes show in
// state(). Calls never wait for the operator.
class Radio : public QObject
{
    Q_OBJECT
public:
    explicit Radio(QObject *parent = nullptr);

    RadioState &state() { return m_state; }
    const RadioState &state() const { return m_state; }
    virtual Capabilities capabilities() const = 0;

    // Opens the radio's port or link and starts its initialisation.
    virtual void open() = 0;
    // The initialisation INIT runs.
    virtual void initialise() = 0;
    // Back to receive and scanning stopped: the program ends or another model takes over.
    virtual void release() = 0;
    // Back to receive even when the radio may be keyed without the program knowing it (it stopped
    // answering); nothing when it cannot tell.
    virtual void ensureReceive() {}

    // Repeating the current keying does nothing; an unkey is never refused.
    void setTransmit(bool on);
    void setScan(int band, bool on);
    void selectBand(int band);
    void vfoMode(int band);
    // The band's memory: the chosen channel (StationState::MemoryNumberText), or the band's
    // last one when none is chosen.
    void memoryMode(int band);
    // Positions 0 (high) to capabilities().powerSteps - 1 (low).
    void setPower(int band, int position);
    // Works out CurrentFrequency from the radio, then runs `done` (at once or later, always
    // once, in the order of the requests).
    virtual void requestFrequency(std::function<void()> done) = 0;

    // Channel stepping (capabilities().stepping); radios without it ignore these.
    virtual void step(bool /*up*/) {}
    virtual void resetChannel() {}
    virtual void resynchronise(bool /*up*/) {}
    // The entry `index` of the channel list.
    virtual void goToChannel(int /*index*/) {}
    virtual void setCircularScan(bool /*circular*/) {}

protected:
    virtual void transmit(bool on) = 0;
    virtual void scan(int band, bool on) = 0;
    virtual void bandSelected(int band) = 0;
    virtual void vfoSelected(int band) = 0;
    virtual void memorySelected(int band) = 0;
    virtual void powerSelected(int band, int position) = 0;

private:
    RadioState m_state;
};

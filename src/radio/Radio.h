#pragma once

#include "radio/Capabilities.h"
#include "radio/RadioState.h"

#include <QCoroTask>
#include <QObject>
#include <functional>

// What the panel, the DTMF actions, the server and the transmit time-out ask of any radio.
// Bands are 0 for A and 1 for B. The public operations hold the rules (what the panel would
// refuse now, what the radio cannot do) and hand the rest to the backend; outcomes show in
// state(). Calls never wait for the operator; each is over when its task is (at once for a radio
// that does not answer back), and the rules count when it starts.
class Radio : public QObject
{
    Q_OBJECT
public:
    explicit Radio(QObject *parent = nullptr);

    // The selector made it the radio in use: what the panel, the server and DTMF act on.
    bool inUse() const { return m_inUse; }
    RadioState &state() { return m_state; }
    const RadioState &state() const { return m_state; }
    virtual Capabilities capabilities() const = 0;

    // The selector made it current under `model` (MODEL=): a radio that drives several models
    // takes that one.
    virtual void modelChosen(const QString & /*model*/) {}
    // Opens the radio's port or link and starts its initialisation.
    virtual void open() = 0;
    // The initialisation INIT runs.
    virtual void initialise() = 0;
    // Back to receive and scanning stopped: the program ends or another model takes over.
    virtual QCoro::Task<> release() = 0;
    // Back to receive even when the radio may be keyed without the program knowing it (it stopped
    // answering); nothing when it cannot tell.
    virtual QCoro::Task<> ensureReceive() { co_return; }

    // Repeating the current keying does nothing; an unkey is never refused.
    QCoro::Task<> setTransmit(bool on);
    QCoro::Task<> setScan(int band, bool on);
    QCoro::Task<> selectBand(int band);
    QCoro::Task<> vfoMode(int band);
    // The band's memory: the chosen channel (StationState::MemoryNumberText), or the band's
    // last one when none is chosen.
    QCoro::Task<> memoryMode(int band);
    // Positions 0 (high) to capabilities().powerSteps - 1 (low).
    QCoro::Task<> setPower(int band, int position);
    // Works out CurrentFrequency from the radio, then runs `done` (before the task is over, or
    // later for a radio behind a worker thread; always once, in the order of the requests).
    virtual QCoro::Task<> requestFrequency(std::function<void()> done) = 0;

    // Channel stepping (capabilities().stepping); radios without it ignore these.
    virtual void step(bool /*up*/) {}
    virtual void resetChannel() {}
    virtual void resynchronise(bool /*up*/) {}
    // The entry `index` of the channel list.
    virtual void goToChannel(int /*index*/) {}
    virtual void setCircularScan(bool /*circular*/) {}

protected:
    virtual QCoro::Task<> transmit(bool on) = 0;
    virtual QCoro::Task<> scan(int band, bool on) = 0;
    virtual QCoro::Task<> bandSelected(int band) = 0;
    virtual QCoro::Task<> vfoSelected(int band) = 0;
    virtual QCoro::Task<> memorySelected(int band) = 0;
    virtual QCoro::Task<> powerSelected(int band, int position) = 0;

private:
    friend class RadioSelector;
    RadioState m_state;
    bool m_inUse = false;
};

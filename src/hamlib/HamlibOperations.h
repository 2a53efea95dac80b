#pragma once

#include "hamlib/HamlibPowers.h"
#include "hamlib/HamlibTypes.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class EventLog;
class HamlibLink;
class RadioState;
struct StationState;

// The panel's operations on a radio driven through Hamlib. Each click queues a request to the
// worker thread and returns; the panel and the station state follow when the radio's answer
// comes back. A radio that stops answering turns the status line red, its error goes to the
// log, and it is asked again a few seconds after its last request has run, until it answers;
// a radio keyed when the link broke is unkeyed once it is back, never keyed again by it.
class HamlibOperations : public QObject
{
    Q_OBJECT
public:
    static constexpr int RetryMs = 2000;

    HamlibOperations(StationState &state, RadioState &radio, EventLog &log, HamlibLink &link);

    void selectBand(int band);
    void vfoMode(int band);
    void memoryMode(int band);
    // Sends the band's power when the position changes. Asked while the radio cannot take it
    // (not there, not answering, not yet initialised) it waits, unshown, for the radio.
    void setPower(int band, int position);
    void setScan(int band, bool on);
    void setTransmit(bool on);
    void updateFrequency(std::function<void()> done);

    // Reads the memory list, selects the band of the band choice and sets the powers; the
    // panel is enabled once the band has been read. `finished` runs once, at the end or at the
    // first failure.
    void initialise(std::function<void()> finished);
    // Enables the controls the radio has, within the band choice.
    void applyCapabilities();
    const HamlibCapabilities &capabilities() const { return m_caps; }
    bool isInitialised() const { return m_initialised; }
    // Enables again what applyCapabilities() disabled, for a radio that can do everything; the
    // band buttons are left to the band choice.
    void enableAllControls();
    // Forgets the requests waiting for an answer (the link is being closed).
    void dropPending();

signals:
    // The radio answered its initialisation, at start, on INIT or once back.
    void radioReady();

private:
    void opened(const HamlibCapabilities &caps);
    void memoriesRead(const QStringList &entries);
    void bandRead(const HamlibBandState &state);
    void frequencyRead(const HamlibFrequency &frequency);
    void answered();
    void failed(const QString &error);
    void refused(const QString &error, HamlibRequest request, int band);
    void retry();
    void refusedKeying(const QString &line);
    // Why a memory recall on `band` was refused, for its log line; empty when none was asked.
    QString refusedRecallReason(int band);
    bool canScan(int band) const;
    void requestInitialState();
    void answerUnaskedRequests();
    void finishInitialisation();
    bool memoryModeOf(int band) const;

    StationState &m_state;
    RadioState &m_radio;
    EventLog &m_log;
    HamlibLink &m_link;
    HamlibCapabilities m_caps;
    // A request made while the radio does not answer is not asked: it is answered at once, or
    // right after the asked ones before it.
    struct FrequencyRequest
    {
        std::function<void()> done;
        bool asked;
    };
    std::deque<FrequencyRequest> m_frequencyRequests;
    std::function<void()> m_initFinished;
    bool m_initialising = false;
    bool m_initialised = false;
    QString m_lastError;
    HamlibPowers m_powers;
    QTimer m_retry;
    QTimer m_watch;
    // Per band, the channel of the memory recall under way; -1 for none.
    int m_channelAsked[2] = {-1, -1};
    bool m_keyingRefused = false;
};

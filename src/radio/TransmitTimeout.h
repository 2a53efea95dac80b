#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

class EventLog;
class Radio;
class RadioRequests;
struct StationState;

// The transmit time-out of an unattended relay: a transmitter keyed for longer than
// StationState::TxTimeoutSeconds is sent back to receive as a receive request would, whatever
// keyed it: the server, a click, the space bar or a DTMF action, on any kind of radio. Each
// keying starts a new period.
class TransmitTimeout : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxSeconds = 3600;

    TransmitTimeout(StationState &state, EventLog &log, const QList<Radio *> &radios,
                    RadioRequests &requests, QObject *parent = nullptr);

    bool isRunning() const { return m_timer.isActive(); }

signals:
    // The radio was just unkeyed by the time-out ("TX time-out" is logged).
    void expired();

private:
    void keyingChanged(Radio *radio, bool keyed);
    void expire();

    StationState &m_state;
    EventLog &m_log;
    RadioRequests &m_requests;
    QTimer m_timer;
    Radio *m_keyed = nullptr;
};

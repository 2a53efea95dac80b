#pragma once

#include <QObject>
#include <QTimer>

class EventLog;
class Radio;
class RadioSelector;
struct StationState;

// A TRANSMIT that came while the radio in use was being recovered (not answering, its port just
// back, its initialisation under way) is kept, and falls due once the radio is ready, unless a
// RECEIVE, the server's loss or the transmit time-out comes first: a glitch must not cost a
// whole over.
class KeptTransmit : public QObject
{
    Q_OBJECT
public:
    KeptTransmit(StationState &state, RadioSelector &radios, EventLog &log,
                 QObject *parent = nullptr);

    // Whether `radio` can be keyed now; a radio that cannot tell whether it answers always can.
    bool radioReady(const Radio &radio) const;
    // Keeps the TRANSMIT until the radio is ready (said in the log once per TRANSMIT kept).
    void keep();
    // A RECEIVE or the server's loss: the TRANSMIT kept is forgotten.
    void drop();
    bool isKept() const { return m_kept; }

signals:
    // The radio in use is ready: the TRANSMIT kept is to be carried out now.
    void due();

private:
    void radioChanged(Radio *radio);
    void expire();

    StationState &m_state;
    RadioSelector &m_radios;
    EventLog &m_log;
    QTimer m_expiry;
    bool m_kept = false;
    // To the radio in use's state while a TRANSMIT is kept.
    QMetaObject::Connection m_watch;
    QMetaObject::Connection m_statusWatch;
};

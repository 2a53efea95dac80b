#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

class EventLog;
class QAbstractButton;
class QLineEdit;
struct StationState;

// The transmit time-out of an unattended relay: a transmitter keyed for longer than
// StationState::TxTimeoutSeconds is sent back to receive as a receive request would (its
// TRANSMIT toggle is pressed), whatever keyed it: the server, a click, the space bar or a DTMF
// action, on either kind of radio. Each keying starts a new period.
class TransmitTimeout : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxSeconds = 3600;

    TransmitTimeout(StationState &state, EventLog &log,
                    const QList<QAbstractButton *> &transmitToggles, QLineEdit *labelTMD,
                    QObject *parent = nullptr);

    bool isRunning() const { return m_timer.isActive(); }

private:
    void keyingChanged(QAbstractButton *toggle, bool keyed);
    void expire();

    StationState &m_state;
    EventLog &m_log;
    QLineEdit *m_labelTMD;
    QTimer m_timer;
    QAbstractButton *m_keyed = nullptr;
};

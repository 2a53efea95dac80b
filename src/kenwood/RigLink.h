#pragma once

#include <QByteArray>
#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <coroutine>

struct SerialPortSettings;
struct StationState;
class TrafficLine;

// The serial link to the Kenwood transceiver: one command, one reply ended by a carriage return.
//
// An exchange is awaited: the caller's coroutine goes on once the reply is in, and the event loop
// runs meanwhile. Exchanges never overlap: one asked for while another waits for its reply waits
// for its turn, and each caller gets the reply to its own command.
class RigLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReplyDeadlineMs = 3000;
    static constexpr int MaxReplyLength = 100;
    // Received bytes held for the exchange in flight; more is lost, as in a driver's overrun.
    static constexpr int InputCapacity = 4096;

    // Each reply goes to `traffic` when there is one.
    RigLink(StationState &state, const SerialPortSettings &settings, TrafficLine *traffic,
            QObject *parent = nullptr);

    // How often a port that went away is looked for again.
    static constexpr int ReopenPeriodMs = 2000;
    // Tests shorten it; the station keeps ReopenPeriodMs.
    void setReopenPeriodMs(int ms) { m_reopenTimer.setInterval(ms); }

    // Opens `portName` at 9600 8N1 with CTS flow control and DTR on. An open port stays as it is.
    // Opening or closing stops looking for a port that went away.
    bool open(const QString &portName);
    void close();
    // Looks for `portName`, not there yet, every ReopenPeriodMs as for a lost port; portBack
    // tells when it opened.
    void awaitPort(const QString &portName);
    bool isOpen() const;
    // Why the last open failed, in the system's words ("Permission denied"); empty after success.
    QString openError() const { return m_openError; }
    // The last open failed for want of permission on the device.
    bool openDenied() const { return m_openDenied; }
    // Drops what waits in the input and output buffers.
    void clearBuffers();

    // Who takes the port next when several exchanges wait for it: an unkey or a release goes
    // before work that waits, so it never waits behind more than the exchange in flight (and a
    // keying that waits: the radio never takes an unkey before a "TX" asked for ahead of it).
    enum class Turn { InOrder, First };

    // The reply without being trimmed (its carriage return included), or "timerout" when no
    // complete reply came within ReplyDeadlineMs of sending, or the port is not open.
    QCoro::Task<QString> exchange(QString command, Turn turn = Turn::InOrder);

    // The name of a port that went away and is being looked for; empty otherwise.
    QString lostPortName() const { return m_lostPortName; }
    // An exchange waits for its reply, or for its turn.
    bool isBusy() const { return m_busy || !m_turns.isEmpty(); }
    // The radio may be keyed without the program knowing it: nothing has unkeyed it since this
    // process started, or since an exchange went unanswered (its command may have reached it).
    // Cleared by an answered "RX".
    bool unkeyOwed() const { return m_unkeyOwed; }

signals:
    // A reply did not come: the station takes the radio for silent (StationState::RigStatus and
    // RigAnswering), which its status line shows unless the port is away (that says so itself).
    void silenceNoticed();
    // An exchange is over, answered or not.
    void exchangeFinished();
    // A complete reply came for the exchange in flight.
    void replyReceived();
    // The radio did not answer within the deadline while its port was open.
    void replyMissing();
    // The device went away under the link; it is looked for every ReopenPeriodMs.
    void portLost(const QString &portName);
    // It opened again under the same name.
    void portBack(const QString &portName);

private:
    // The exchange in flight's reply, in its caller's frame.
    struct ReplySlot
    {
        QString reply;
        bool done = false;
        std::coroutine_handle<> waiting;
    };
    struct WaitingTurn
    {
        std::coroutine_handle<> handle;
        bool keys = false; // its command is "TX"
    };
    struct TurnAwaiter;
    struct ReplyAwaiter;

    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    bool openPort(const QString &portName);
    void closePort();
    void losePort();
    void tryReopen();
    void takeCompleteReply();
    bool offer(const QByteArray &read);
    void dropInput();
    void endOfRead();
    void shutPort();
    void endExchangeInFlight();
    void startRead();
    void finish(const QString &reply, bool timedOut);
    void reportTimeout();

    StationState &m_state;
    const SerialPortSettings &m_settings;
    TrafficLine *m_traffic;
    QSerialPort m_port;

    QByteArray m_input; // received and not yet taken by an exchange
    bool m_busy = false;
    QString m_command; // of the exchange in flight
    ReplySlot *m_slot = nullptr;
    QList<WaitingTurn> m_turns; // exchanges waiting for the port, next first
    bool m_unkeyOwed = true;

    QString m_openedName;
    QString m_openError;
    bool m_openDenied = false;
    QString m_lostPortName;
    QTimer m_reopenTimer;
    QTimer m_deadline;      // the whole exchange
    QTimer m_intervalTimer; // silence after a character: the read returns
    QTimer m_totalTimer;    // the read's own total time-out
};

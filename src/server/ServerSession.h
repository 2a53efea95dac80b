#pragma once

#include "server/LineAssembler.h"
#include "server/LinkEventLog.h"
#include "server/ServerDispatcher.h"
#include "server/ServerLink.h"
#include "server/ServerReconnection.h"

#include <QObject>
#include <QTimer>

class TrafficLine;

// The connection to the relay server: connecting and disconnecting, bringing a lost link back,
// reading what the server sends into messages for the dispatcher, and answering it.
class ServerSession : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 500;
    // How long the unfinished end of a read waits for the rest of its line.
    static constexpr int LineTailWaitMs = 300;

    // What the session works with. `reconnect` is read at each loss (the operator's choice).
    struct Parts
    {
        StationState &state;
        RadioSelector &radios;
        RadioRequests &requests;
        EventLog &log;
        TrafficLine &traffic;
        const TcpClientSettings &address;
        std::function<bool()> reconnect;
    };
    ServerSession(const Parts &parts, const ServerControls &controls, QObject *parent = nullptr);
    ~ServerSession() override;

    // Tests shorten these; the station keeps PollPeriodMs and LineTailWaitMs.
    void setPollPeriodMs(int ms) { m_poll.setInterval(ms); }
    void setLineTailWaitMs(int ms) { m_tailTimer.setInterval(ms); }

    void connectToServer();
    void disconnectFromServer();

    // The radio in use was keyed or unkeyed, by whatever means.
    void keyingChanged(bool keyed);
    // Computes the frequency of the radio in use ("145.225000", "999.999999" while scanning,
    // "000.000000" when unknown) and sends it to the server; the simulated frequency's window,
    // while open, stands for the radio.
    QCoro::Task<> reportFrequency();
    // Sends one text to the relay server when connected; nothing otherwise.
    void sendToServer(const QString &text);
    // Sends `frequency` as the answer to a frequency request.
    void answerFrequency(const QString &frequency);
    // The server's requests; what DTMF characters reported by the server go to is the station's
    // wiring (receiveDtmf).
    ServerDispatcher &dispatcher() { return m_dispatcher; }

    const ServerLink &link() const { return m_link; }
    const ServerReconnection &reconnection() const { return m_reconnection; }
    // Reads what the server sent while connected.
    const QTimer &pollTimer() const { return m_poll; }
    // A try to bring the link back is planned or under way.
    bool isReconnecting() const { return m_reconnection.isWaiting() || m_link.isConnecting(); }

signals:
    // The link came back after a loss the operator did not ask for.
    void reconnected();
    // The link went down, lost or closed by a disconnection.
    void linkDown();
    // The answer to a frequency request, as it is handed to the link (which sends it only
    // while connected).
    void frequencyAnswered(const QString &text);

private:
    void linkConnected();
    void linkDisconnected();
    void handleServerData();
    void handleMessages(const QList<QByteArray> &messages);
    void handleTailIfDue();

    StationState &m_state;
    RadioSelector &m_radios;
    RadioRequests &m_requests;
    TrafficLine &m_traffic;
    const TcpClientSettings &m_address;
    LineAssembler m_lines;
    QTimer m_poll;
    QTimer m_tailTimer;
    bool m_tailDue = false;
    ServerLink m_link;
    ServerReconnection m_reconnection;
    ServerDispatcher m_dispatcher;
    LinkEventLog m_linkLog;
    // Set while Disconnect closes the link: not a loss.
    bool m_closingOnPurpose = false;
    bool m_lostSinceConnected = false;
};

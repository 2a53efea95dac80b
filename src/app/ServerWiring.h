#pragma once

#include "server/LineAssembler.h"
#include "server/LinkEventLog.h"
#include "server/ServerDispatcher.h"
#include "server/ServerLink.h"
#include "server/ServerReconnection.h"
#include "server/ServerSettingsDialog.h"

#include <QObject>
#include <QTimer>

class Station;

// Relay server link: the connection's life cycle, the handling of what the server sends, the
// server settings window and the frequency simulation window.
class ServerWiring : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 500;
    // How long the unfinished end of a read waits for the rest of its line.
    static constexpr int LineTailWaitMs = 300;

    explicit ServerWiring(Station &station);
    ~ServerWiring() override;

    // Tests shorten these; the station keeps PollPeriodMs and LineTailWaitMs.
    void setPollPeriodMs(int ms);
    void setLineTailWaitMs(int ms) { m_tailTimer.setInterval(ms); }

    // The radio in use was keyed or unkeyed, by whatever means.
    void keyingChanged(bool keyed);
    void ButtonConnectClick();
    void ButtonDisconnectClick();
    void IdTCPClientConnected();
    void IdTCPClientDisconnected();
    void TimerIPTimer();
    void HandleServerData();
    void MenuTCPclientClick();
    void menusimuFreqClick();
    void ButtonFreqClick();

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
    ServerSettingsDialog &settingsDialog() { return m_settingsDialog; }
    const ServerReconnection &reconnection() const { return m_reconnection; }
    // A try to bring the link back is planned or under way.
    bool isReconnecting() const { return m_reconnection.isWaiting() || m_link.isConnecting(); }

signals:
    // The link came back after a loss the operator did not ask for.
    void reconnected();
    // The answer to a frequency request, as it is handed to the link (which sends it only
    // while connected).
    void frequencyAnswered(const QString &text);

private:
    void wire();
    void handleMessages(const QList<QByteArray> &messages);
    void handleTailIfDue();

    Station &m_station;
    LineAssembler m_lines;
    QTimer m_tailTimer;
    bool m_tailDue = false;
    ServerLink m_link;
    ServerReconnection m_reconnection;
    ServerDispatcher m_dispatcher;
    ServerSettingsDialog m_settingsDialog;
    LinkEventLog m_linkLog;
    // Set while the operator's Disconnect closes the link: not a loss.
    bool m_closingOnPurpose = false;
    bool m_lostSinceConnected = false;
};

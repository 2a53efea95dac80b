#pragma once

#include "server/ServerDispatcher.h"
#include "server/ServerLink.h"
#include "server/ServerSettingsDialog.h"

#include <QObject>

class Station;

// Relay server link: the connection's life cycle, the handling of what the server sends, the
// server settings window and the frequency simulation window.
class ServerSubsystem : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 500;

    explicit ServerSubsystem(Station &station);

    void ButtonConnectClick();
    void ButtonDisconnectClick();
    void IdTCPClientConnected();
    void IdTCPClientDisconnected();
    void TimerIPTimer();
    void HandleServerData();
    void MenuTCPclientClick();
    void menusimuFreqClick();
    void ButtonFreqClick();

    const ServerLink &link() const { return m_link; }

private:
    void wire();
    void sendToServer(const QString &text);

    Station &m_station;
    ServerLink m_link;
    ServerDispatcher m_dispatcher;
    ServerSettingsDialog m_settingsDialog;
    // Set while messages are being carried out. A radio exchange inside one keeps the event
    // loop running; data arriving meanwhile stays queued in the socket and is taken afterwards,
    // so messages are always carried out one at a time and in the order they came.
    bool m_handling = false;
};

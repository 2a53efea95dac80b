#pragma once

#include "server/ServerSession.h"
#include "server/ServerSettingsDialog.h"

#include <QObject>

class Station;

// The relay server's windows: the server settings window and its Connect and Disconnect, the
// frequency simulation window, and the server status line, over the server session.
class ServerWiring : public QObject
{
    Q_OBJECT
public:
    explicit ServerWiring(Station &station);

    void ButtonConnectClick();
    void ButtonDisconnectClick();
    void MenuTCPclientClick();
    void menusimuFreqClick();
    void ButtonFreqClick();

    ServerSession &session() { return m_session; }
    ServerSettingsDialog &settingsDialog() { return m_settingsDialog; }

private:
    void wire();

    Station &m_station;
    ServerSession m_session;
    ServerSettingsDialog m_settingsDialog;
};

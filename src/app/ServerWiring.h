#pragma once

#include "server/ServerSession.h"
#include "server/ServerSettingsDialog.h"

#include <QObject>

class EventLog;
class Notifier;
class ServerWindowSettings;
class TrafficLine;
struct StationWindows;

// The relay server's windows: the server settings window and its Connect and Disconnect, the
// frequency simulation window, and the server status line, over the server session.
class ServerWiring : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        StationWindows &windows;
        StationState &state;
        RadioSelector &radios;
        RadioRequests &requests;
        EventLog &log;
        TrafficLine &traffic;
        Notifier &notifier;
        TcpClientSettings &address;
        ServerWindowSettings &settings; // the server window's own choices
    };
    explicit ServerWiring(const Parts &parts);

    void ButtonConnectClick();
    void ButtonDisconnectClick();
    void MenuTCPclientClick();
    void menusimuFreqClick();
    void ButtonFreqClick();

    ServerSession &session() { return m_session; }
    ServerSettingsDialog &settingsDialog() { return m_settingsDialog; }

private:
    void wire();

    StationWindows &m_windows;
    StationState &m_state;
    ServerSession m_session;
    ServerSettingsDialog m_settingsDialog;
};

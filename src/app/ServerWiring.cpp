#include "app/ServerWiring.h"

#include "core/StationState.h"
#include "radio/Radio.h"
#include "server/ServerMessages.h"
#include "ui/ServerWindowSettings.h"
#include "ui/StationWindows.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QScreen>

namespace {

ServerControls serverControls(const ServerWiring::Parts &parts)
{
    QLineEdit *line = parts.windows.Form1->ui.StaticTextIPConnect;
    const ServerWindowSettings &settings = parts.settings;
    auto channel = [&settings] { return settings.audioChannel(); };
    return ServerControls{channel, [line](const QString &text) {
                              StatusLines::setColouredText(line, text,
                                                           StatusLines::Colour::Unchanged);
                          }};
}

} // namespace

ServerWiring::ServerWiring(const Parts &parts)
    : m_windows(parts.windows), m_state(parts.state),
      m_session({parts.state, parts.radios, parts.requests, parts.log, parts.traffic, parts.address,
                 [&settings = parts.settings] { return settings.reconnect(); }},
                serverControls(parts)),
      m_settingsDialog(
          parts.address, parts.state.TxTimeoutSeconds, parts.notifier,
          [&state = parts.state] { return state.language; }, parts.settings)
{
    wire();
}

void ServerWiring::wire()
{
    TForm1 &f = *m_windows.Form1;
    TFormIP &ip = *m_windows.FormIP;
    TFormSimuFreq &simu = *m_windows.FormSimuFreq;

    connect(&m_state, &StationState::serverChanged, this,
            [this] { StatusLines::showServer(m_windows.Form1->ui.StaticTextIPConnect, m_state); });
    connect(&m_session, &ServerSession::linkDown, this,
            [this] { m_windows.Form1->ui.StaticTextDTMF->clear(); });

    connect(ip.ui.ButtonConnect, &QPushButton::clicked, this, &ServerWiring::ButtonConnectClick);
    connect(ip.ui.ButtonDisconnect, &QPushButton::clicked, this,
            &ServerWiring::ButtonDisconnectClick);
    connect(ip.ui.Buttonlangue, &QPushButton::clicked, this,
            [this] { m_settingsDialog.ButtonlangueClick(); });
    ip.FormShow = [this] { m_settingsDialog.FormShow(); };
    ip.FormClose = [this] { return m_settingsDialog.FormClose(); };
    connect(f.ui.MenuTCPclient, &QAction::triggered, this, &ServerWiring::MenuTCPclientClick);

    connect(f.ui.menusimuFreq, &QAction::triggered, this, &ServerWiring::menusimuFreqClick);
    connect(simu.ui.ButtonFreq, &QPushButton::clicked, this, &ServerWiring::ButtonFreqClick);
    connect(&simu, &EventDialog::openChanged, this,
            [this](bool open) { m_state.FrequencySimulated = open; });
}

void ServerWiring::ButtonConnectClick()
{
    m_session.connectToServer();
}

void ServerWiring::ButtonDisconnectClick()
{
    m_session.disconnectFromServer();
}

void ServerWiring::MenuTCPclientClick()
{
    TFormIP &ip = *m_windows.FormIP;
    const QRect main = m_windows.Form1->frameGeometry();
    ip.move(main.center() - QPoint(ip.width() / 2, ip.height() / 2));
    ip.show();
    ip.raise();
    ip.activateWindow();
}

void ServerWiring::menusimuFreqClick()
{
    TFormSimuFreq &simu = *m_windows.FormSimuFreq;
    simu.show();
    simu.raise();
    simu.activateWindow();
}

void ServerWiring::ButtonFreqClick()
{
    m_state.setCurrentFrequency(m_windows.FormSimuFreq->ui.EditFreq->text());
}

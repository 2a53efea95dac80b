#include "app/ServerWiring.h"

#include "app/Station.h"
#include "radio/Radio.h"
#include "server/ServerMessages.h"
#include "ui/ServerWindowSettings.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QScreen>

namespace {

ServerControls serverControls(Station &station)
{
    Ui::TForm1 &m = station.Form1->ui;
    QLineEdit *line = m.StaticTextIPConnect;
    const ServerWindowSettings &settings = *station.serverSettings;
    auto channel = [&settings] { return settings.audioChannel(); };
    return ServerControls{channel, [line](const QString &text) {
                              StatusLines::setColouredText(line, text,
                                                           StatusLines::Colour::Unchanged);
                          }};
}

} // namespace

ServerWiring::ServerWiring(Station &station)
    : m_station(station),
      m_session({station.state, station.radios, station.requests, station.log, station.traffic,
                 station.IdTCPClient, [&station] { return station.serverSettings->reconnect(); }},
                serverControls(station)),
      m_settingsDialog(
          station.IdTCPClient, station.state.TxTimeoutSeconds, station.notifier(),
          [&station] { return station.currentLanguage(); }, *station.serverSettings)
{
    wire();
}

void ServerWiring::wire()
{
    TForm1 &f = *m_station.Form1;
    TFormIP &ip = *m_station.FormIP;
    TFormSimuFreq &simu = *m_station.FormSimuFreq;

    StationState &state = m_station.state;
    connect(&state, &StationState::serverChanged, this, [this] {
        StatusLines::showServer(m_station.Form1->ui.StaticTextIPConnect, m_station.state);
    });
    connect(&m_session, &ServerSession::linkDown, this,
            [this] { m_station.Form1->ui.StaticTextDTMF->clear(); });

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
            [this](bool open) { m_station.state.FrequencySimulated = open; });
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
    TFormIP &ip = *m_station.FormIP;
    const QRect main = m_station.Form1->frameGeometry();
    ip.move(main.center() - QPoint(ip.width() / 2, ip.height() / 2));
    ip.show();
    ip.raise();
    ip.activateWindow();
}

void ServerWiring::menusimuFreqClick()
{
    TFormSimuFreq &simu = *m_station.FormSimuFreq;
    simu.show();
    simu.raise();
    simu.activateWindow();
}

void ServerWiring::ButtonFreqClick()
{
    m_station.state.setCurrentFrequency(m_station.FormSimuFreq->ui.EditFreq->text());
}

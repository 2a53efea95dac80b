#include "app/ServerWiring.h"

#include "app/ServerWindowSettings.h"
#include "app/Station.h"
#include "radio/Radio.h"
#include "server/ServerMessages.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QPointer>
#include <QScreen>

#include <utility>

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
      m_reconnection(
          station.IdTCPClient, [&station] { return station.serverSettings->reconnect(); },
          [this] { m_link.open(m_station.IdTCPClient.host, m_station.IdTCPClient.port); }),
      m_dispatcher(station.state, station.radios, station.requests, serverControls(station),
                   station.log),
      m_settingsDialog(
          station.IdTCPClient, station.state.TxTimeoutSeconds, station.notifier(),
          [&station] { return station.currentLanguage(); }, *station.serverSettings),
      m_linkLog(station.log, station.IdTCPClient)
{
    wire();
}

ServerWiring::~ServerWiring()
{
    // The link's socket reports the end of its connection while it is destroyed; by then the
    // members that handle that report may be gone.
    disconnect(&m_link, nullptr, this, nullptr);
}

void ServerWiring::wire()
{
    TForm1 &f = *m_station.Form1;
    TFormIP &ip = *m_station.FormIP;
    TFormSimuFreq &simu = *m_station.FormSimuFreq;

    f.TimerIP.setInterval(PollPeriodMs);
    m_tailTimer.setSingleShot(true);
    m_tailTimer.setTimerType(Qt::PreciseTimer);
    m_tailTimer.setInterval(LineTailWaitMs);
    connect(&m_tailTimer, &QTimer::timeout, this, [this] {
        m_tailDue = true;
        handleTailIfDue();
    });
    connect(&f.TimerIP, &QTimer::timeout, this, &ServerWiring::TimerIPTimer);
    connect(&m_link, &ServerLink::connected, this, &ServerWiring::IdTCPClientConnected);
    connect(&m_link, &ServerLink::disconnected, this, &ServerWiring::IdTCPClientDisconnected);
    connect(&m_link, &ServerLink::dataArrived, this, &ServerWiring::HandleServerData);
    connect(&m_link, &ServerLink::attemptFailed, this, [this](const QString &reason) {
        m_reconnection.linkDown();
        m_linkLog.failed(reason);
    });

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

    m_dispatcher.reportFrequencyToServer = [this] { return reportFrequency(); };
    m_dispatcher.answerWithoutRadio = [this](const QString &frequency) {
        answerFrequency(frequency);
    };
}

void ServerWiring::setPollPeriodMs(int ms)
{
    m_station.Form1->TimerIP.setInterval(ms);
}

void ServerWiring::answerFrequency(const QString &frequency)
{
    const QString answer = frequency + QStringLiteral("\r\n");
    sendToServer(answer);
    emit frequencyAnswered(answer);
}

QCoro::Task<> ServerWiring::reportFrequency()
{
    // Set once this is over: an answer sent after that is shown on the server's status line
    // here, one sent before by the dispatcher.
    auto returned = std::make_shared<bool>(false);
    QPointer<ServerWiring> alive(this);
    auto send = [this, alive, returned] {
        if (!alive)
            return;
        answerFrequency(m_station.state.CurrentFrequency);
        if (*returned)
            m_dispatcher.showFrequencySent();
    };
    Radio *radio = m_station.radios.current();
    if (m_station.state.FrequencySimulated || radio == nullptr) {
        send();
        co_return;
    }
    co_await radio->requestFrequency(send);
    *returned = true;
}

void ServerWiring::keyingChanged(bool keyed)
{
    m_dispatcher.keyingChanged(keyed);
}

void ServerWiring::ButtonConnectClick()
{
    if (m_station.state.ServerConnected)
        return;
    m_reconnection.connectAsked();
    m_linkLog.connectAsked();
    m_link.open(m_station.IdTCPClient.host, m_station.IdTCPClient.port);
}

void ServerWiring::ButtonDisconnectClick()
{
    m_reconnection.disconnectAsked();
    m_lostSinceConnected = false;
    m_closingOnPurpose = true;
    m_link.close();
    m_closingOnPurpose = false;
    m_station.state.ServerConnected = false;
    m_station.Form1->TimerIP.stop();
}

void ServerWiring::IdTCPClientConnected()
{
    StationState &state = m_station.state;
    if (std::exchange(m_lostSinceConnected, false))
        emit reconnected();
    m_reconnection.linkUp();
    m_linkLog.connected();
    state.ServerConnected = true;
    m_station.Form1->TimerIP.start();
    state.ServerStatus = 1;
    StatusLines::showServer(m_station.Form1->ui.StaticTextIPConnect, state);
    HandleServerData();
}

void ServerWiring::IdTCPClientDisconnected()
{
    StationState &state = m_station.state;
    state.ServerConnected = false;
    m_station.Form1->TimerIP.stop();
    // Half a line from a connection that is gone is not the start of the next one's first line.
    m_tailTimer.stop();
    m_tailDue = false;
    m_lines.clear();
    state.ServerStatus = 0;
    StatusLines::showServer(m_station.Form1->ui.StaticTextIPConnect, state);
    m_station.Form1->ui.StaticTextDTMF->clear();
    // Nobody is left to send RECEIVE: a transmitter the server keyed is released at once rather
    // than at the transmit time-out.
    m_dispatcher.serverGone();
    const bool released = !m_closingOnPurpose && m_dispatcher.releaseServerKeying();
    m_lostSinceConnected = m_lostSinceConnected || !m_closingOnPurpose;
    m_reconnection.linkDown();
    if (released)
        m_linkLog.lost(QStringLiteral("Server connection lost: transmitter released"), true);
    else if (!m_closingOnPurpose)
        m_linkLog.lost(QStringLiteral("Server connection lost"));
}

void ServerWiring::TimerIPTimer()
{
    HandleServerData();
}

void ServerWiring::HandleServerData()
{
    const QByteArray chunk = m_link.takeAvailable();
    if (chunk.isEmpty()) {
        handleTailIfDue();
        return;
    }
    m_station.traffic.append(QString::fromLatin1(chunk));
    // The wait was for the tail this read continues.
    m_tailTimer.stop();
    m_tailDue = false;
    handleMessages(m_lines.take(chunk));
    // The new tail's own wait starts once the lines before it are carried out, so a slow radio
    // exchange does not eat it; at once when no more requests can wait (a flood), rather than
    // never.
    const auto waitForTail = [this] {
        if (m_lines.hasTail())
            m_tailTimer.start();
        else
            m_tailTimer.stop();
    };
    if (m_station.requests.isFull())
        waitForTail();
    else
        m_station.requests.submit([waitForTail]() -> QCoro::Task<> {
            waitForTail();
            co_return;
        });
    // What is left (a read is capped) is taken next, from the event loop so the window stays
    // live under a flood.
    if (m_link.bytesAvailable() > 0 || m_tailDue)
        QMetaObject::invokeMethod(this, &ServerWiring::HandleServerData, Qt::QueuedConnection);
}

// Each message is a request for the radio: carried out in the order they came, after whatever
// is under way.
void ServerWiring::handleMessages(const QList<QByteArray> &messages)
{
    for (const QByteArray &message : messages)
        m_dispatcher.take(message);
}

// No continuation came in time: the tail is handled as it stands.
void ServerWiring::handleTailIfDue()
{
    if (!m_tailDue)
        return;
    m_tailDue = false;
    handleMessages(m_lines.flush());
}

void ServerWiring::sendToServer(const QString &text)
{
    m_link.send(text.toLatin1());
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
    m_station.state.CurrentFrequency = m_station.FormSimuFreq->ui.EditFreq->text();
}

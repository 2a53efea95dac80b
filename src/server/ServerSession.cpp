#include "server/ServerSession.h"

#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "platform/LinkSettings.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"

#include <QPointer>

#include <utility>

ServerSession::ServerSession(const Parts &parts, const ServerControls &controls, QObject *parent)
    : QObject(parent), m_state(parts.state), m_radios(parts.radios), m_requests(parts.requests),
      m_traffic(parts.traffic), m_address(parts.address),
      m_reconnection(parts.address, parts.reconnect,
                     [this] { m_link.open(m_address.host, m_address.port); }),
      m_dispatcher(parts.state, parts.radios, parts.requests, controls, parts.log),
      m_linkLog(parts.log, parts.address)
{
    m_poll.setInterval(PollPeriodMs);
    m_tailTimer.setSingleShot(true);
    m_tailTimer.setTimerType(Qt::PreciseTimer);
    m_tailTimer.setInterval(LineTailWaitMs);
    connect(&m_tailTimer, &QTimer::timeout, this, [this] {
        m_tailDue = true;
        handleTailIfDue();
    });
    connect(&m_poll, &QTimer::timeout, this, &ServerSession::handleServerData);
    connect(&m_link, &ServerLink::connected, this, &ServerSession::linkConnected);
    connect(&m_link, &ServerLink::disconnected, this, &ServerSession::linkDisconnected);
    connect(&m_link, &ServerLink::dataArrived, this, &ServerSession::handleServerData);
    connect(&m_link, &ServerLink::attemptFailed, this, [this](const QString &reason) {
        m_reconnection.linkDown();
        m_linkLog.failed(reason);
    });
    m_dispatcher.reportFrequencyToServer = [this] { return reportFrequency(); };
    m_dispatcher.answerWithoutRadio = [this](const QString &frequency) {
        answerFrequency(frequency);
    };
}

ServerSession::~ServerSession()
{
    // The link's socket reports the end of its connection while it is destroyed; by then the
    // members that handle that report may be gone.
    disconnect(&m_link, nullptr, this, nullptr);
}

void ServerSession::connectToServer()
{
    if (m_state.ServerConnected)
        return;
    m_reconnection.connectAsked();
    m_linkLog.connectAsked();
    m_link.open(m_address.host, m_address.port);
}

void ServerSession::disconnectFromServer()
{
    m_reconnection.disconnectAsked();
    m_lostSinceConnected = false;
    m_closingOnPurpose = true;
    m_link.close();
    m_closingOnPurpose = false;
    m_state.setServerConnected(false);
    m_poll.stop();
}

void ServerSession::keyingChanged(bool keyed)
{
    m_dispatcher.keyingChanged(keyed);
}

void ServerSession::linkConnected()
{
    if (std::exchange(m_lostSinceConnected, false))
        emit reconnected();
    m_reconnection.linkUp();
    m_linkLog.connected();
    m_poll.start();
    m_state.setServerConnected(true);
    handleServerData();
}

void ServerSession::linkDisconnected()
{
    m_poll.stop();
    // Half a line from a connection that is gone is not the start of the next one's first line.
    m_tailTimer.stop();
    m_tailDue = false;
    m_lines.clear();
    m_state.setServerConnected(false);
    emit linkDown();
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

void ServerSession::answerFrequency(const QString &frequency)
{
    const QString answer = frequency + QStringLiteral("\r\n");
    sendToServer(answer);
    emit frequencyAnswered(answer);
}

QCoro::Task<> ServerSession::reportFrequency()
{
    // Set once this is over: an answer sent after that is shown on the server's status line
    // here, one sent before by the dispatcher.
    auto returned = std::make_shared<bool>(false);
    QPointer<ServerSession> alive(this);
    auto send = [this, alive, returned] {
        if (!alive)
            return;
        answerFrequency(m_state.CurrentFrequency);
        if (*returned)
            m_dispatcher.showFrequencySent();
    };
    Radio *radio = m_radios.current();
    if (m_state.FrequencySimulated || radio == nullptr) {
        send();
        co_return;
    }
    co_await radio->requestFrequency(send);
    *returned = true;
}

void ServerSession::handleServerData()
{
    const QByteArray chunk = m_link.takeAvailable();
    if (chunk.isEmpty()) {
        handleTailIfDue();
        return;
    }
    m_traffic.append(QString::fromLatin1(chunk));
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
    if (m_requests.isFull())
        waitForTail();
    else
        m_requests.submit([waitForTail]() -> QCoro::Task<> {
            waitForTail();
            co_return;
        });
    // What is left (a read is capped) is taken next, from the event loop so the window stays
    // live under a flood.
    if (m_link.bytesAvailable() > 0 || m_tailDue)
        QMetaObject::invokeMethod(this, &ServerSession::handleServerData, Qt::QueuedConnection);
}

// Each message is a request for the radio: carried out in the order they came, after whatever
// is under way.
void ServerSession::handleMessages(const QList<QByteArray> &messages)
{
    for (const QByteArray &message : messages)
        m_dispatcher.take(message);
}

// No continuation came in time: the tail is handled as it stands.
void ServerSession::handleTailIfDue()
{
    if (!m_tailDue)
        return;
    m_tailDue = false;
    handleMessages(m_lines.flush());
}

void ServerSession::sendToServer(const QString &text)
{
    m_link.send(text.toLatin1());
}

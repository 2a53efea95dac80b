#include "server/ServerDispatcher.h"

#include "core/EventLog.h"
#include "core/LocalTime.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"

#include <QLocale>
#include <QTime>
#include <utility>

ServerDispatcher::ServerDispatcher(StationState &state, RadioSelector &radios,
                                   RadioRequests &requests, const ServerControls &controls,
                                   EventLog &log)
    : m_state(state), m_log(log), m_radios(radios), m_requests(requests), m_controls(controls),
      m_kept(state, radios, log)
{
    QObject::connect(&m_kept, &KeptTransmit::due, &m_kept,
                     [this] { m_requests.submitKey([this] { return serverTransmit(); }); });
}

AudioChannel ServerDispatcher::audioChannel() const
{
    return m_controls.audioChannel ? m_controls.audioChannel() : AudioChannel::Right;
}

void ServerDispatcher::take(const QByteArray &message)
{
    auto request = [this, message] { return handle(message); };
    switch (ServerMessages::classify(message)) {
    case ServerCommand::TransmitLeft:
    case ServerCommand::TransmitRight:
        m_requests.submitKey(request);
        break;
    case ServerCommand::ReceiveLeft:
    case ServerCommand::ReceiveRight:
        m_requests.submitUnkey(request);
        break;
    case ServerCommand::ReportFrequency:
        // The server waits for an answer: a question the queue has no room for gets the one of a
        // radio that does not answer.
        m_requests.submit(request, [this] {
            if (answerWithoutRadio)
                answerWithoutRadio(QStringLiteral("999.999999"));
        });
        break;
    default:
        m_requests.submit(request);
        break;
    }
}

QCoro::Task<> ServerDispatcher::handle(QByteArray message)
{
    const ServerCommand command = ServerMessages::classify(message);
    switch (command) {
    case ServerCommand::ReportFrequency:
        co_await reportFrequency();
        break;
    case ServerCommand::TransmitLeft:
    case ServerCommand::TransmitRight:
        if (ServerMessages::channelAccepts(command, audioChannel()))
            co_await serverTransmit();
        break;
    case ServerCommand::ReceiveLeft:
    case ServerCommand::ReceiveRight:
        if (ServerMessages::channelAccepts(command, audioChannel()))
            co_await receive();
        break;
    case ServerCommand::GenericUp:
    case ServerCommand::GenericDown:
        // Only a transmitter that steps through channels takes these.
        if (Radio *radio = m_radios.current())
            radio->step(command == ServerCommand::GenericUp);
        break;
    case ServerCommand::Dtmf:
        if (const auto characters = ServerMessages::dtmfCharacters(message))
            co_await handOnDtmf(*characters);
        break;
    case ServerCommand::SMeter:
    case ServerCommand::Idle:
    case ServerCommand::Nothing:
        break;
    }
}

QCoro::Task<> ServerDispatcher::reportFrequency()
{
    if (reportFrequencyToServer)
        co_await reportFrequencyToServer();
    showFrequencySent();
}

void ServerDispatcher::showFrequencySent()
{
    if (m_controls.showOnStatusLine)
        m_controls.showOnStatusLine(QStringLiteral("F=") + m_state.CurrentFrequency +
                                    QLatin1Char('/') +
                                    LocalTime::timeOfDay(QLocale::system(), QTime::currentTime()));
}

// A repeated request changes nothing, so it cannot turn into its opposite.
QCoro::Task<> ServerDispatcher::transmit()
{
    // A message read after its connection went (a batch carried out behind a slow radio) must not
    // key a transmitter that nobody is left to unkey.
    if (!m_state.ServerConnected)
        co_return;
    if (m_state.TxLockedOut) {
        if (!std::exchange(m_lockoutLogged, true))
            m_log.append(QStringLiteral("TX locked out until RECEIVE"));
        co_return;
    }
    m_lockoutLogged = false;
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        co_return;
    // A radio being recovered is keyed once it is ready: until then nothing could tell whether
    // it went back to receive.
    if (!m_kept.radioReady(*radio)) {
        m_kept.keep();
        co_return;
    }
    co_await radio->setTransmit(true);
}

QCoro::Task<> ServerDispatcher::serverTransmit()
{
    m_serverTransmitting = true;
    co_await transmit();
    m_serverTransmitting = false;
}

QCoro::Task<> ServerDispatcher::receive()
{
    m_kept.drop();
    m_state.TxLockedOut = false;
    m_lockoutLogged = false;
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        co_return;
    if (radio->state().keyed()) {
        // Unkeying is tried even after the radio missed an exchange: a transmitter left keyed
        // costs more than a wait for a radio that may not answer.
        co_await radio->setTransmit(false);
    } else if (!m_state.RigAnswering) {
        // A radio that does not answer may be keyed without the panel knowing it.
        co_await radio->ensureReceive();
    }
}

// Taken at the keying itself rather than after transmit() is over: the link may drop while a
// Kenwood's TX exchange waits for its reply.
void ServerDispatcher::keyingChanged(bool keyed)
{
    m_keyedByServer = keyed && m_serverTransmitting;
}

void ServerDispatcher::serverGone()
{
    m_kept.drop();
}

bool ServerDispatcher::releaseServerKeying()
{
    if (!std::exchange(m_keyedByServer, false))
        return false;
    const Radio *radio = m_radios.current();
    if (radio == nullptr || !radio->state().keyed())
        return false;
    m_requests.submitUnkey([this] { return receive(); });
    return true;
}

QCoro::Task<> ServerDispatcher::handOnDtmf(QString characters)
{
    m_state.DtmfLastChars = characters;
    if (receiveDtmf)
        co_await receiveDtmf(m_state.DtmfLastChars);
}

#include "server/ServerDispatcher.h"

#include "core/EventLog.h"
#include "core/LocalTime.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"

#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QTime>
#include <utility>

ServerDispatcher::ServerDispatcher(StationState &state, RadioSelector &radios,
                                   const ServerControls &controls, EventLog &log)
    : m_state(state), m_log(log), m_radios(radios), m_controls(controls)
{
}

AudioChannel ServerDispatcher::audioChannel() const
{
    if (m_controls.RadioButtonLeft->isChecked())
        return AudioChannel::Left;
    if (m_controls.RadioButtonBoth->isChecked())
        return AudioChannel::Both;
    return AudioChannel::Right;
}

void ServerDispatcher::handle(const QByteArray &message)
{
    const ServerCommand command = LineFramer::classify(message);
    switch (command) {
    case ServerCommand::ReportFrequency:
        reportFrequency();
        break;
    case ServerCommand::TransmitLeft:
    case ServerCommand::TransmitRight:
        if (LineFramer::channelAccepts(command, audioChannel())) {
            m_serverTransmitting = true;
            transmit();
            m_serverTransmitting = false;
        }
        break;
    case ServerCommand::ReceiveLeft:
    case ServerCommand::ReceiveRight:
        if (LineFramer::channelAccepts(command, audioChannel()))
            receive();
        break;
    case ServerCommand::GenericUp:
    case ServerCommand::GenericDown:
        // Only a transmitter that steps through channels takes these.
        if (Radio *radio = m_radios.current())
            radio->step(command == ServerCommand::GenericUp);
        break;
    case ServerCommand::Dtmf:
        if (const auto characters = LineFramer::dtmfCharacters(message))
            handOnDtmf(*characters);
        break;
    case ServerCommand::SMeter:
    case ServerCommand::Idle:
    case ServerCommand::Nothing:
        break;
    }
}

void ServerDispatcher::reportFrequency()
{
    if (reportFrequencyToServer)
        reportFrequencyToServer();
    showFrequencySent();
}

void ServerDispatcher::showFrequencySent()
{
    if (m_controls.showOnStatusLine)
        m_controls.showOnStatusLine(
            QStringLiteral("F=") + m_state.CurrentFrequency + QLatin1Char('/') +
            LocalTime::timeOfDay(QLocale::system(), QTime::currentTime()));
}

// A repeated request changes nothing, so it cannot turn into its opposite.
void ServerDispatcher::transmit()
{
    // A message read after its connection went (a batch carried out behind a slow radio) must not
    // key a transmitter that nobody is left to unkey.
    if (!m_state.ServerConnected)
        return;
    if (m_state.TxLockedOut) {
        if (!std::exchange(m_lockoutLogged, true))
            m_log.append(QStringLiteral("TX locked out until RECEIVE"));
        return;
    }
    m_lockoutLogged = false;
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        return;
    // A radio that does not answer is not keyed: nothing could tell whether it went back.
    if (radio->capabilities().answers && !m_state.RigAnswering)
        return;
    radio->setTransmit(true);
}

void ServerDispatcher::receive()
{
    m_state.TxLockedOut = false;
    m_lockoutLogged = false;
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        return;
    if (radio->state().keyed()) {
        // Unkeying is tried even after the radio missed an exchange: a transmitter left keyed
        // costs more than a wait for a radio that may not answer.
        radio->setTransmit(false);
    } else if (!m_state.RigAnswering) {
        // A radio that does not answer may be keyed without the panel knowing it.
        radio->ensureReceive();
    }
}

// Taken at the keying itself rather than after transmit() returns: a Kenwood's TX exchange keeps
// the event loop running, and the link may drop during it.
void ServerDispatcher::keyingChanged(bool keyed)
{
    m_keyedByServer = keyed && m_serverTransmitting;
}

bool ServerDispatcher::releaseServerKeying()
{
    if (!std::exchange(m_keyedByServer, false))
        return false;
    const Radio *radio = m_radios.current();
    if (radio == nullptr || !radio->state().keyed())
        return false;
    receive();
    return true;
}

void ServerDispatcher::handOnDtmf(const QString &characters)
{
    m_state.DtmfLastChars = characters;
    if (receiveDtmf)
        receiveDtmf(m_state.DtmfLastChars);
}

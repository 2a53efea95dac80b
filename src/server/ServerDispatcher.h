#pragma once

#include "server/KeptTransmit.h"
#include "server/ServerMessages.h"

#include <QByteArray>
#include <QCoroTask>
#include <functional>

class Radio;
class RadioRequests;
class RadioSelector;
class EventLog;
struct StationState;

// What a server message reads its setting from and shows its outcome on.
struct ServerControls
{
    // The audio channel whose TRANSMIT and RECEIVE are obeyed (the server dialog's choice).
    std::function<AudioChannel()> audioChannel;
    // Puts a text on the server status line, its colour kept.
    std::function<void(const QString &)> showOnStatusLine;
};

// Carries out the messages from the relay server on the radio in use, each as a request of its
// own: in the order they came, except RECEIVE, which never waits behind other work.
class ServerDispatcher
{
public:
    ServerDispatcher(StationState &state, RadioSelector &radios, RadioRequests &requests,
                     const ServerControls &controls, EventLog &log);

    // Set by the owner: works out the frequency of the radio in use and sends it.
    std::function<QCoro::Task<>()> reportFrequencyToServer;
    // Set by the owner: sends a frequency answer at once, without asking the radio.
    std::function<void(const QString &)> answerWithoutRadio;
    // Set by the owner: hands DTMF characters to the interpreter.
    std::function<QCoro::Task<>(const QString &)> receiveDtmf;

    // Hands the message to the requests.
    void take(const QByteArray &message);
    // Carries the message out, now.
    QCoro::Task<> handle(QByteArray message);
    // "F=" and the frequency just sent, with the time, on the server status line.
    void showFrequencySent();

    // The audio channel the checked radio button stands for.
    AudioChannel audioChannel() const;

    // The radio was keyed or unkeyed, by whatever means.
    void keyingChanged(bool keyed);
    // The server went away without sending RECEIVE: a radio its TRANSMIT keyed, and that nothing
    // unkeyed since, is unkeyed as RECEIVE would. True when it was.
    bool releaseServerKeying();
    // The connection is gone, lost or closed: a TRANSMIT kept for a radio being recovered is
    // forgotten, so that it cannot key the radio under the next connection.
    void serverGone();

private:
    QCoro::Task<> reportFrequency();
    QCoro::Task<> transmit();
    QCoro::Task<> serverTransmit();
    QCoro::Task<> receive();
    QCoro::Task<> handOnDtmf(QString characters);

    StationState &m_state;
    EventLog &m_log;
    bool m_lockoutLogged = false;
    RadioSelector &m_radios;
    RadioRequests &m_requests;
    ServerControls m_controls;
    bool m_serverTransmitting = false; // a server TRANSMIT is being carried out
    bool m_keyedByServer = false;
    KeptTransmit m_kept;
};

#pragma once

#include "server/LineFramer.h"

#include <QByteArray>
#include <functional>

class QRadioButton;
class Radio;
class RadioSelector;
class EventLog;
struct StationState;

// The controls a server message acts on or reads its settings from.
struct ServerControls
{
    QRadioButton *RadioButtonLeft = nullptr;
    QRadioButton *RadioButtonRight = nullptr;
    QRadioButton *RadioButtonBoth = nullptr;
    // Puts a text on the server status line, its colour kept.
    std::function<void(const QString &)> showOnStatusLine;
};

// Carries out one message from the relay server on the radio in use.
class ServerDispatcher
{
public:
    ServerDispatcher(StationState &state, RadioSelector &radios, const ServerControls &controls,
                     EventLog &log);

    // Set by the owner: works out the frequency of the radio in use and sends it.
    std::function<void()> reportFrequencyToServer;
    // Set by the owner: hands DTMF characters to the interpreter.
    std::function<void(const QString &)> receiveDtmf;

    void handle(const QByteArray &message);
    // "F=" and the frequency just sent, with the time, on the server status line.
    void showFrequencySent();

    // The audio channel the checked radio button stands for.
    AudioChannel audioChannel() const;

    // The radio was keyed or unkeyed, by whatever means.
    void keyingChanged(bool keyed);
    // The server went away without sending RECEIVE: a radio its TRANSMIT keyed, and that nothing
    // unkeyed since, is unkeyed as RECEIVE would. True when it was.
    bool releaseServerKeying();

private:
    void reportFrequency();
    void transmit();
    void receive();
    void handOnDtmf(const QString &characters);

    StationState &m_state;
    EventLog &m_log;
    bool m_lockoutLogged = false;
    RadioSelector &m_radios;
    ServerControls m_controls;
    bool m_serverTransmitting = false; // a server TRANSMIT is being carried out
    bool m_keyedByServer = false;
};

#pragma once

#include <QCoroTask>
#include <QObject>

class Radio;
class RadioRequests;
class RadioSelector;
struct StationState;

// The operator keys and unkeys the radio in use by hand (the space bar): a request like any
// other, which does not key a radio that missed an exchange, even once it answers again by the
// time the request's turn comes. A radio without the transceiver panel (the generic
// transmitter) is keyed only by the server.
class ManualKeying : public QObject
{
    Q_OBJECT
public:
    ManualKeying(const StationState &state, RadioSelector &radios, RadioRequests &requests,
                 QObject *parent = nullptr);

    // Keys the radio in use when it is not keyed, unkeys it otherwise.
    void toggle();

private:
    QCoro::Task<> setTransmit(Radio *radio, bool on);

    const StationState &m_state;
    RadioSelector &m_radios;
    RadioRequests &m_requests;
};

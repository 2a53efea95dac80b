#include "radio/TransmitTimeout.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"

TransmitTimeout::TransmitTimeout(StationState &state, EventLog &log, const QList<Radio *> &radios,
                                 RadioRequests &requests, QObject *parent)
    : QObject(parent), m_state(state), m_log(log), m_requests(requests)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TransmitTimeout::expire);
    for (Radio *radio : radios) {
        connect(&radio->state(), &RadioState::keyedChanged, this,
                [this, radio](bool keyed) { keyingChanged(radio, keyed); });
    }
}

void TransmitTimeout::keyingChanged(Radio *radio, bool keyed)
{
    if (keyed) {
        // The server's keying is refused while locked out: this one came from someone else.
        m_state.TxLockedOut = false;
        m_keyed = radio;
        if (m_state.TxTimeoutSeconds > 0)
            m_timer.start(m_state.TxTimeoutSeconds * 1000);
        else
            m_timer.stop();
    } else if (radio == m_keyed) {
        m_keyed = nullptr;
        m_timer.stop();
    }
}

void TransmitTimeout::expire()
{
    Radio *radio = m_keyed;
    if (radio == nullptr || !radio->state().keyed())
        return;
    // Locked out until the server's RECEIVE: a TRANSMIT that comes meanwhile is refused.
    m_state.TxLockedOut = true;
    // Never behind a long request: the unkey goes right after the exchange in flight.
    m_requests.submitUnkey([radio] { return radio->setTransmit(false); });
    m_log.append(QStringLiteral("TX time-out"));
    emit expired();
}

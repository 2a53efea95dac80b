#include "server/KeptTransmit.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"

KeptTransmit::KeptTransmit(StationState &state, RadioSelector &radios, EventLog &log,
                           QObject *parent)
    : QObject(parent), m_state(state), m_radios(radios), m_log(log)
{
    m_expiry.setSingleShot(true);
    connect(&m_expiry, &QTimer::timeout, this, &KeptTransmit::expire);
}

bool KeptTransmit::radioReady(const Radio &radio) const
{
    if (!radio.capabilities().answers)
        return true;
    return m_state.RigAnswering && radio.state().panelEnabled();
}

void KeptTransmit::keep()
{
    if (m_kept)
        return;
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        return;
    m_kept = true;
    // Whichever comes last of the two: the panel enabled, the status that says it answers.
    const auto look = [this, radio] { radioChanged(radio); };
    m_watch = connect(&radio->state(), &RadioState::changed, this, look);
    m_statusWatch = connect(&radio->state(), &RadioState::rigStatusChanged, this, look);
    m_log.append(QStringLiteral("TRANSMIT kept until the radio is ready"));
    // Kept no longer than the transmitter would have been keyed.
    if (m_state.TxTimeoutSeconds > 0)
        m_expiry.start(m_state.TxTimeoutSeconds * 1000);
}

void KeptTransmit::drop()
{
    m_kept = false;
    m_expiry.stop();
    disconnect(m_watch);
    disconnect(m_statusWatch);
}

void KeptTransmit::radioChanged(Radio *radio)
{
    if (!m_kept || radio != m_radios.current() || !radioReady(*radio))
        return;
    drop();
    emit due();
}

void KeptTransmit::expire()
{
    if (!m_kept)
        return;
    drop();
    m_log.append(QStringLiteral("TRANSMIT dropped: radio not ready within the TX time-out"));
}

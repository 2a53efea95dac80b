#include "radio/ManualKeying.h"

#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"

ManualKeying::ManualKeying(const StationState &state, RadioSelector &radios,
                           RadioRequests &requests, QObject *parent)
    : QObject(parent), m_state(state), m_radios(radios), m_requests(requests)
{
}

void ManualKeying::toggle()
{
    Radio *radio = m_radios.current();
    if (radio == nullptr || radio->capabilities().panel != Capabilities::Panel::Transceiver)
        return;
    const bool on = !radio->state().keyed();
    if (on && !m_state.RigAnswering)
        return;
    auto request = [this, radio, on] { return setTransmit(radio, on); };
    if (on)
        m_requests.submitKey(request);
    else
        m_requests.submitUnkey(request);
}

// Counts again when it runs: a radio that missed an exchange meanwhile is not keyed, but it can
// still be unkeyed.
QCoro::Task<> ManualKeying::setTransmit(Radio *radio, bool on)
{
    if (radio != m_radios.current())
        co_return;
    const bool keyed = radio->state().keyed();
    if (!m_state.RigAnswering && !keyed)
        co_return;
    co_await radio->setTransmit(on);
}

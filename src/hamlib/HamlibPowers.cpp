#include "hamlib/HamlibPowers.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "hamlib/HamlibLink.h"
#include "radio/RadioState.h"

#include <utility>

HamlibPowers::HamlibPowers(StationState &state, RadioState &radio, EventLog &log, HamlibLink &link,
                           std::function<bool()> radioTakes)
    : m_state(state), m_radio(radio), m_log(log), m_link(link), m_radioTakes(std::move(radioTakes))
{
}

void HamlibPowers::setCapabilities(const HamlibCapabilities &caps)
{
    m_power = caps.power;
    m_twoBands = caps.twoBands;
    for (int band : {0, 1})
        m_asked[band] = m_before[band] = m_radio.band(band).power;
}

void HamlibPowers::show(int band, int position)
{
    m_radio.setPower(band, position);
}

void HamlibPowers::read(int band, int position)
{
    m_asked[band] = m_before[band] = position;
    show(band, position);
}

bool HamlibPowers::canSet(int band) const
{
    return m_power && (band == 0 || m_twoBands);
}

void HamlibPowers::send(int band)
{
    m_before[band] = m_asked[band];
    m_asked[band] = m_radio.band(band).power;
    m_link.setPower(band, band == m_state.ActiveBand, m_asked[band]);
}

// A position already set sends nothing, as a slider that does not move. The slider and the
// saved power show only what the radio took: a power the radio cannot take now is not shown
// as its power.
void HamlibPowers::set(int band, int position)
{
    if (!m_radioTakes()) {
        m_waiting[band] = position;
        return;
    }
    m_waiting[band] = -1;
    // A radio without that setting: the code does nothing, as the disabled slider.
    if (!canSet(band) || m_radio.band(band).power == position)
        return;
    m_radio.setPower(band, position);
    send(band);
}

void HamlibPowers::applyWaiting()
{
    for (int band : {0, 1}) {
        const int position = std::exchange(m_waiting[band], -1);
        if (position < 0)
            continue;
        if (!canSet(band)) {
            m_log.append(QStringLiteral("Hamlib: power of band %1 not set, the radio has no "
                                        "power setting")
                             .arg(band == 1 ? QLatin1Char('B') : QLatin1Char('A')));
            continue;
        }
        set(band, position);
    }
}

void HamlibPowers::refused(int band)
{
    m_asked[band] = m_before[band];
    show(band, m_asked[band]);
}

void HamlibPowers::notTaken(int band)
{
    m_waiting[band] = m_asked[band];
    refused(band);
}

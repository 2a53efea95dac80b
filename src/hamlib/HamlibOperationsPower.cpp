// HamlibOperations' power settings: the sliders and the saved powers show only what the radio
// took; a power the radio cannot take now waits, unshown, until it answers.
#include "core/EventLog.h"
#include "core/StationState.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibOperations.h"
#include "radio/RadioState.h"

void HamlibOperations::showPower(int band, int position)
{
    m_radio.setPower(band, position);
}

bool HamlibOperations::canSetPower(int band) const
{
    return m_caps.power && (band == 0 || m_caps.twoBands);
}

void HamlibOperations::powerChanged(int band)
{
    m_powerBefore[band] = m_powerAsked[band];
    m_powerAsked[band] = m_radio.band(band).power;
    m_link.setPower(band, band == m_state.ActiveBand, m_powerAsked[band]);
    m_releaseFocus();
}

// A position already set sends nothing, as a slider that does not move. The slider and the
// saved power show only what the radio took: a power the radio cannot take now is not shown
// as its power.
void HamlibOperations::setPower(int band, int position)
{
    if (!m_link.isStarted() || !m_state.RigAnswering || !m_initialised || m_initialising) {
        m_powerWaiting[band] = position;
        return;
    }
    m_powerWaiting[band] = -1;
    // A radio without that setting: the code does nothing, as the disabled slider.
    if (!canSetPower(band) || m_radio.band(band).power == position)
        return;
    m_radio.setPower(band, position);
    powerChanged(band);
}

void HamlibOperations::applyWaitingPowers()
{
    for (int band : {0, 1}) {
        const int position = std::exchange(m_powerWaiting[band], -1);
        if (position < 0)
            continue;
        if (!canSetPower(band)) {
            m_log.append(QStringLiteral("Hamlib: power of band %1 not set, the radio has no "
                                        "power setting")
                             .arg(band == 1 ? QLatin1Char('B') : QLatin1Char('A')));
            continue;
        }
        setPower(band, position);
    }
}

// The radio did not answer the power sent: the slider goes back to the power it had, and the
// one asked waits for the radio.
void HamlibOperations::powerNotTaken(int band)
{
    m_powerWaiting[band] = m_powerAsked[band];
    m_powerAsked[band] = m_powerBefore[band];
    showPower(band, m_powerAsked[band]);
}

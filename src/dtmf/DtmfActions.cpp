#include "dtmf/DtmfActions.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"

DtmfActions::DtmfActions(StationState &state, EventLog &log, RadioSelector &radios,
                         const DtmfStationControls &controls)
    : m_state(state), m_log(log), m_radios(radios), m_c(controls)
{
}

bool DtmfActions::recallsMemories() const
{
    const Radio *radio = m_radios.current();
    return radio == nullptr || radio->capabilities().memories;
}

QStringList DtmfActions::entries() const
{
    const Radio *radio = m_radios.current();
    return radio ? radio->state().memories() : QStringList();
}

void DtmfActions::choose(int index)
{
    if (Radio *radio = m_radios.current())
        radio->state().setCurrentMemory(index);
}

void DtmfActions::log(const QString &text)
{
    m_log.append(text);
}

// A scan already running is stopped first so that it starts again from the current channel; the
// radio's rules refuse both where the panel offers no scan.
QCoro::Task<> DtmfActions::restartScan(Radio &radio, int band)
{
    co_await radio.setScan(band, false);
    co_await radio.setScan(band, true);
}

namespace {

// The power slider's position an action asks for: 0 high, 1 medium, 2 low.
int powerPosition(DtmfAction action)
{
    switch (action) {
    case DtmfAction::PowerHighA:
    case DtmfAction::PowerHighB:
        return 0;
    case DtmfAction::PowerMediumA:
    case DtmfAction::PowerMediumB:
        return 1;
    default:
        return 2;
    }
}

} // namespace

QCoro::Task<bool> DtmfActions::carryOut(DtmfAction action)
{
    using A = DtmfAction;
    Radio *current = m_radios.current();
    if (current == nullptr) {
        // Saving needs no radio.
        if (action == A::SaveAndInitialise)
            m_c.saveConfiguration();
        co_return action == A::SaveAndInitialise;
    }
    Radio &radio = *current;
    const Capabilities caps = radio.capabilities();
    switch (action) {
    case A::TransmitOnA:
    case A::TransmitOnB:
    case A::VfoModeA:
    case A::VfoModeB:
    case A::LastMemoryA:
    case A::LastMemoryB: {
        const bool bandB =
            action == A::TransmitOnB || action == A::VfoModeB || action == A::LastMemoryB;
        const int band = bandB ? 1 : 0;
        if (!caps.vfoMemoryModes || !m_state.bandAllowed(band))
            co_return false;
        if (action == A::TransmitOnA || action == A::TransmitOnB) {
            co_await radio.selectBand(band);
        } else if (action == A::VfoModeA || action == A::VfoModeB) {
            co_await radio.vfoMode(band);
        } else {
            m_state.MemoryNumberText.clear(); // the band's last memory
            co_await radio.memoryMode(band);
        }
        co_return true;
    }
    case A::VfoModeActive:
        if (!caps.vfoMemoryModes)
            co_return false;
        co_await radio.vfoMode(m_state.ActiveBand == 1 ? 1 : 0);
        co_return true;
    case A::PowerLowA:
    case A::PowerMediumA:
    case A::PowerHighA:
        if (caps.powerSteps == 0)
            co_return false;
        co_await radio.setPower(0, powerPosition(action));
        co_return true;
    case A::PowerLowB:
    case A::PowerMediumB:
    case A::PowerHighB:
        if (caps.powerSteps == 0)
            co_return false;
        co_await radio.setPower(1, powerPosition(action));
        co_return true;
    case A::Transmit:
        co_await radio.setTransmit(true);
        co_return false;
    case A::Receive:
        co_await radio.setTransmit(false);
        co_return false;
    case A::ScanStart:
        if (!caps.scanOnCommand)
            co_return false;
        if (caps.stepping) {
            // The stepping transmitter's scan goes on from where it is.
            co_await radio.setScan(0, true);
            co_return true;
        }
        for (int band = 0; band < caps.bands; ++band)
            co_await restartScan(radio, band);
        co_return true;
    case A::ScanStop:
        if (!caps.scanOnCommand)
            co_return false;
        for (int band = 0; band < caps.bands; ++band)
            co_await radio.setScan(band, false);
        co_return true;
    case A::StepUp:
    case A::StepDown:
        radio.step(action == A::StepUp);
        co_return false;
    case A::ResetChannel:
        radio.resetChannel();
        co_return false;
    case A::CircularScan:
    case A::ElevatorScan:
        radio.setCircularScan(action == A::CircularScan);
        co_return false;
    case A::ResynchroniseUp:
    case A::ResynchroniseDown:
        radio.resynchronise(action == A::ResynchroniseUp);
        co_return false;
    case A::SaveAndInitialise:
        m_c.saveConfiguration();
        if (caps.initialisesOnCommand)
            radio.initialise();
        co_return true;
    default:
        co_return false;
    }
}

QCoro::Task<> DtmfActions::recallMemory(Radio &radio, int band, QString logPrefixA,
                                        QString logPrefixB, QString logged)
{
    co_await radio.memoryMode(band);
    log((band == 1 ? logPrefixB : logPrefixA) + logged);
}

QCoro::Task<> DtmfActions::actOnFound(DtmfAction action, QString value, int index)
{
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        co_return;
    const Capabilities caps = radio->capabilities();
    // Taken before the operation: the log names what the code selected, whatever the memory
    // operation makes of the shared number.
    const QString number = m_state.MemoryNumberText;
    const QString memA = QStringLiteral("MEM A=");
    const QString memB = QStringLiteral("MEM B=");
    const int activeBand = m_state.ActiveBand == 1 ? 1 : 0;
    switch (action) {
    case DtmfAction::MemoryA:
    case DtmfAction::MemoryB: {
        const int band = action == DtmfAction::MemoryB ? 1 : 0;
        if (caps.memories && m_state.bandAllowed(band))
            co_await recallMemory(*radio, band, memA, memB, number);
        break;
    }
    case DtmfAction::MemoryActive:
    case DtmfAction::FrequencyActive:
        if (caps.stepping) {
            radio->goToChannel(index);
            log(QStringLiteral("MEM TX16UD =") + number);
        } else if (action == DtmfAction::MemoryActive) {
            co_await recallMemory(*radio, activeBand, memA, memB, number);
        } else {
            co_await recallMemory(*radio, activeBand, QStringLiteral("FREQ A="),
                                  QStringLiteral("FREQ B="), value);
        }
        break;
    default:
        break;
    }
}

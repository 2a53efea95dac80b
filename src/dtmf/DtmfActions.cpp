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

bool DtmfActions::stepsChannels() const
{
    const Radio *radio = m_radios.current();
    return radio && radio->capabilities().stepping;
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

QCoro::Task<bool> DtmfActions::carryOut(int action)
{
    Radio *current = m_radios.current();
    if (current == nullptr) {
        // Saving needs no radio.
        if (action == 99)
            m_c.saveConfiguration();
        co_return action == 99;
    }
    Radio &radio = *current;
    const Capabilities caps = radio.capabilities();
    switch (action) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6: {
        const int band = action % 2 == 0 ? 1 : 0;
        if (!caps.vfoMemoryModes || !m_state.bandAllowed(band))
            co_return false;
        if (action <= 2) {
            co_await radio.selectBand(band);
        } else if (action <= 4) {
            co_await radio.vfoMode(band);
        } else {
            m_state.MemoryNumberText.clear(); // the band's last memory
            co_await radio.memoryMode(band);
        }
        co_return true;
    }
    case 9:
        if (!caps.vfoMemoryModes)
            co_return false;
        co_await radio.vfoMode(m_state.ActiveBand == 1 ? 1 : 0);
        co_return true;
    case 20:
    case 21:
    case 22:
        if (caps.powerSteps == 0)
            co_return false;
        co_await radio.setPower(0, 22 - action); // 20 Low (2), 21 Medium (1), 22 High (0)
        co_return true;
    case 23:
    case 24:
    case 25:
        if (caps.powerSteps == 0)
            co_return false;
        co_await radio.setPower(1, 25 - action);
        co_return true;
    case 26:
        co_await radio.setTransmit(true);
        co_return false;
    case 27:
        co_await radio.setTransmit(false);
        co_return false;
    case 30:
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
    case 31:
        if (!caps.scanOnCommand)
            co_return false;
        for (int band = 0; band < caps.bands; ++band)
            co_await radio.setScan(band, false);
        co_return true;
    case 32:
    case 33:
        radio.step(action == 32);
        co_return false;
    case 34:
        radio.resetChannel();
        co_return false;
    case 35:
    case 36:
        radio.setCircularScan(action == 35);
        co_return false;
    case 40:
    case 41:
        radio.resynchronise(action == 40);
        co_return false;
    case 99:
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

QCoro::Task<> DtmfActions::actOnFound(int action, QString value, int index)
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
    case 7:
    case 8:
        if (caps.memories && m_state.bandAllowed(action == 8 ? 1 : 0))
            co_await recallMemory(*radio, action == 8 ? 1 : 0, memA, memB, number);
        break;
    case 10:
    case 11:
        if (caps.stepping) {
            radio->goToChannel(index);
            log(QStringLiteral("MEM TX16UD =") + number);
        } else if (action == 10) {
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

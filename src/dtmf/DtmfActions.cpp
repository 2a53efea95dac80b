#include "dtmf/DtmfActions.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"

#include <QAction>
#include <QComboBox>

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
    if (radio == nullptr)
        return {};
    if (!radio->capabilities().stepping)
        return radio->state().memories();
    QStringList texts;
    for (int i = 0; i < m_c.ComboBoxTXMEM->count(); ++i)
        texts << m_c.ComboBoxTXMEM->itemText(i);
    return texts;
}

void DtmfActions::choose(int index)
{
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        return;
    if (radio->capabilities().stepping)
        m_c.ComboBoxTXMEM->setCurrentIndex(index);
    else
        radio->state().setCurrentMemory(index);
}

// A scan already running is stopped first so that it starts again from the current channel; the
// radio's rules refuse both where the panel offers no scan.
void DtmfActions::restartScan(Radio &radio, int band)
{
    radio.setScan(band, false);
    radio.setScan(band, true);
}

void DtmfActions::log(const QString &text)
{
    m_log.append(text);
}

bool DtmfActions::carryOut(int action)
{
    Radio *current = m_radios.current();
    if (current == nullptr) {
        // Saving needs no radio.
        if (action == 99)
            m_c.MenuSave->trigger();
        return action == 99;
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
            return false;
        if (action <= 2) {
            radio.selectBand(band);
        } else if (action <= 4) {
            radio.vfoMode(band);
        } else {
            m_state.MemoryNumberText.clear(); // the band's last memory
            radio.memoryMode(band);
        }
        return true;
    }
    case 9:
        if (!caps.vfoMemoryModes)
            return false;
        radio.vfoMode(m_state.ActiveBand == 1 ? 1 : 0);
        return true;
    case 20:
    case 21:
    case 22:
        if (caps.powerSteps == 0)
            return false;
        radio.setPower(0, 22 - action); // 20 Low (2), 21 Medium (1), 22 High (0)
        return true;
    case 23:
    case 24:
    case 25:
        if (caps.powerSteps == 0)
            return false;
        radio.setPower(1, 25 - action);
        return true;
    case 26:
        radio.setTransmit(true);
        return false;
    case 27:
        radio.setTransmit(false);
        return false;
    case 30:
        if (!caps.scanOnCommand)
            return false;
        if (caps.stepping) {
            // The stepping transmitter's scan goes on from where it is.
            radio.setScan(0, true);
            return true;
        }
        for (int band = 0; band < caps.bands; ++band)
            restartScan(radio, band);
        return true;
    case 31:
        if (!caps.scanOnCommand)
            return false;
        for (int band = 0; band < caps.bands; ++band)
            radio.setScan(band, false);
        return true;
    case 32:
    case 33:
        radio.step(action == 32);
        return false;
    case 34:
        radio.resetChannel();
        return false;
    case 35:
    case 36:
        radio.setCircularScan(action == 35);
        return false;
    case 40:
    case 41:
        radio.resynchronise(action == 40);
        return false;
    case 99:
        m_c.MenuSave->trigger();
        if (caps.initialisesOnCommand)
            radio.initialise();
        return true;
    default:
        return false;
    }
}

void DtmfActions::recallMemory(Radio &radio, int band, const QString &logPrefixA,
                               const QString &logPrefixB, const QString &logged)
{
    radio.memoryMode(band);
    log((band == 1 ? logPrefixB : logPrefixA) + logged);
}

void DtmfActions::actOnFound(int action, const QString &value, int index)
{
    Radio *radio = m_radios.current();
    if (radio == nullptr)
        return;
    const Capabilities caps = radio->capabilities();
    // Taken before the operation: the memory operation may be interleaved with other work that
    // rewrites the shared number, and the log names what the code selected.
    const QString number = m_state.MemoryNumberText;
    const QString memA = QStringLiteral("MEM A=");
    const QString memB = QStringLiteral("MEM B=");
    const int activeBand = m_state.ActiveBand == 1 ? 1 : 0;
    switch (action) {
    case 7:
    case 8:
        if (caps.memories && m_state.bandAllowed(action == 8 ? 1 : 0))
            recallMemory(*radio, action == 8 ? 1 : 0, memA, memB, number);
        break;
    case 10:
    case 11:
        if (caps.stepping) {
            radio->goToChannel(index);
            log(QStringLiteral("MEM TX16UD =") + number);
        } else if (action == 10) {
            recallMemory(*radio, activeBand, memA, memB, number);
        } else {
            recallMemory(*radio, activeBand, QStringLiteral("FREQ A="), QStringLiteral("FREQ B="),
                         value);
        }
        break;
    default:
        break;
    }
}

#include "dtmf/DtmfActions.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "ui/UpDownArrows.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QSlider>

DtmfActions::DtmfActions(StationState &state, EventLog &log, const DtmfControls &controls)
    : m_state(state), m_log(log), m_c(controls)
{
}

bool DtmfActions::isGeneric() const
{
    return m_c.MenuTX16UD->isChecked();
}

bool DtmfActions::scansOnCommand() const
{
    return m_c.menuTMD700->isChecked() || (m_c.MenuHamlib && m_c.MenuHamlib->isChecked());
}

bool DtmfActions::bandAAllowed() const
{
    return m_c.MenuChoixTXA->isChecked() || m_c.MenuChoixTXAB->isChecked();
}

bool DtmfActions::bandBAllowed() const
{
    return m_c.MenuChoixTXB->isChecked() || m_c.MenuChoixTXAB->isChecked();
}

void DtmfActions::press(QAbstractButton *button)
{
    button->click();
}

void DtmfActions::pressIfDown(QAbstractButton *button, bool down)
{
    if (button->isChecked() == down)
        press(button);
}

void DtmfActions::setPower(QSlider *slider, int position)
{
    // The slider's change handler sends the power, as when the operator drags it.
    slider->setValue(position);
}

void DtmfActions::restartKenwoodScan(QAbstractButton *scan)
{
    if (!scan->isEnabled())
        return;
    // A scan already running is stopped first so that it starts again from the current channel.
    if (scan->isChecked())
        press(scan);
    press(scan);
}

void DtmfActions::log(const QString &text)
{
    m_log.append(text);
}

bool DtmfActions::carryOut(int action)
{
    const bool generic = isGeneric();
    const bool kenwood = !generic;
    switch (action) {
    case 1:
    case 3:
    case 5:
        if (!kenwood || !bandAAllowed())
            return false;
        if (action == 5)
            m_state.MemoryNumberText.clear(); // the band's last memory
        press(action == 1   ? m_c.SpeedButtonTXA
              : action == 3 ? m_c.SpeedButtonVFOA
                            : m_c.SpeedButtonMEMA);
        return true;
    case 2:
    case 4:
    case 6:
        if (!kenwood || !bandBAllowed())
            return false;
        if (action == 6)
            m_state.MemoryNumberText.clear();
        press(action == 2   ? m_c.SpeedButtonTXB
              : action == 4 ? m_c.SpeedButtonVFOB
                            : m_c.SpeedButtonMEMB);
        return true;
    case 9:
        if (!kenwood)
            return false;
        press(m_state.ActiveBand == 1 ? m_c.SpeedButtonVFOB : m_c.SpeedButtonVFOA);
        return true;
    case 20:
    case 21:
    case 22:
        if (!kenwood)
            return false;
        setPower(m_c.TrackBarPWRA, 22 - action); // 20 Low (2), 21 Medium (1), 22 High (0)
        return true;
    case 23:
    case 24:
    case 25:
        if (!kenwood)
            return false;
        setPower(m_c.TrackBarPWRB, 25 - action);
        return true;
    case 26:
        pressIfDown(generic ? m_c.SpeedButtonTX16TX : m_c.SpeedButtonTX, false);
        return false;
    case 27:
        pressIfDown(generic ? m_c.SpeedButtonTX16TX : m_c.SpeedButtonTX, true);
        return false;
    case 30:
        if (generic) {
            pressIfDown(m_c.SpeedButtonTX16SC, false);
            return true;
        }
        if (!scansOnCommand())
            return false;
        restartKenwoodScan(m_c.SpeedButtonScanA);
        restartKenwoodScan(m_c.SpeedButtonScanB);
        return true;
    case 31:
        if (generic) {
            pressIfDown(m_c.SpeedButtonTX16SC, true);
            return true;
        }
        if (!scansOnCommand())
            return false;
        for (QAbstractButton *scan : {m_c.SpeedButtonScanA, m_c.SpeedButtonScanB}) {
            if (scan->isEnabled())
                pressIfDown(scan, true);
        }
        return true;
    case 32:
    case 33:
        if (generic)
            m_c.UpDownTX->click(action == 32 ? UpDownArrows::Direction::Up
                                             : UpDownArrows::Direction::Down);
        return false;
    case 34:
        if (generic)
            press(m_c.ButtonReset);
        return false;
    case 35:
    case 36:
        // Ticked means circular scanning; the box's own click handler changes the mode.
        if (generic)
            pressIfDown(m_c.CheckBoxOptiTX16, action == 36);
        return false;
    case 40:
    case 41:
        if (generic)
            press(action == 40 ? m_c.ButtonSynchroUP : m_c.ButtonSynchroDown);
        return false;
    case 99:
        m_c.MenuSave->trigger();
        if (kenwood)
            press(m_c.SpeedButtonInit);
        return true;
    default:
        return false;
    }
}

void DtmfActions::goToChannel(const QString &number)
{
    // The list's own "entry chosen" signal runs the move, as a choice made by the operator.
    emit m_c.ComboBoxTXMEM->activated(m_c.ComboBoxTXMEM->currentIndex());
    log(QStringLiteral("MEM TX16UD =") + number);
}

void DtmfActions::recallMemory(bool bandB, const QString &logPrefixA, const QString &logPrefixB,
                               const QString &logged)
{
    press(bandB ? m_c.SpeedButtonMEMB : m_c.SpeedButtonMEMA);
    log((bandB ? logPrefixB : logPrefixA) + logged);
}

void DtmfActions::actOnFound(int action, const QString &value)
{
    const bool generic = isGeneric();
    // Taken before the press: the memory operation may be interleaved with other work that
    // rewrites the shared number, and the log names what the code selected.
    const QString number = m_state.MemoryNumberText;
    const QString memA = QStringLiteral("MEM A=");
    const QString memB = QStringLiteral("MEM B=");
    switch (action) {
    case 7:
        if (!generic && bandAAllowed())
            recallMemory(false, memA, memB, number);
        break;
    case 8:
        if (!generic && bandBAllowed())
            recallMemory(true, memA, memB, number);
        break;
    case 10:
        if (generic)
            goToChannel(number);
        else
            recallMemory(m_state.ActiveBand == 1, memA, memB, number);
        break;
    case 11:
        if (generic)
            goToChannel(number);
        else
            recallMemory(m_state.ActiveBand == 1, QStringLiteral("FREQ A="),
                         QStringLiteral("FREQ B="), value);
        break;
    default:
        break;
    }
}

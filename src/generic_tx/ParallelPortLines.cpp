#include "generic_tx/ParallelPortLines.h"

#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "platform/ParallelPort.h"

ParallelPortLines::ParallelPortLines(StationState &state, ParallelPort &port, QObject *parent)
    : ControlLines(parent), m_state(state), m_port(port)
{
}

bool ParallelPortLines::present() const
{
    return m_state.LptBase != 0;
}

bool ParallelPortLines::setLevel(TxLine line, bool high)
{
    const quint16 control = quint16(m_state.LptBase) + PinLogic::ControlOffset;
    const quint8 value = PinLogic::applyLevel(m_port.Inport(control), line, high);
    m_port.Outport(control, value);
    m_state.LptControlValue = value;
    return PinLogic::succeeded(m_port.GetLastState());
}

std::optional<bool> ParallelPortLines::squelchHigh()
{
    const quint8 status = m_port.Inport(quint16(m_state.LptBase) + PinLogic::StatusOffset);
    // The hardware sets the status bit while pin 11 is at 0 V.
    return (status & PinLogic::SquelchMask) == 0;
}

QString ParallelPortLines::failure() const
{
    return m_port.GetLastState();
}

QString ParallelPortLines::deviceName() const
{
    return QStringLiteral("LPT ") + ConfigValues::hexAddress(m_state.LptBase) + QLatin1Char('h');
}

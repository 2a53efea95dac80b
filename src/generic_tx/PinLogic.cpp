#include "generic_tx/PinLogic.h"

#include "platform/ParallelPort.h"

namespace PinLogic {

quint8 mask(TxLine line)
{
    switch (line) {
    case TxLine::Up:
        return 0x02;
    case TxLine::Down:
        return 0x01;
    case TxLine::Reset:
        return 0x04;
    case TxLine::Ptt:
        return 0x08;
    }
    return 0;
}

bool setBitGivesHigh(TxLine line)
{
    return line == TxLine::Reset;
}

bool levelHigh(LinePolarity polarity, bool active)
{
    return active == (polarity == LinePolarity::Positive);
}

quint8 applyLevel(quint8 control, TxLine line, bool high)
{
    const quint8 bit = mask(line);
    return high == setBitGivesHigh(line) ? quint8(control | bit) : quint8(control & ~bit);
}

quint8 apply(quint8 control, TxLine line, LinePolarity polarity, bool active)
{
    return applyLevel(control, line, levelHigh(polarity, active));
}

bool squelchOpen(quint8 status, LinePolarity openLevel)
{
    return squelchOpenAt((status & SquelchMask) == 0, openLevel);
}

bool squelchOpenAt(bool inputHigh, LinePolarity openLevel)
{
    return inputHigh == (openLevel == LinePolarity::Positive);
}

bool succeeded(const QString &driverState)
{
    return driverState.contains(QLatin1String("succes"));
}

quint8 writeLevel(ParallelPort &port, quint16 base, TxLine line, LinePolarity polarity, bool active)
{
    const quint16 address = base + ControlOffset;
    const quint8 value = apply(port.Inport(address), line, polarity, active);
    port.Outport(address, value);
    return value;
}

void writeIdleLevels(ParallelPort &port, quint16 base,
                     const std::array<LinePolarity, 4> &polarities)
{
    for (TxLine line : IdleOrder)
        writeLevel(port, base, line, polarities[static_cast<int>(line)], false);
}

} // namespace PinLogic

#pragma once

#include "generic_tx/LineSettings.h"
#include "generic_tx/PinLogic.h"

#include <QString>
#include <array>

class ParallelPort;

namespace GenericReset {

struct Lines
{
    quint16 base = 0; // the parallel port's address; 0 when none is configured
    std::array<LinePolarity, 4> polarities{LinePolarity::Positive, LinePolarity::Positive,
                                           LinePolarity::Positive, LinePolarity::Positive};
};

// Brings UP, DOWN, RESET and PTT to rest. Empty when every write worked; otherwise why not.
QString toIdle(ParallelPort &port, const Lines &lines);
// The same on other lines than the parallel port (a USB audio interface, a GPIO chip): opening
// them brings every output to rest.
QString toIdle(const LineSettings &settings, const std::array<LinePolarity, 4> &polarities);

} // namespace GenericReset

#pragma once

#include "generic_tx/LineSettings.h"

#include <functional>
#include <memory>

class ControlLines;

// Builds the lines that the settings name (not the parallel port, which the line driver always
// has), unless a test has installed a maker of its own.
namespace LinesFactory {
using Maker = std::function<std::unique_ptr<ControlLines>(const LineSettings &, LinePolarity)>;

// Nothing for the parallel port; lines that are not present() without a device or a map that
// fits the kind.
std::unique_ptr<ControlLines> create(const LineSettings &settings, LinePolarity squelchOpenLevel);
// nullptr goes back to the real devices.
void installTestMaker(Maker maker);
} // namespace LinesFactory

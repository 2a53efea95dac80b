#include "generic_tx/LinesFactory.h"

#include "generic_tx/Cm108Lines.h"
#include "generic_tx/GpioChipLines.h"

namespace {
LinesFactory::Maker &testMaker()
{
    static LinesFactory::Maker maker;
    return maker;
}
} // namespace

namespace LinesFactory {

std::unique_ptr<ControlLines> create(const LineSettings &settings, LinePolarity squelchOpenLevel)
{
    if (settings.kind == LinesKind::ParallelPort)
        return nullptr;
    if (testMaker())
        return testMaker()(settings, squelchOpenLevel);
    // Without a device and a map that fits, the lines are there but not chosen: nothing is
    // driven until the setup dialog names them.
    const std::optional<LineMap> map = LineConfig::parseMap(settings.kind, settings.map);
    const QString device = map ? settings.device : QString();
    if (settings.kind == LinesKind::UsbAudio)
        return std::make_unique<Cm108Lines>(device, map.value_or(LineMap{}));
    return std::make_unique<GpioChipLines>(device, map.value_or(LineMap{}), squelchOpenLevel);
}

void installTestMaker(Maker maker)
{
    testMaker() = std::move(maker);
}

} // namespace LinesFactory

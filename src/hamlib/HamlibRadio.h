#pragma once

#include "hamlib/HamlibOperations.h"
#include "radio/PanelRadio.h"

// A transceiver Hamlib drives, behind the Radio seam. What the radio lacks (a second band,
// memories, scanning, PTT) shows in the state once Hamlib has described it.
class HamlibRadio : public PanelRadio<HamlibOperations>
{
public:
    using PanelRadio::PanelRadio;

    // Its name under MODEL=.
    static constexpr QStringView ModelName = u"HAMLIB";

    Capabilities capabilities() const override;
};

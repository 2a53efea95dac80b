#include "hamlib/HamlibRadio.h"

// Two bands, memories and scanning are offered as the panel offers them; the state's
// availability (from Hamlib's description of the radio) decides each request.
Capabilities HamlibRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    caps.scanOnCommand = true;
    return caps;
}

#include "kenwood/KenwoodRadio.h"

Capabilities KenwoodRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    // The TM-D710 and TM-V71 take no scan command.
    caps.scanOnCommand = m_model == Kenwood::Model::TMD700;
    return caps;
}

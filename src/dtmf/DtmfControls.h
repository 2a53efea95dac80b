#pragma once

#include "dtmf/DtmfActions.h"

#include <QString>
#include <functional>

class DtmfCodeList;

// What the DTMF interpreter works with: the entry window, the code table, and the save its
// actions use.
struct DtmfControls
{
    // Shows the entry on the window's DTMF line; an empty text clears it.
    std::function<void(const QString &)> showEntry;
    const DtmfCodeList *codes = nullptr;
    DtmfStationControls station;
};

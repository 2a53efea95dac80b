#pragma once

#include "dtmf/DtmfActions.h"

class DtmfCodeList;
class QLineEdit;

// What the DTMF interpreter works with: the entry window, the code table, and the save its
// actions use.
struct DtmfControls
{
    QLineEdit *StaticTextDTMF = nullptr;
    const DtmfCodeList *codes = nullptr;
    DtmfStationControls station;
};

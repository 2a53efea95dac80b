#pragma once

#include "dtmf/DtmfActions.h"

class QLineEdit;
class QListWidget;
class QTimer;

// The controls the DTMF interpreter reads: the entry window and the code table, and the save and
// channel list its actions use.
struct DtmfControls
{
    QLineEdit *StaticTextDTMF = nullptr;
    QTimer *TimerDTMF = nullptr;
    QListWidget *ListBoxCodesDTMF = nullptr;
    DtmfStationControls station;
};

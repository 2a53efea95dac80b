#pragma once

#include "dtmf/DtmfActions.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QTimer;

// The controls the DTMF interpreter reads: the entry window and the code table, the band choice
// and save, and the two lists a memory or channel code is looked up in.
struct DtmfControls
{
    QLineEdit *StaticTextDTMF = nullptr;
    QTimer *TimerDTMF = nullptr;
    QListWidget *ListBoxCodesDTMF = nullptr;
    DtmfStationControls station;
    QComboBox *ComboBoxMEM = nullptr;   // the transceiver's memories
    QComboBox *ComboBoxTXMEM = nullptr; // the generic transmitter's channels
};

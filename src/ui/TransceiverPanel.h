#pragma once

#include "ui/ToggleButton.h"

#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;
namespace Ui {
class TForm1;
}

// The transceiver panel's controls the Kenwood and Hamlib operations still write themselves: the
// memory list, the power sliders, and the status and traffic lines. (Keying, scanning, lamps,
// displays and what the panel accepts are painted from the radio's state.)
struct TransceiverPanel
{
    QGroupBox *GroupBoxTX;
    QComboBox *ComboBoxMEM;
    QToolButton *SpeedButtonTXA;
    QToolButton *SpeedButtonTXB;
    QToolButton *SpeedButtonVFOA;
    QToolButton *SpeedButtonVFOB;
    QToolButton *SpeedButtonMEMA;
    QToolButton *SpeedButtonMEMB;
    QToolButton *SpeedButtonScanA;
    QToolButton *SpeedButtonScanB;
    ToggleButton *SpeedButtonTX;
    QLineEdit *EditTXdata;
    QLineEdit *labelTMD;
    QSlider *TrackBarPWRA;
    QSlider *TrackBarPWRB;

    static TransceiverPanel fromForm(Ui::TForm1 &ui);


    // Per band (0 = A, 1 = B).
    QToolButton *scanButton(int band) const
    {
        return band == 1 ? SpeedButtonScanB : SpeedButtonScanA;
    }
    QSlider *powerSlider(int band) const { return band == 1 ? TrackBarPWRB : TrackBarPWRA; }
};

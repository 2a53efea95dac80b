#pragma once

class QComboBox;
class QGroupBox;
class QLineEdit;
class QSlider;
class QToolButton;
namespace Ui {
class TForm1;
}

// The transceiver panel's controls the Kenwood and Hamlib operations still touch themselves: the
// group box (its title, a timer's context), the memory list's enabled state, the scan buttons'
// visibility, the power sliders, and the status and traffic lines. Keying, scanning, lamps,
// displays, the memory list and what the panel accepts are painted from the radio's state.
struct TransceiverPanel
{
    QGroupBox *GroupBoxTX;
    QComboBox *ComboBoxMEM;
    QToolButton *SpeedButtonScanA;
    QToolButton *SpeedButtonScanB;
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

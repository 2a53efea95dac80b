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
// lamps, the displays, the memory list, the power sliders, and the status and traffic lines.
// (Keying, scanning and what the panel accepts are painted from the radio's state.)
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
    QLabel *ImageTXA;
    QLabel *ImageTXB;
    QLabel *ImageVFOA;
    QLabel *ImageVFOB;
    QLabel *ImageMEMA;
    QLabel *ImageMEMB;
    QLabel *ImageLEDvert;
    QLabel *ImageLEDrouge;
    QLabel *ImageLEDOFF;
    QLineEdit *EditTXdata;
    QLineEdit *labelTMD;
    QSlider *TrackBarPWRA;
    QSlider *TrackBarPWRB;

    static TransceiverPanel fromForm(Ui::TForm1 &ui);

    // The six indicators off.
    void resetIndicators() const;
    // Shows on `led` the picture of `picture` (one of the three hidden lamp pictures).
    static void showLed(QLabel *led, const QLabel *picture);
    // The first memory-list entry of a three-digit channel ("015"), or -1.
    int memoryEntryIndex(const QString &channel) const;

    // Per band (0 = A, 1 = B).
    QToolButton *scanButton(int band) const
    {
        return band == 1 ? SpeedButtonScanB : SpeedButtonScanA;
    }
    QLabel *transmitLed(int band) const { return band == 1 ? ImageTXB : ImageTXA; }
    QLabel *vfoLed(int band) const { return band == 1 ? ImageVFOB : ImageVFOA; }
    QLabel *memoryLed(int band) const { return band == 1 ? ImageMEMB : ImageMEMA; }
    QSlider *powerSlider(int band) const { return band == 1 ? TrackBarPWRB : TrackBarPWRA; }
};

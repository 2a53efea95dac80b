#pragma once

class QAbstractButton;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSlider;
class QTimer;
class UpDownArrows;

// The controls the DTMF interpreter reads and presses. They belong to the main window, the DTMF
// window and the generic transmitter's setup window; the interpreter holds no copy of what they
// show.
struct DtmfControls
{
    // The entry window and the code table.
    QLineEdit *StaticTextDTMF = nullptr;
    QTimer *TimerDTMF = nullptr;
    QListWidget *ListBoxCodesDTMF = nullptr;

    // Radio and band choice, and the configuration save.
    QAction *MenuTX16UD = nullptr;
    QAction *menuTMD700 = nullptr;
    QAction *MenuHamlib = nullptr; // the radio scans on command when Hamlib says it can
    QAction *MenuChoixTXA = nullptr;
    QAction *MenuChoixTXB = nullptr;
    QAction *MenuChoixTXAB = nullptr;
    QAction *MenuSave = nullptr;

    // Kenwood panel.
    QComboBox *ComboBoxMEM = nullptr;
    QAbstractButton *SpeedButtonTXA = nullptr;
    QAbstractButton *SpeedButtonTXB = nullptr;
    QAbstractButton *SpeedButtonVFOA = nullptr;
    QAbstractButton *SpeedButtonVFOB = nullptr;
    QAbstractButton *SpeedButtonMEMA = nullptr;
    QAbstractButton *SpeedButtonMEMB = nullptr;
    QAbstractButton *SpeedButtonScanA = nullptr;
    QAbstractButton *SpeedButtonScanB = nullptr;
    QAbstractButton *SpeedButtonTX = nullptr;
    QAbstractButton *SpeedButtonInit = nullptr;
    QSlider *TrackBarPWRA = nullptr;
    QSlider *TrackBarPWRB = nullptr;

    // Generic transmitter panel and its setup window.
    QComboBox *ComboBoxTXMEM = nullptr;
    QAbstractButton *SpeedButtonTX16TX = nullptr;
    QAbstractButton *SpeedButtonTX16SC = nullptr;
    QAbstractButton *ButtonReset = nullptr;
    UpDownArrows *UpDownTX = nullptr;
    QAbstractButton *CheckBoxOptiTX16 = nullptr;
    QAbstractButton *ButtonSynchroUP = nullptr;
    QAbstractButton *ButtonSynchroDown = nullptr;
};

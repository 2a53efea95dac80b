#pragma once

#include "ui/UpDownArrows.h"

#include <QObject>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QTimer;
class SevenSegmentDisplay;
class Tx16PinDriver;
class ToggleButton;
struct StationState;

// Controls of the generic panel and of the setup dialog that stepping and scanning use.
struct Tx16StepWidgets
{
    ToggleButton *SpeedButtonTX16SC, *SpeedButtonTX16TX;
    QAbstractButton *ButtonReset, *ButtonTestPin16;
    QAbstractButton *ButtonSynchroUP, *ButtonSynchroDown;
    SevenSegmentDisplay *LCD99TX;
    UpDownArrows *UpDownTX;
    QComboBox *ComboBoxTXMEM;
    QLabel *Imagecercle, *Imageascenceur;
    QTimer *TimerTX16;
    QSpinBox *SpinEditCanalNombre, *SpinEditPin14;
    QCheckBox *CheckBoxOptiTX16;
};

// Channel stepping of the generic transmitter. The transmitter cannot say which channel it is on,
// so the count Tx16Channel moves by one for every UP or DOWN pulse sent. TimerTX16 is the one
// clock: lock-out after a step, walk to a chosen channel, scan until the squelch opens.
//
// Other parts drive it through its controls: UpDownTX->click(direction) steps (as the arrows
// do), the SCAN and TRANSMIT toggles and RESET are clicked, and choosing a channel is
// ComboBoxTXMEM->setCurrentIndex(i) followed by emitting ComboBoxTXMEM->activated(i).
class Tx16Stepper : public QObject
{
    Q_OBJECT
public:
    Tx16Stepper(StationState &state, Tx16PinDriver &driver, const Tx16StepWidgets &widgets,
                QObject *parent = nullptr);

    void UpDownTXClick(UpDownArrows::Direction direction);
    void TimerTX16Timer();
    void ComboBoxTXMEMClick();
    void ButtonResetClick();
    // The toggles have just been flipped by a click; checked is their new state.
    void SpeedButtonTX16TXClick(bool checked);
    void SpeedButtonTX16SCClick(bool checked);
    void ButtonSynchroUPClick();
    void ButtonSynchroDownClick();
    void CheckBoxOptiTX16Click();

    // Ends scanning, transmitting and any walk: the panel is going away (another model).
    void releaseTransmitter();

private:
    int channelCount() const;
    bool circular() const;
    bool scanning() const;
    bool transmitting() const;
    void send(const char *word);
    void showChannel();
    void followList();
    void scanOff();
    void transmitOff();
    void resynchronise(UpDownArrows::Direction direction);

    StationState &m_state;
    Tx16PinDriver &m_driver;
    Tx16StepWidgets m_w;
};

#pragma once

#include "ui/UpDownArrows.h"

#include <QObject>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTimer;
class RadioState;
class SevenSegmentDisplay;
class Tx16PinDriver;
struct StationState;

// Controls of the generic panel and of the setup dialog that stepping and scanning use.
struct Tx16StepWidgets
{
    QAbstractButton *ButtonReset, *ButtonTestPin16;
    QAbstractButton *ButtonSynchroUP, *ButtonSynchroDown;
    SevenSegmentDisplay *LCD99TX;
    UpDownArrows *UpDownTX;
    QComboBox *ComboBoxTXMEM;
    QTimer *TimerTX16;
    QSpinBox *SpinEditCanalNombre, *SpinEditPin14;
    QCheckBox *CheckBoxOptiTX16;
};

// Channel stepping of the generic transmitter. The transmitter cannot say which channel it is on,
// so the count Tx16Channel moves by one for every UP or DOWN pulse sent. TimerTX16 is the one
// clock: lock-out after a step, walk to a chosen channel, scan until the squelch opens.
//
// The keying and scanning live in the radio's state; the panel's toggles show them.
class Tx16Stepper : public QObject
{
    Q_OBJECT
public:
    Tx16Stepper(StationState &state, RadioState &radio, Tx16PinDriver &driver,
                const Tx16StepWidgets &widgets, QObject *parent = nullptr);

    void UpDownTXClick(UpDownArrows::Direction direction);
    void TimerTX16Timer();
    void ComboBoxTXMEMClick();
    void ButtonResetClick();
    void setTransmit(bool on);
    void setScan(bool on);
    // One step as the arrows take it.
    void step(UpDownArrows::Direction direction);
    // Walks to the channel of the list's entry `index`, as a choice in the list does.
    void goToEntry(int index);
    void setCircular(bool circular);
    void resynchronise(UpDownArrows::Direction direction);
    // "999.999999" while scanning, the frequency of the list's current entry, or "000.000000".
    QString frequency() const;
    void ButtonSynchroUPClick();
    void ButtonSynchroDownClick();

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

    StationState &m_state;
    RadioState &m_radio;
    Tx16PinDriver &m_driver;
    Tx16StepWidgets m_w;
};

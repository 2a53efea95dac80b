#pragma once

#include <QObject>
#include <QTimer>

class RadioState;
class ControlLineDriver;
class GenericTxSettings;
struct StationState;

// Channel stepping of the generic transmitter. The transmitter cannot say which channel it is on,
// so the count Tx16Channel moves by one for every UP or DOWN pulse sent. One clock, its stepping
// timer, times the lock-out after a step, the walk to a chosen channel and the scan until the
// squelch opens.
//
// The keying and scanning live in the radio's state; the panel's toggles show them. The channel
// selector (the panel's arrows) has positions 0 to the channel count + 1: the ends stand for
// channels 1 and N, so that a step past an end can be told from a step to it.
class ChannelStepper : public QObject
{
    Q_OBJECT
public:
    // `settings` gives the channel count, the UP pulse's length and the scan mode, read at the
    // moment of use.
    ChannelStepper(StationState &state, RadioState &radio, ControlLineDriver &driver,
                   GenericTxSettings &settings, QObject *parent = nullptr);

    // A press on an arrow, the operator's or the server's or a DTMF code's: the selector moves by
    // one within its range, then the step is taken or refused.
    void step(bool up);
    // RESET: scanning and transmitting end, a RESET pulse, and the count goes back to the base
    // channel.
    void reset();
    void setTransmit(bool on);
    void setScan(bool on);
    // Walks to the channel of the list's entry `index` (the radio state's memories), as a choice
    // in the list does.
    void goToEntry(int index);
    void setCircular(bool circular);
    // The channel count changed: a smaller one pulls the selector in with it.
    void channelCountChanged();
    void resynchronise(bool up);
    // "999.999999" while scanning, the frequency of the list's current entry, or "000.000000".
    QString frequency() const;
    // The stepping period in ms: the interval of the next tick (a tick adds the UP pulse's length
    // to the period for the ticks after it).
    void setPeriod(int ms);
    // A step's lock-out, a walk or a scan is under way.
    bool ticking() const { return m_tick.isActive(); }
    int tickInterval() const { return m_tick.interval(); }

    // Ends scanning, transmitting and any walk: the panel is going away (another model).
    void releaseTransmitter();

    int selectorPosition() const { return m_position; }
    int selectorMaximum() const;

signals:
    // An arrow was pressed, whether the step was then taken or not.
    void arrowPressed(bool up);
    // The selector's position, or its range (the channel count changed), for the arrows to show.
    void selectorChanged();
    // Tx16Channel changed, for the channel display.
    void channelChanged(int channel);

private:
    void tick();
    void walkToListEntry();
    void takeStep(bool up);
    void setSelector(int position);
    int channelCount() const;
    bool circular() const;
    bool scanning() const;
    bool transmitting() const;
    void startTicking(int firstTickMs);
    void showChannel();
    void followList();
    void scanOff();
    void transmitOff();

    StationState &m_state;
    RadioState &m_radio;
    ControlLineDriver &m_driver;
    GenericTxSettings &m_settings;
    QTimer m_tick;
    int m_position = 0;
};

#pragma once

#include "radio/Radio.h"

#include <functional>

class Tx16Stepper;
struct StationState;

// The generic Up/Down channel transmitter behind the Radio seam: one band, no modes or power,
// channel stepping, scanning until the squelch opens, and keying on its PTT line.
class GenericTxRadio : public Radio
{
    Q_OBJECT
public:
    struct Steps
    {
        std::function<void()> open;
        std::function<void()> initialise; // INIT opens the set-up window
        std::function<void()> release;
    };

    GenericTxRadio(StationState &station, Steps steps, QObject *parent = nullptr);
    void attach(Tx16Stepper &stepper) { m_stepper = &stepper; }

    Capabilities capabilities() const override;
    void open() override { m_steps.open(); }
    void initialise() override { m_steps.initialise(); }
    void release() override { m_steps.release(); }
    // The transmitter cannot be asked: the frequency is the one of the channel list's entry.
    void requestFrequency(std::function<void()> done) override;

    void step(bool up) override;
    void resetChannel() override;
    void resynchronise(bool up) override;
    void goToChannel(int index) override;
    void setCircularScan(bool circular) override;

protected:
    void transmit(bool on) override;
    void scan(int band, bool on) override;
    void bandSelected(int) override {}
    void vfoSelected(int) override {}
    void memorySelected(int) override {}
    void powerSelected(int, int) override {}

private:
    StationState &m_station;
    Tx16Stepper *m_stepper = nullptr;
    Steps m_steps;
};

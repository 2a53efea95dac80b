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
    // Its name under MODEL=.
    static constexpr QStringView ModelName = u"TX16UD";

    // `openSetup`: INIT opens the set-up window. `letGo`: every output at rest and the port or
    // device given back to the system.
    GenericTxRadio(StationState &station, std::function<void()> openSetup,
                   std::function<void()> letGo, QObject *parent = nullptr);
    void attach(Tx16Stepper &stepper) { m_stepper = &stepper; }

    Capabilities capabilities() const override;
    // Opened when chosen in the Model menu.
    void open() override {}
    void initialise() override { m_openSetup(); }
    // Unkeyed, its scanning stopped, every output at rest and its lines let go; taking the model
    // again takes them back.
    QCoro::Task<> release() override;
    // The transmitter cannot be asked: the frequency is the one of the channel list's entry.
    QCoro::Task<> requestFrequency(std::function<void()> done) override;

    void step(bool up) override;
    void resetChannel() override;
    void resynchronise(bool up) override;
    void goToChannel(int index) override;
    void setCircularScan(bool circular) override;

protected:
    QCoro::Task<> transmit(bool on) override;
    QCoro::Task<> scan(int band, bool on) override;
    QCoro::Task<> bandSelected(int) override { co_return; }
    QCoro::Task<> vfoSelected(int) override { co_return; }
    QCoro::Task<> memorySelected(int) override { co_return; }
    QCoro::Task<> powerSelected(int, int) override { co_return; }

private:
    StationState &m_station;
    Tx16Stepper *m_stepper = nullptr;
    std::function<void()> m_openSetup;
    std::function<void()> m_letGo;
};

#pragma once

#include "radio/Radio.h"

#include <memory>

class ChannelStepper;
class ControlLineDriver;
class EventLog;
class GenericTxLines;
class GenericTxSettings;
class Notifier;
class ParallelPort;
struct StationState;

// The generic Up/Down channel transmitter behind the Radio seam: one band, no modes or power,
// channel stepping, scanning until the squelch opens, and keying on its PTT line. It owns its
// line driver, its stepping and its lines, which it takes when opened and gives back when
// released.
class GenericTxRadio : public Radio
{
    Q_OBJECT
public:
    // Its name under MODEL=.
    static constexpr QStringView ModelName = u"TX16UD";

    // `settings` are the setup dialog's, read at the moment of use; `port` is the machine's
    // parallel port.
    GenericTxRadio(StationState &station, EventLog &log, Notifier &notifier,
                   GenericTxSettings &settings, std::shared_ptr<ParallelPort> port,
                   QObject *parent = nullptr);
    ~GenericTxRadio() override;

    Capabilities capabilities() const override;
    // The dialog's base channel and period from the station state, the lines taken and brought
    // to rest, then RESET. Opening an open radio does nothing.
    void open() override;
    bool isOpen() const { return m_open; }
    // What opening does, whether open or not: choosing the model in use again takes its lines
    // again and resets the transmitter.
    void activate();
    // INIT: asks for the setup window.
    void initialise() override { emit setupAsked(); }
    // Unkeyed, its scanning stopped, every output at rest and its lines let go; opening again
    // takes them back.
    QCoro::Task<> release() override;
    // What release() does, at once (the program ends).
    void letGo();
    // The setup dialog's OK changed what carries the lines: taken at once while in use, otherwise
    // from the next opening on.
    void linesChanged();
    // The transmitter cannot be asked: the frequency is the one of the channel list's entry.
    QCoro::Task<> requestFrequency(std::function<void()> done) override;

    void step(bool up) override;
    void resetChannel() override;
    void resynchronise(bool up) override;
    void goToChannel(int index) override;
    void setCircularScan(bool circular) override;

    ControlLineDriver &driver() { return *m_driver; }
    ChannelStepper &stepper() { return *m_stepper; }
    GenericTxLines &lines() { return *m_lines; }
    ParallelPort &port() { return *m_port; }

signals:
    // INIT with the generic model: the setup window is to be shown.
    void setupAsked();

protected:
    QCoro::Task<> transmit(bool on) override;
    QCoro::Task<> scan(int band, bool on) override;
    QCoro::Task<> bandSelected(int) override { co_return; }
    QCoro::Task<> vfoSelected(int) override { co_return; }
    QCoro::Task<> memorySelected(int) override { co_return; }
    QCoro::Task<> powerSelected(int, int) override { co_return; }

private:
    StationState &m_station;
    GenericTxSettings &m_settings;
    std::shared_ptr<ParallelPort> m_port;
    std::unique_ptr<ControlLineDriver> m_driver;
    std::unique_ptr<ChannelStepper> m_stepper;
    std::unique_ptr<GenericTxLines> m_lines;
    bool m_open = false;
};

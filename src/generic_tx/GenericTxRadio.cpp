#include "generic_tx/GenericTxRadio.h"

#include "core/StationState.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLines.h"
#include "generic_tx/GenericTxSettings.h"
#include "platform/ParallelPort.h"

GenericTxRadio::GenericTxRadio(StationState &station, EventLog &log, Notifier &notifier,
                               GenericTxSettings &settings, std::shared_ptr<ParallelPort> port,
                               QObject *parent)
    : Radio(parent), m_station(station), m_settings(settings), m_port(std::move(port)),
      m_driver(std::make_unique<ControlLineDriver>(station, *m_port, notifier, settings)),
      m_stepper(std::make_unique<ChannelStepper>(station, state(), *m_driver, settings)),
      m_lines(std::make_unique<GenericTxLines>(station, log, notifier, *m_port, *m_driver, state(),
                                               settings))
{
    state().setScanAvailable(0, true);
    state().setModelLabel(QStringLiteral("TX Generic Up/Down "));
}

GenericTxRadio::~GenericTxRadio() = default;

Capabilities GenericTxRadio::capabilities() const
{
    Capabilities caps;
    caps.panel = Capabilities::Panel::Channels;
    caps.scanOnCommand = true;
    caps.stepping = true;
    caps.initialisesOnCommand = false;
    caps.answers = false;
    return caps;
}

void GenericTxRadio::open()
{
    if (m_open)
        return;
    activate();
}

void GenericTxRadio::activate()
{
    m_open = true;
    // The dialog keeps the base channel within the channel count; the kept value counts.
    m_settings.setBaseChannel(m_station.Tx16BaseChannel);
    m_station.Tx16BaseChannel = m_settings.baseChannel();
    m_stepper->setPeriod(m_station.Tx16Tempo);
    m_settings.setPeriod(m_station.Tx16Tempo);
    // The lines are brought to rest before RESET, so the RESET pulse runs its full length
    // instead of being cut short by the rest-level write.
    m_lines->take();
    m_stepper->reset();
}

QCoro::Task<> GenericTxRadio::release()
{
    letGo();
    co_return;
}

void GenericTxRadio::letGo()
{
    m_stepper->releaseTransmitter();
    m_lines->letGo();
    m_open = false;
}

void GenericTxRadio::linesChanged()
{
    if (inUse())
        m_lines->changed();
}

QCoro::Task<> GenericTxRadio::requestFrequency(std::function<void()> done)
{
    m_station.setCurrentFrequency(m_stepper->frequency());
    done();
    co_return;
}

void GenericTxRadio::step(bool up)
{
    m_stepper->step(up);
}

void GenericTxRadio::resetChannel()
{
    m_stepper->reset();
}

void GenericTxRadio::resynchronise(bool up)
{
    m_stepper->resynchronise(up);
}

void GenericTxRadio::goToChannel(int index)
{
    m_stepper->goToEntry(index);
}

void GenericTxRadio::setCircularScan(bool circular)
{
    m_stepper->setCircular(circular);
}

QCoro::Task<> GenericTxRadio::transmit(bool on)
{
    m_stepper->setTransmit(on);
    co_return;
}

QCoro::Task<> GenericTxRadio::scan(int, bool on)
{
    m_stepper->setScan(on);
    co_return;
}

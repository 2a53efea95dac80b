#include "generic_tx/GenericTxRadio.h"

#include "core/StationState.h"
#include "generic_tx/ChannelStepper.h"

GenericTxRadio::GenericTxRadio(StationState &station, std::function<void()> openSetup,
                               std::function<void()> letGo, QObject *parent)
    : Radio(parent), m_station(station), m_openSetup(std::move(openSetup)),
      m_letGo(std::move(letGo))
{
    state().setScanAvailable(0, true);
    state().setModelLabel(QStringLiteral("TX Generic Up/Down "));
}

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

QCoro::Task<> GenericTxRadio::release()
{
    m_stepper->releaseTransmitter();
    if (m_letGo)
        m_letGo();
    co_return;
}

QCoro::Task<> GenericTxRadio::requestFrequency(std::function<void()> done)
{
    m_station.CurrentFrequency = m_stepper->frequency();
    done();
    co_return;
}

void GenericTxRadio::step(bool up)
{
    m_stepper->step(up);
}

void GenericTxRadio::resetChannel()
{
    m_stepper->ButtonResetClick();
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

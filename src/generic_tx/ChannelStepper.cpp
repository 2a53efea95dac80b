#include "generic_tx/ChannelStepper.h"

#include "core/StationState.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/ChannelStepping.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxSettings.h"
#include "radio/RadioState.h"

namespace {
// The first tick of a walk or a scan comes this soon; it never tests the squelch.
constexpr int FirstTickMs = 100;
// Ticks at least this long have let the transmitter settle, so the squelch means something.
constexpr int SquelchSettledMs = 200;

StepDirection direction(bool up)
{
    return up ? StepDirection::Up : StepDirection::Down;
}

} // namespace

ChannelStepper::ChannelStepper(StationState &state, RadioState &radio, ControlLineDriver &driver,
                               GenericTxSettings &settings, QObject *parent)
    : QObject(parent), m_state(state), m_radio(radio), m_driver(driver), m_settings(settings)
{
    // A coarse timer may tick 5 % early, before the transmitter has settled on its channel.
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(m_state.Tx16Tempo);
    setSelector(m_state.Tx16Channel);
    connect(&m_tick, &QTimer::timeout, this, &ChannelStepper::tick);
}

void ChannelStepper::step(bool up)
{
    setSelector(m_position + (up ? 1 : -1));
    emit arrowPressed(up);
    takeStep(up);
}

void ChannelStepper::takeStep(bool up)
{
    if (m_tick.isActive()) {
        // A step, a walk or a scan is under way: the request is dropped.
        setSelector(m_state.Tx16Channel);
        return;
    }
    const StepDirection dir = direction(up);
    const StepResult result = ChannelStepping::step(m_position, dir, channelCount(), circular());
    setSelector(result.position);
    m_state.Tx16Channel = result.channel;
    showChannel();
    if (result.atLimit) {
        m_tick.stop();
        return;
    }
    if (!m_state.Tx16Resync) {
        m_tick.start();
        m_driver.pulse(dir == StepDirection::Up ? TxLine::Up : TxLine::Down);
    }
    followList();
}

void ChannelStepper::tick()
{
    const int elapsed = m_tick.interval();
    m_tick.stop();
    const int count = channelCount();

    if (elapsed >= SquelchSettledMs && scanning() && m_driver.squelchIsOpen()) {
        setScan(false);
        return;
    }
    m_tick.setInterval(m_state.Tx16Tempo + m_settings.pulseLength(TxLine::Up));
    setSelector(m_state.Tx16Channel);

    if (scanning()) {
        const StepDirection dir =
            ChannelStepping::scan(m_state.Tx16Channel, count, circular(), m_state.Tx16ScanUp);
        step(dir == StepDirection::Up);
        return;
    }

    const int target = m_state.Tx16TargetChannel;
    const WalkDecision next = ChannelStepping::walk(m_state.Tx16Channel, target, count, circular());
    if (next.clearTarget)
        m_state.Tx16TargetChannel = 0;
    if (next.direction == StepDirection::None)
        return;
    step(next.direction == StepDirection::Up);
    if (!circular() && next.direction == StepDirection::Down && m_state.Tx16Channel == target)
        m_state.Tx16TargetChannel = 0;
}

void ChannelStepper::walkToListEntry()
{
    if (scanning())
        scanOff();
    if (transmitting())
        transmitOff();
    const QString entry = m_radio.currentMemoryText();
    if (entry.isEmpty())
        return;
    const int count = int(m_radio.memories().size());
    const int channel = ChannelList::channelOf(entry).value_or(0);
    if (channel >= 1 && channel <= channelCount()) {
        if (channel == m_state.Tx16Channel) {
            m_radio.setCurrentMemory(qMin(channel, count) - 1);
            return;
        }
        m_state.Tx16TargetChannel = channel;
        startTicking(FirstTickMs);
        return;
    }
    // No channel there (or above the count): fall back to the channel on the display.
    const int shown = m_state.Tx16Channel - 1;
    if (shown >= 0 && shown < count)
        m_radio.setCurrentMemory(shown);
}

void ChannelStepper::reset()
{
    if (scanning())
        scanOff();
    if (transmitting())
        transmitOff();
    m_driver.pulse(TxLine::Reset);
    m_state.Tx16Channel = m_state.Tx16BaseChannel;
    setSelector(m_state.Tx16BaseChannel);
    showChannel();
    followList();
}

void ChannelStepper::setTransmit(bool on)
{
    m_radio.setKeyed(on);
    if (scanning())
        scanOff();
    m_driver.setPtt(on);
}

void ChannelStepper::setScan(bool on)
{
    m_radio.setScanning(0, on);
    if (on && transmitting())
        transmitOff();
    if (!on) {
        m_tick.stop();
        return;
    }
    m_state.Tx16TargetChannel = 0;
    startTicking(FirstTickMs);
}

void ChannelStepper::startTicking(int firstTickMs)
{
    m_tick.setInterval(firstTickMs);
    m_tick.start();
}

void ChannelStepper::setPeriod(int ms)
{
    m_tick.setInterval(ms);
}

void ChannelStepper::releaseTransmitter()
{
    if (scanning())
        scanOff();
    if (transmitting())
        transmitOff();
    m_tick.stop();
    m_state.Tx16TargetChannel = 0;
}

int ChannelStepper::channelCount() const
{
    return m_settings.channelCount();
}

int ChannelStepper::selectorMaximum() const
{
    return channelCount() + 1;
}

void ChannelStepper::setSelector(int position)
{
    m_position = qBound(0, position, selectorMaximum());
    emit selectorChanged();
}

bool ChannelStepper::circular() const
{
    return m_settings.circularScan();
}

bool ChannelStepper::scanning() const
{
    return m_radio.band(0).scanning;
}

bool ChannelStepper::transmitting() const
{
    return m_radio.keyed();
}

void ChannelStepper::goToEntry(int index)
{
    m_radio.setCurrentMemory(index);
    walkToListEntry();
}

void ChannelStepper::setCircular(bool circular)
{
    // The setup window's option is where the mode is kept; whoever watches it follows.
    m_settings.setCircularScan(circular);
}

void ChannelStepper::channelCountChanged()
{
    setSelector(m_position);
}

QString ChannelStepper::frequency() const
{
    if (scanning())
        return QStringLiteral("999.999999");
    const QString entry = m_radio.currentMemoryText();
    if (entry.size() >= 4 && entry.at(3) == QLatin1Char('='))
        return entry.mid(4, 10);
    return QStringLiteral("000.000000");
}

void ChannelStepper::showChannel()
{
    emit channelChanged(m_state.Tx16Channel);
}

void ChannelStepper::followList()
{
    const QStringList &entries = m_radio.memories();
    for (int i = 0; i < entries.size(); ++i) {
        if (ChannelList::channelOf(entries.at(i)) == m_state.Tx16Channel) {
            m_radio.setCurrentMemory(i);
            return;
        }
    }
}

void ChannelStepper::scanOff()
{
    m_radio.setScanning(0, false);
    m_tick.stop();
}

void ChannelStepper::transmitOff()
{
    m_radio.setKeyed(false);
    m_driver.setPtt(false);
}

void ChannelStepper::resynchronise(bool up)
{
    if (!ChannelStepping::resyncAllowed(m_position, direction(up), channelCount()))
        return;
    m_state.Tx16Resync = true;
    step(up);
    setSelector(m_state.Tx16Channel);
    m_state.Tx16Resync = false;
}

#include "generic_tx/ChannelStepper.h"

#include "core/StationState.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/ChannelStepping.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxSettings.h"
#include "radio/RadioState.h"

#include <QAbstractButton>
#include <QTimer>

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
                               GenericTxSettings &settings, const ChannelStepperWidgets &widgets,
                               QObject *parent)
    : QObject(parent), m_state(state), m_radio(radio), m_driver(driver), m_settings(settings),
      m_w(widgets)
{
    m_w.TimerTX16->setTimerType(Qt::PreciseTimer);
    setSelector(m_state.Tx16Channel);

    connect(m_w.TimerTX16, &QTimer::timeout, this, &ChannelStepper::TimerTX16Timer);
    connect(m_w.ButtonReset, &QAbstractButton::clicked, this, &ChannelStepper::ButtonResetClick);
    connect(m_w.ButtonSynchroUP, &QAbstractButton::clicked, this,
            &ChannelStepper::ButtonSynchroUPClick);
    connect(m_w.ButtonSynchroDown, &QAbstractButton::clicked, this,
            &ChannelStepper::ButtonSynchroDownClick);
}

void ChannelStepper::step(bool up)
{
    setSelector(m_position + (up ? 1 : -1));
    emit arrowPressed(up);
    takeStep(up);
}

void ChannelStepper::takeStep(bool up)
{
    if (m_w.TimerTX16->isActive()) {
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
        m_w.TimerTX16->stop();
        return;
    }
    if (!m_state.Tx16Resync) {
        m_w.TimerTX16->start();
        send(dir == StepDirection::Up ? "UP" : "DN");
    }
    followList();
}

void ChannelStepper::TimerTX16Timer()
{
    const int elapsed = m_w.TimerTX16->interval();
    m_w.TimerTX16->stop();
    const int count = channelCount();

    if (elapsed >= SquelchSettledMs && scanning() && m_driver.squelchIsOpen()) {
        setScan(false);
        return;
    }
    m_w.TimerTX16->setInterval(m_state.Tx16Tempo + m_settings.pulseLength(TxLine::Up));
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

void ChannelStepper::ComboBoxTXMEMClick()
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
        m_w.TimerTX16->setInterval(FirstTickMs);
        send("SC");
        return;
    }
    // No channel there (or above the count): fall back to the channel on the display.
    const int shown = m_state.Tx16Channel - 1;
    if (shown >= 0 && shown < count)
        m_radio.setCurrentMemory(shown);
}

void ChannelStepper::ButtonResetClick()
{
    if (scanning())
        scanOff();
    if (transmitting())
        transmitOff();
    m_driver.ButtonTestPin16Click();
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
    send(on ? "TX" : "RX");
}

void ChannelStepper::setScan(bool on)
{
    m_radio.setScanning(0, on);
    if (on && transmitting())
        transmitOff();
    if (!on) {
        send("SN");
        return;
    }
    m_state.Tx16TargetChannel = 0;
    m_w.TimerTX16->setInterval(FirstTickMs);
    send("SC");
}

void ChannelStepper::ButtonSynchroUPClick()
{
    resynchronise(true);
}

void ChannelStepper::ButtonSynchroDownClick()
{
    resynchronise(false);
}

void ChannelStepper::releaseTransmitter()
{
    if (scanning())
        scanOff();
    if (transmitting())
        transmitOff();
    m_w.TimerTX16->stop();
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
    ComboBoxTXMEMClick();
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

void ChannelStepper::send(const char *word)
{
    m_state.RigReply = m_driver.ExecuteTX16Command(QString::fromLatin1(word));
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
    send("SN");
}

void ChannelStepper::transmitOff()
{
    m_radio.setKeyed(false);
    send("RX");
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

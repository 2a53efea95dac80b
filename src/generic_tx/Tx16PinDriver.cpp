#include "generic_tx/Tx16PinDriver.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "generic_tx/ParallelPortLines.h"
#include "generic_tx/Tx16Settings.h"
#include "platform/ParallelPort.h"

#include <QAbstractButton>
#include <QTimer>

#include <utility>

Tx16PinDriver::Tx16PinDriver(StationState &state, ParallelPort &port, Notifier &notifier,
                             const Tx16Settings &settings, const Tx16PinWidgets &widgets,
                             QObject *parent)
    : QObject(parent), m_state(state), m_port(port), m_notifier(notifier), m_settings(settings),
      m_w(widgets), m_parallelPort(std::make_unique<ParallelPortLines>(state, port)),
      m_lines(m_parallelPort.get())
{
    m_w.ButtonTestPin17->setCheckable(true);
    for (QTimer *timer : {m_w.TimerPin14, m_w.TimerPin1, m_w.TimerPin16})
        timer->setTimerType(Qt::PreciseTimer);
}

Tx16PinDriver::~Tx16PinDriver() = default;

void Tx16PinDriver::useLines(ControlLines *lines)
{
    if (m_lines != m_parallelPort.get())
        disconnect(m_lines, &ControlLines::lost, this, nullptr);
    m_lines = lines ? lines : m_parallelPort.get();
    m_reportedFailure.clear();
    noteDriven(false);
    // A device that goes away takes its outputs with it.
    if (lines)
        connect(lines, &ControlLines::lost, this, [this] { noteDriven(false); });
}

bool Tx16PinDriver::onParallelPort() const
{
    return m_lines == m_parallelPort.get();
}

ControlLines::Levels Tx16PinDriver::restLevels() const
{
    ControlLines::Levels rest{};
    for (TxLine line : PinLogic::IdleOrder)
        rest[std::size_t(line)] = PinLogic::levelHigh(polarity(line), false);
    return rest;
}

bool Tx16PinDriver::openLines()
{
    noteDriven(false);
    if (!m_lines->open(restLevels()))
        return false;
    m_reportedFailure.clear();
    // An unkey asked while the device was away is already done: the lines opened at rest.
    if (pttOn())
        setPtt(true);
    return true;
}

QString Tx16PinDriver::ExecuteTX16Command(const QString &word)
{
    if (word == QLatin1String("UP"))
        startPulse(TxLine::Up);
    else if (word == QLatin1String("DN"))
        startPulse(TxLine::Down);
    else if (word == QLatin1String("TX"))
        setPtt(true);
    else if (word == QLatin1String("RX"))
        setPtt(false);
    else if (word == QLatin1String("SC"))
        m_w.TimerTX16->start();
    else if (word == QLatin1String("SN"))
        m_w.TimerTX16->stop();
    return QString();
}

void Tx16PinDriver::ButtonTestPin14Click()
{
    startPulse(TxLine::Up);
}

void Tx16PinDriver::ButtonTestPin1Click()
{
    startPulse(TxLine::Down);
}

void Tx16PinDriver::ButtonTestPin16Click()
{
    startPulse(TxLine::Reset);
}

void Tx16PinDriver::TimerPin14Timer()
{
    endPulse(TxLine::Up);
}

void Tx16PinDriver::TimerPin1Timer()
{
    endPulse(TxLine::Down);
}

void Tx16PinDriver::TimerPin16Timer()
{
    endPulse(TxLine::Reset);
}

void Tx16PinDriver::ButtonTestPin17Click(bool checked)
{
    if (!present()) {
        // Without a port the toggle keeps its state: it must tell whether the line is keyed.
        notePtt(m_pttOn);
        return;
    }
    setPtt(checked);
}

void Tx16PinDriver::setPtt(bool on)
{
    if (!present()) {
        if (on && reportFailure)
            reportFailure(
                onParallelPort()
                    ? QStringLiteral("Transmitter not keyed: no parallel port chosen (INIT)")
                    : QStringLiteral("Transmitter not keyed: no device chosen (INIT)"));
        return;
    }
    notePtt(on);
    // Every keying that fails is said: the TRANSMIT button shows keyed all the same.
    const bool written = write(TxLine::Ptt, on);
    noteDriven(on && written);
    if (!lastOperationWorked(written, on ? QStringLiteral("Transmitter not keyed: ") : QString()))
        m_notifier.beep();
}

bool Tx16PinDriver::pttOn() const
{
    return m_pttOn;
}

void Tx16PinDriver::notePtt(bool on)
{
    m_pttOn = on;
    m_w.ButtonTestPin17->setChecked(on);
}

void Tx16PinDriver::noteDriven(bool driven)
{
    if (driven == m_pttDriven)
        return;
    m_pttDriven = driven;
    emit pttDrivenChanged(driven);
}

bool Tx16PinDriver::squelchIsOpen()
{
    if (!present())
        return false;
    const std::optional<bool> inputHigh = m_lines->squelchHigh();
    return inputHigh && PinLogic::squelchOpenAt(*inputHigh, m_settings.squelchPolarity());
}

LinePolarity Tx16PinDriver::polarity(TxLine line) const
{
    return m_settings.polarity(line);
}

bool Tx16PinDriver::writeIdle(TxLine line)
{
    if (line == TxLine::Ptt) {
        // The line is about to rest: not keyed.
        notePtt(false);
        noteDriven(false);
    }
    return lastOperationWorked(write(line, false));
}

bool Tx16PinDriver::writeIdleLevelsAt(quint16 address)
{
    bool allWritten = true;
    m_port.EnablePorts(address, address);
    m_portHeld = true;
    noteDriven(false);
    for (TxLine line : PinLogic::IdleOrder) {
        PinLogic::writeLevel(m_port, address, line, polarity(line), false);
        allWritten = lastOperationWorked(PinLogic::succeeded(m_port.GetLastState())) && allWritten;
    }
    return allWritten;
}

void Tx16PinDriver::enablePort()
{
    const quint16 address = quint16(m_state.LptBase);
    m_port.EnablePorts(address, address);
    m_portHeld = true;
}

void Tx16PinDriver::releasePort()
{
    // The rest levels below end any pulse under way: nothing is left to end it afterwards.
    for (QTimer *timer : {m_w.TimerPin14, m_w.TimerPin1, m_w.TimerPin16})
        timer->stop();
    noteDriven(false);
    if (!present())
        return;
    if (onParallelPort()) {
        if (!std::exchange(m_portHeld, false))
            return;
        restAll();
        const quint16 address = quint16(m_state.LptBase);
        m_port.DisablePorts(address, address);
        return;
    }
    // A lost device is not written to; the lines a kernel lets go keep no defined level, so
    // they rest before.
    if (m_lines->isOpen())
        restAll();
    m_lines->close();
}

void Tx16PinDriver::restAll()
{
    // The transmitter unkeyed before anything else.
    for (TxLine line : {TxLine::Ptt, TxLine::Up, TxLine::Down, TxLine::Reset})
        write(line, false);
}

Tx16PinDriver::PulseLine Tx16PinDriver::pulseLine(TxLine line) const
{
    switch (line) {
    case TxLine::Down:
        return {line, m_w.TimerPin1};
    case TxLine::Reset:
        return {line, m_w.TimerPin16};
    default:
        return {TxLine::Up, m_w.TimerPin14};
    }
}

void Tx16PinDriver::startPulse(TxLine line)
{
    emit pulseAsked(line);
    if (!present())
        return;
    const PulseLine pulse = pulseLine(line);
    if (pulse.timer->isActive()) {
        // Dropped, not queued: the count of channels must match the pulses actually sent.
        m_notifier.beep();
        return;
    }
    if (!lastOperationWorked(write(line, true))) {
        m_notifier.beep();
        return;
    }
    pulse.timer->setInterval(m_settings.pulseLength(pulse.line));
    pulse.timer->start();
}

void Tx16PinDriver::endPulse(TxLine line)
{
    pulseLine(line).timer->stop();
    if (!present())
        return;
    write(line, false);
}

bool Tx16PinDriver::write(TxLine line, bool active)
{
    return m_lines->setLevel(line, PinLogic::levelHigh(polarity(line), active));
}

bool Tx16PinDriver::present() const
{
    return m_lines->present();
}

bool Tx16PinDriver::lastOperationWorked(bool worked, const QString &always)
{
    if (worked) {
        m_reportedFailure.clear();
        return true;
    }
    const QString state = m_lines->failure();
    // A scan stepping on a port it cannot open would otherwise fill the log with the same line.
    if (!always.isEmpty() || state != m_reportedFailure) {
        m_reportedFailure = state;
        if (reportFailure)
            reportFailure(always + state);
    }
    return false;
}

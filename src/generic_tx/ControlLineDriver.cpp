#include "generic_tx/ControlLineDriver.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "generic_tx/GenericTxSettings.h"
#include "generic_tx/ParallelPortLines.h"
#include "platform/ParallelPort.h"

#include <utility>

ControlLineDriver::ControlLineDriver(StationState &state, ParallelPort &port, Notifier &notifier,
                                     const GenericTxSettings &settings, QObject *parent)
    : QObject(parent), m_state(state), m_port(port), m_notifier(notifier), m_settings(settings),
      m_parallelPort(std::make_unique<ParallelPortLines>(state, port)),
      m_lines(m_parallelPort.get())
{
    for (TxLine line : {TxLine::Up, TxLine::Down, TxLine::Reset}) {
        QTimer *timer = pulseTimer(line);
        // A coarse timer may end 5 % early and cut the pulse short.
        timer->setTimerType(Qt::PreciseTimer);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, line] { endPulse(line); });
    }
}

ControlLineDriver::~ControlLineDriver() = default;

void ControlLineDriver::useLines(ControlLines *lines)
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

bool ControlLineDriver::onParallelPort() const
{
    return m_lines == m_parallelPort.get();
}

ControlLines::Levels ControlLineDriver::restLevels() const
{
    ControlLines::Levels rest{};
    for (TxLine line : PinLogic::IdleOrder)
        rest[std::size_t(line)] = PinLogic::levelHigh(polarity(line), false);
    return rest;
}

bool ControlLineDriver::openLines()
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

bool ControlLineDriver::pulsing(TxLine line) const
{
    const QTimer *timer = pulseTimer(line);
    return timer && timer->isActive();
}

void ControlLineDriver::togglePtt()
{
    if (!present()) {
        // Nothing is keyed or unkeyed without lines: whoever shows the line is told again.
        notePtt(m_pttOn);
        return;
    }
    setPtt(!m_pttOn);
}

void ControlLineDriver::setPtt(bool on)
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

bool ControlLineDriver::pttOn() const
{
    return m_pttOn;
}

void ControlLineDriver::notePtt(bool on)
{
    m_pttOn = on;
    emit pttNoted(on);
}

void ControlLineDriver::noteDriven(bool driven)
{
    if (driven == m_pttDriven)
        return;
    m_pttDriven = driven;
    emit pttDrivenChanged(driven);
}

bool ControlLineDriver::squelchIsOpen()
{
    if (!present())
        return false;
    const std::optional<bool> inputHigh = m_lines->squelchHigh();
    return inputHigh && PinLogic::squelchOpenAt(*inputHigh, m_settings.squelchPolarity());
}

LinePolarity ControlLineDriver::polarity(TxLine line) const
{
    return m_settings.polarity(line);
}

bool ControlLineDriver::writeIdle(TxLine line)
{
    if (line == TxLine::Ptt) {
        // The line is about to rest: not keyed.
        notePtt(false);
        noteDriven(false);
    }
    return lastOperationWorked(write(line, false));
}

bool ControlLineDriver::writeIdleLevelsAt(quint16 address)
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

void ControlLineDriver::enablePort()
{
    const quint16 address = quint16(m_state.LptBase);
    m_port.EnablePorts(address, address);
    m_portHeld = true;
}

void ControlLineDriver::releasePort()
{
    // The rest levels below end any pulse under way: nothing is left to end it afterwards.
    for (QTimer &timer : m_pulseTimers)
        timer.stop();
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

void ControlLineDriver::restAll()
{
    // The transmitter unkeyed before anything else.
    for (TxLine line : {TxLine::Ptt, TxLine::Up, TxLine::Down, TxLine::Reset})
        write(line, false);
}

QTimer *ControlLineDriver::pulseTimer(TxLine line)
{
    return const_cast<QTimer *>(std::as_const(*this).pulseTimer(line));
}

const QTimer *ControlLineDriver::pulseTimer(TxLine line) const
{
    switch (line) {
    case TxLine::Up:
        return &m_pulseTimers[0];
    case TxLine::Down:
        return &m_pulseTimers[1];
    case TxLine::Reset:
        return &m_pulseTimers[2];
    case TxLine::Ptt:
        break;
    }
    return nullptr;
}

void ControlLineDriver::pulse(TxLine line)
{
    QTimer *timer = pulseTimer(line);
    if (timer == nullptr)
        return;
    emit pulseAsked(line);
    if (!present())
        return;
    if (timer->isActive()) {
        // Dropped, not queued: the count of channels must match the pulses actually sent.
        m_notifier.beep();
        return;
    }
    if (!lastOperationWorked(write(line, true))) {
        m_notifier.beep();
        return;
    }
    timer->start(m_settings.pulseLength(line));
}

void ControlLineDriver::endPulse(TxLine line)
{
    if (!present())
        return;
    write(line, false);
}

bool ControlLineDriver::write(TxLine line, bool active)
{
    return m_lines->setLevel(line, PinLogic::levelHigh(polarity(line), active));
}

bool ControlLineDriver::present() const
{
    return m_lines->present();
}

bool ControlLineDriver::lastOperationWorked(bool worked, const QString &always)
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

#include "kenwood/RigLink.h"

#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/KenwoodReplies.h"
#include "platform/LinkSettings.h"

#include <QPointer>
#include <utility>

RigLink::RigLink(StationState &state, const SerialPortSettings &settings, TrafficLine *traffic,
                 QObject *parent)
    : QObject(parent), m_state(state), m_settings(settings), m_traffic(traffic)
{
    for (QTimer *timer : {&m_deadline, &m_intervalTimer, &m_totalTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(QString(), true); });
    connect(&m_intervalTimer, &QTimer::timeout, this, &RigLink::endOfRead);
    connect(&m_totalTimer, &QTimer::timeout, this, &RigLink::endOfRead);
    connect(&m_port, &QSerialPort::readyRead, this, &RigLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &RigLink::onError);
    m_reopenTimer.setInterval(ReopenPeriodMs);
    connect(&m_reopenTimer, &QTimer::timeout, this, &RigLink::tryReopen);
}

bool RigLink::open(const QString &portName)
{
    m_reopenTimer.stop();
    m_lostPortName.clear();
    return openPort(portName);
}

bool RigLink::openPort(const QString &portName)
{
    if (m_port.isOpen())
        return true;
    m_openedName = portName;
    m_port.setPortName(portName);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::HardwareControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openError = m_port.errorString();
        m_openDenied = m_port.error() == QSerialPort::PermissionError;
        return false;
    }
    m_openError.clear();
    m_openDenied = false;
    // A pseudo-terminal has no modem lines and refuses this; the link works without it.
    m_port.setDataTerminalReady(true);
    m_port.clearError();
    m_input.clear();
    return true;
}

void RigLink::close()
{
    m_reopenTimer.stop();
    m_lostPortName.clear();
    closePort();
}

void RigLink::closePort()
{
    shutPort();
    endExchangeInFlight();
}

void RigLink::shutPort()
{
    if (m_port.isOpen())
        m_port.close();
    m_input.clear();
}

// The reply to an exchange in flight can no longer come.
void RigLink::endExchangeInFlight()
{
    if (m_busy)
        finish(QString(), true);
}

bool RigLink::isOpen() const
{
    return m_port.isOpen();
}

void RigLink::clearBuffers()
{
    if (m_port.isOpen()) {
        m_port.clear();
        m_input += m_port.readAll();
    }
    if (!m_busy)
        m_input.clear();
}

// An exchange that goes first still goes after a keying that waits: the radio must never take
// an unkey before the "TX" asked for ahead of it.
struct RigLink::TurnAwaiter
{
    RigLink &link;
    Turn turn;
    bool keys;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle)
    {
        QList<WaitingTurn> &turns = link.m_turns;
        qsizetype at = turns.size();
        if (turn == Turn::First) {
            at = 0;
            for (qsizetype i = 0; i < turns.size(); ++i) {
                if (turns.at(i).keys)
                    at = i + 1;
            }
        }
        turns.insert(at, WaitingTurn{handle, keys});
    }
    void await_resume() const noexcept {}
};

struct RigLink::ReplyAwaiter
{
    ReplySlot &slot;

    bool await_ready() const noexcept { return slot.done; }
    void await_suspend(std::coroutine_handle<> handle) { slot.waiting = handle; }
    void await_resume() const noexcept {}
};

QCoro::Task<QString> RigLink::exchange(QString command, Turn turn)
{
    if (isBusy())
        co_await TurnAwaiter{*this, turn, command == QLatin1String("TX")};
    ReplySlot slot;
    m_slot = &slot;
    m_command = command;
    m_busy = true;
    // Whatever came before the command was written (a line the radio sent unasked, the late
    // reply of an exchange that gave up, the rest of an over-long line) is not its reply.
    dropInput();
    const QByteArray bytes = command.toLatin1() + '\r';
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size()) {
        finish(QString(), true);
    } else {
        // Out now: QSerialPort would otherwise wait for the event loop, which may first repaint.
        m_port.flush();
        m_deadline.start(ReplyDeadlineMs);
        startRead();
        takeCompleteReply();
    }
    co_await ReplyAwaiter{slot};
    m_state.RigReply = slot.reply;
    co_return slot.reply;
}

void RigLink::dropInput()
{
    m_input.clear();
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void RigLink::startRead()
{
    m_intervalTimer.stop();
    const int total =
        m_settings.readTotalMultiplier * MaxReplyLength + m_settings.readTotalConstant;
    if (m_settings.readTotalMultiplier > 0 || m_settings.readTotalConstant > 0)
        m_totalTimer.start(qMax(1, total));
    else
        m_totalTimer.stop();
}

void RigLink::onReadyRead()
{
    const QByteArray bytes = m_port.readAll();
    // Between exchanges nothing is anybody's reply.
    if (!m_busy)
        return;
    m_input += bytes;
    // A radio that talks unasked, or a noisy line, must not make the process grow: what does
    // not fit is lost, as in a driver's overrun.
    if (m_input.size() > InputCapacity)
        m_input.truncate(InputCapacity);
    takeCompleteReply();
}

// A reply is complete at its carriage return, or once it fills the read.
void RigLink::takeCompleteReply()
{
    while (m_busy) {
        const qsizetype cr = m_input.indexOf('\r');
        qsizetype length = -1;
        if (cr >= 0)
            length = qMin<qsizetype>(cr + 1, MaxReplyLength);
        else if (m_input.size() >= MaxReplyLength)
            length = MaxReplyLength;
        if (length < 0)
            break;
        const QByteArray reply = m_input.left(length);
        m_input.remove(0, length);
        if (offer(reply))
            return;
    }
    if (m_busy && !m_input.isEmpty() && m_settings.readIntervalTimeout > 0)
        m_intervalTimer.start(m_settings.readIntervalTimeout);
}

// The read's own time-outs ended it without a carriage return: what came is the reply.
void RigLink::endOfRead()
{
    if (!m_busy)
        return;
    const QByteArray reply = m_input.left(MaxReplyLength);
    m_input.remove(0, reply.size());
    offer(reply);
}

// A read of fewer than two characters is noise, and a line that does not answer the command
// belongs to nobody: both are read over and the read starts again within the same deadline.
bool RigLink::offer(const QByteArray &read)
{
    const QString reply = QString::fromLatin1(read);
    if (read.size() < 2 || !Kenwood::replyAnswers(m_command, reply)) {
        startRead();
        return false;
    }
    finish(reply, false);
    return true;
}

// The caller goes on first: an exchange it asks for next waits behind those that waited already
// (an unkey asked for meanwhile goes out next), unless it goes first itself, so that a release's
// "RX" and "SC 0" go out one after the other.
void RigLink::finish(const QString &reply, bool timedOut)
{
    if (!m_busy)
        return;
    m_deadline.stop();
    m_intervalTimer.stop();
    m_totalTimer.stop();
    m_busy = false;
    ReplySlot *slot = std::exchange(m_slot, nullptr);
    slot->done = true;
    if (timedOut) {
        m_input.clear();
        slot->reply = Kenwood::TimeoutReply.toString();
        reportTimeout();
    } else {
        slot->reply = reply;
        if (m_command == QLatin1String("RX"))
            m_unkeyOwed = false;
        if (m_traffic)
            m_traffic->append(reply);
    }
    emit exchangeFinished();
    if (!timedOut)
        emit replyReceived();
    else if (m_port.isOpen() && m_lostPortName.isEmpty())
        emit replyMissing();
    // The slot goes with the caller's frame, and so may the link itself (one that lives in the
    // frame of the coroutine whose last exchange this was, as in --reset).
    const QPointer<RigLink> alive(this);
    if (const std::coroutine_handle<> caller = slot->waiting)
        caller.resume();
    if (alive && !m_busy && !m_turns.isEmpty())
        m_turns.takeFirst().handle.resume();
}

void RigLink::reportTimeout()
{
    m_unkeyOwed = true;
    m_state.setRigStatus(0);
    m_state.setRigAnswering(false);
    // While the port is away its status line says so, rather than that the radio is silent.
    if (m_lostPortName.isEmpty())
        emit silenceNoticed();
}

void RigLink::onError(QSerialPort::SerialPortError error)
{
    // The device went away (a USB adapter pulled, the pty's other end closed): stop using it, and
    // look for it again under the same name until it is back.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
        error == QSerialPort::WriteError)
        QMetaObject::invokeMethod(this, &RigLink::losePort, Qt::QueuedConnection);
}

void RigLink::losePort()
{
    if (!m_port.isOpen())
        return;
    m_lostPortName = m_openedName;
    shutPort();
    m_reopenTimer.start();
    // The loss is said and logged before the request that waited for the exchange in flight
    // goes on, so that what it reports (a radio that does not answer) is what stays on show.
    emit portLost(m_lostPortName);
    endExchangeInFlight();
}

void RigLink::awaitPort(const QString &portName)
{
    if (m_port.isOpen())
        return;
    m_lostPortName = portName;
    m_reopenTimer.start();
}

void RigLink::tryReopen()
{
    if (m_lostPortName.isEmpty() || !openPort(m_lostPortName))
        return;
    const QString name = m_lostPortName;
    m_reopenTimer.stop();
    m_lostPortName.clear();
    emit portBack(name);
}

#include "RigSession.h"

#include <QDateTime>

#include <cstdio>

RigSession::RigSession(const RigOptions &options, QObject *parent)
    : QObject(parent), m_options(options),
      m_model(options.kind, options.channelCount, options.idText, options.garble),
      m_port(options.paced)
{
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_replyTimer, &QTimer::timeout, this, &RigSession::answerDue);
    connect(&m_port, &PtyPort::commandReceived, this, &RigSession::onCommand);
    m_clock.start();
}

bool RigSession::start(QString *error)
{
    if (!m_options.logPath.isEmpty()) {
        m_log.setFileName(m_options.logPath);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            *error = QStringLiteral("cannot open the log %1: %2")
                         .arg(m_options.logPath, m_log.errorString());
            return false;
        }
    } else if (!m_log.open(stderr, QIODevice::WriteOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot write to standard error");
        return false;
    }
    if (!m_port.open(error))
        return false;
    return m_options.linkPath.isEmpty() || m_port.makeLink(m_options.linkPath, error);
}

void RigSession::onCommand(const QByteArray &command)
{
    log('<', command);
    if (m_options.silent) {
        log('-', command + " (silent)");
        return;
    }
    // The radio only sees the command once its last character has crossed the line, and answers
    // commands one after the other.
    const qint64 wireNs = m_options.paced ? (command.size() + 1) * PtyPort::ByteTimeNs : 0;
    const qint64 startNs = qMax(m_clock.nsecsElapsed(), m_lastDueNs);
    const qint64 extraMs = m_options.delayMs + m_lateReplies.take(command);
    m_lastDueNs = startNs + wireNs + extraMs * 1'000'000;
    m_pending.enqueue({command, m_lastDueNs});
    if (m_pending.size() == 1)
        scheduleNext();
}

void RigSession::scheduleNext()
{
    if (m_pending.isEmpty())
        return;
    const qint64 waitNs = m_pending.head().dueNs - m_clock.nsecsElapsed();
    m_replyTimer.start(int(qMax<qint64>(0, (waitNs + 999'999) / 1'000'000)));
}

void RigSession::answerDue()
{
    while (!m_pending.isEmpty() && m_pending.head().dueNs <= m_clock.nsecsElapsed()) {
        const QByteArray command = m_pending.dequeue().command;
        QByteArray reply = m_model.answer(command);
        // A broken receive wire: the radio obeys, its replies never arrive.
        if (m_repliesLost) {
            log('-', reply + " (lost)");
            continue;
        }
        // Line noise past the reply's own letters: still a complete line, but not the set's.
        if (m_spoiltReplies.value(command) > 0) {
            --m_spoiltReplies[command];
            for (qsizetype i = 3; i < reply.size(); ++i)
                reply[i] = char(reply.at(i) ^ 0x55);
        }
        m_port.send(reply + '\r');
        log('>', reply);
    }
    scheduleNext();
}

bool RigSession::obey(const QByteArray &order)
{
    log('=', order);
    if (order.startsWith("send ")) {
        const QByteArray text = order.mid(5);
        m_port.send(text + '\r');
        log('>', text + " (unasked)");
        return true;
    }
    // The radio switched off ("silent on") and on again: commands are logged, not answered.
    if (order == "silent on" || order == "silent off") {
        m_options.silent = order == "silent on";
        return true;
    }
    if (order == "lost on" || order == "lost off") {
        m_repliesLost = order == "lost on";
        return true;
    }
    if (order.startsWith("late ")) {
        const qsizetype lastBlank = order.lastIndexOf(' ');
        bool ok = false;
        const int ms = order.mid(lastBlank + 1).toInt(&ok);
        const QByteArray command = order.mid(5, lastBlank - 5);
        if (!ok || ms < 0 || command.isEmpty())
            return false;
        m_lateReplies.insert(command, ms);
        return true;
    }
    if (order.startsWith("id ")) {
        m_model.setIdText(order.mid(3));
        return true;
    }
    if (order.startsWith("spoil ")) {
        ++m_spoiltReplies[order.mid(6)];
        return true;
    }
    return false;
}

void RigSession::log(char direction, const QByteArray &text)
{
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toLatin1();
    m_log.write(stamp + ' ' + direction + ' ' + text + '\n');
    m_log.flush();
}

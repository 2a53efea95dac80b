#include "support/ServerTraffic.h"

#include "support/ServerPeer.h"

#include <QDateTime>
#include <QTimer>

namespace {

constexpr int ReconnectLookMs = 200;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QByteArray stamp(qint64 t)
{
    return QDateTime::fromMSecsSinceEpoch(t).toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
}

} // namespace

ServerTraffic::ServerTraffic(ServerPeer &server, quint32 seed, const Pace &pace)
    : m_server(server), m_random(seed), m_pace(pace)
{
}

int ServerTraffic::between(const int (&range)[2])
{
    return int(m_random.bounded(range[0], range[1] + 1));
}

void ServerTraffic::start()
{
    m_running = true;
    QTimer::singleShot(between(m_pace.gapMs), this, &ServerTraffic::sendNextKeying);
    QTimer::singleShot(between(m_pace.askEveryMs), this, &ServerTraffic::askFrequency);
}

void ServerTraffic::stop()
{
    m_running = false;
    if (m_over && m_server.hasClient()) {
        m_over = false;
        m_messages.append({now(), false});
        m_server.send("RECEIVE_R\r\n");
    }
}

void ServerTraffic::sendNextKeying()
{
    if (!m_running)
        return;
    if (!m_server.hasClient()) {
        QTimer::singleShot(ReconnectLookMs, this, &ServerTraffic::sendNextKeying);
        return;
    }
    // The time is taken first: what the radio does about it comes after.
    m_messages.append({now(), !m_over});
    m_server.send(m_over ? "RECEIVE_R\r\n" : "TRANSMIT_R\r\n");
    m_over = !m_over;
    QTimer::singleShot(between(m_over ? m_pace.overMs : m_pace.gapMs), this,
                       &ServerTraffic::sendNextKeying);
}

void ServerTraffic::askFrequency()
{
    if (!m_running)
        return;
    if (m_server.hasClient()) {
        m_requests.append(Request{now(), -1, {}, false});
        m_server.send("FREQUENCY\r\n");
    }
    QTimer::singleShot(between(m_pace.askEveryMs), this, &ServerTraffic::askFrequency);
}

void ServerTraffic::takeAnswers()
{
    const QByteArray received = m_server.received();
    for (qsizetype end; (end = received.indexOf("\r\n", m_readOffset)) >= 0;) {
        const QByteArray line = received.mid(m_readOffset, end - m_readOffset);
        m_readOffset = end + 2;
        if (m_nextAnswer >= m_requests.size()) {
            ++m_unasked;
            continue;
        }
        m_requests[m_nextAnswer].answeredAt = now();
        m_requests[m_nextAnswer++].answer = line;
    }
}

void ServerTraffic::dropping()
{
    takeAnswers();
    for (qsizetype i = m_nextAnswer; i < m_requests.size(); ++i)
        m_requests[i].lost = true;
    m_nextAnswer = m_requests.size();
}

QByteArray ServerTraffic::transcript() const
{
    QByteArray text;
    for (const Message &m : m_messages)
        text += stamp(m.at) + (m.transmit ? " TRANSMIT_R\n" : " RECEIVE_R\n");
    for (const Request &r : m_requests)
        text += stamp(r.at) + " FREQUENCY -> " +
                (r.answeredAt < 0 ? QByteArray("none") : stamp(r.answeredAt) + ' ' + r.answer) +
                (r.lost ? " (connection dropped)\n" : "\n");
    return text;
}

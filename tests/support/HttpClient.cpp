#include "support/HttpClient.h"

#include <QDeadlineTimer>
#include <QHostAddress>

namespace {

bool parseHead(const QByteArray &text, HttpClient::Response &response, qsizetype *bodyStart)
{
    const qsizetype end = text.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = text.left(end).split('\n');
    const QList<QByteArray> status = lines.value(0).trimmed().split(' ');
    response.status = status.value(1).toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            response.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    *bodyStart = end + 4;
    return true;
}

} // namespace

QByteArray HttpClient::Response::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

HttpClient::Response HttpClient::request(const QByteArray &method, const QByteArray &path,
                                         const QList<QPair<QByteArray, QByteArray>> &headers,
                                         const QByteArray &body, int timeoutMs)
{
    Response response;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(timeoutMs))
        return response;
    QByteArray text = method + ' ' + path +
                      " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_port) +
                      "\r\nConnection: close\r\n";
    bool lengthGiven = false;
    for (const auto &[name, value] : headers) {
        text += name + ": " + value + "\r\n";
        lengthGiven = lengthGiven || name.compare("Content-Length", Qt::CaseInsensitive) == 0;
    }
    if (!lengthGiven && (!body.isEmpty() || method == "POST"))
        text += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    socket.write(text + "\r\n" + body);
    QByteArray received;
    const QDeadlineTimer deadline(timeoutMs);
    qsizetype bodyStart = -1;
    while (!deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 &&
            !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        received += socket.readAll();
        if (bodyStart < 0 && !parseHead(received, response, &bodyStart))
            continue;
        const QByteArray length = response.header("Content-Length");
        if (!length.isEmpty() && received.size() - bodyStart >= length.toLongLong())
            break;
    }
    if (bodyStart < 0)
        parseHead(received, response, &bodyStart);
    if (bodyStart >= 0)
        response.body = received.mid(bodyStart);
    return response;
}

QList<QPair<QByteArray, QByteArray>> HttpClient::sameOrigin(const QByteArray &cookie) const
{
    QList<QPair<QByteArray, QByteArray>> headers{
        {"Origin", "http://127.0.0.1:" + QByteArray::number(m_port)},
        {"Content-Type", "application/x-www-form-urlencoded"}};
    if (!cookie.isEmpty())
        headers.append({"Cookie", cookie});
    return headers;
}

bool HttpClient::openEvents(int timeoutMs)
{
    m_events.connectToHost(QHostAddress::LocalHost, m_port);
    if (!m_events.waitForConnected(timeoutMs))
        return false;
    m_events.write("GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_port) +
                   "\r\nAccept: text/event-stream\r\n\r\n");
    QObject::connect(&m_events, &QTcpSocket::readyRead,
                     [this] { m_eventText += m_events.readAll(); });
    return true;
}

QByteArray HttpClient::events()
{
    m_eventText += m_events.readAll();
    return m_eventText;
}

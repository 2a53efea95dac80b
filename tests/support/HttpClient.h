#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QTcpSocket>

// A plain HTTP/1.1 client on a socket of its own, for tests and benches that must send what a
// browser would not (a foreign origin, a path with "..", a body without end) and read the
// answer as it comes.
class HttpClient
{
public:
    struct Response
    {
        int status = 0; // 0: no answer
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        QByteArray header(const QByteArray &name) const;
    };

    explicit HttpClient(quint16 port) : m_port(port) {}

    // One request on a fresh connection; the answer, whole (Content-Length) or as far as it came
    // within `timeoutMs`.
    Response request(const QByteArray &method, const QByteArray &path,
                     const QList<QPair<QByteArray, QByteArray>> &headers = {},
                     const QByteArray &body = {}, int timeoutMs = 5000);
    // The headers a page of the station's own origin sends with a POST.
    QList<QPair<QByteArray, QByteArray>> sameOrigin(const QByteArray &cookie = {}) const;

    // Opens /events and keeps reading; `events()` is everything received so far.
    bool openEvents(int timeoutMs = 5000);
    QByteArray events();
    QTcpSocket &eventSocket() { return m_events; }

    quint16 port() const { return m_port; }

private:
    quint16 m_port;
    QTcpSocket m_events;
    QByteArray m_eventText;
};

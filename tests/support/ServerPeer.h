#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// The relay server's side of the link, inside a test: listens on 127.0.0.1 on a free port,
// takes the station's connections and keeps what the station sends.
class ServerPeer : public QObject
{
    Q_OBJECT
public:
    // Listens on `port`, or on a free one when 0.
    explicit ServerPeer(quint16 port = 0);

    quint16 port() const { return m_server.serverPort(); }
    // Connections accepted so far, the current one included.
    int connections() const { return m_connections; }
    bool hasClient() const;
    // Waits (with events running) until a station is connected.
    bool waitForClient(int timeoutMs = 5000);
    // Waits until the station's connection has gone.
    bool waitForClientGone(int timeoutMs = 5000);

    void send(const QByteArray &bytes);
    void closeClient();
    // Ends the connection with a reset instead of a normal end.
    void resetClient();
    // When set, every connection accepted from now on is closed at once (a server that accepts
    // and then drops).
    void setCloseAtOnce(bool closeAtOnce) { m_closeAtOnce = closeAtOnce; }
    // Everything the station has sent on any connection, in order.
    QByteArray received() const { return m_received; }
    // Waits until `received()` holds `count` CR LF-ended lines, and returns them without CR LF.
    QList<QByteArray> waitForLines(int count, int timeoutMs = 5000);

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_received;
    int m_connections = 0;
    bool m_closeAtOnce = false;
};

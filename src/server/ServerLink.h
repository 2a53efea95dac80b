#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// The TCP connection to the relay server. Connecting never blocks the window: the attempt runs
// in the background and is given up after the time-out. A failed attempt reports attemptFailed
// with the system's reason; a connection that was up reports disconnected.
class ServerLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int ConnectTimeoutMs = 2000;
    // What the socket may hold unread. Past this the kernel holds the rest back from the server,
    // so a server that streams without pause cannot make this process grow.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;

    explicit ServerLink(QObject *parent = nullptr);

    // Starts connecting unless connected or already trying. A port outside 1..65535 or an
    // empty host fails like an unreachable server.
    void open(const QString &host, int port);
    // Closes the connection, or gives up an attempt under way. Never fails.
    void close();

    bool isConnected() const { return m_up; }
    bool isConnecting() const { return m_connectTimer.isActive(); }

    // Everything received and not yet taken, at most ReadBufferBytes; empty when nothing.
    QByteArray takeAvailable();
    qint64 bytesAvailable() const;
    // Writes the bytes unchanged and pushes them out at once. False when not connected.
    bool send(const QByteArray &bytes);

signals:
    void connected();
    void disconnected();
    void attemptFailed(const QString &reason);
    void dataArrived();

private:
    void onConnected();
    void onStateChanged(QAbstractSocket::SocketState socketState);
    void giveUp(const QString &reason);

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    bool m_up = false;
};

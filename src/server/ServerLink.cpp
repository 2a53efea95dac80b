#include "server/ServerLink.h"

ServerLink::ServerLink(QObject *parent) : QObject(parent)
{
    m_socket.setReadBufferSize(ReadBufferBytes);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        giveUp(QStringLiteral("no answer within %1 s").arg(ConnectTimeoutMs / 1000));
    });
    connect(&m_socket, &QTcpSocket::connected, this, &ServerLink::onConnected);
    connect(&m_socket, &QTcpSocket::stateChanged, this, &ServerLink::onStateChanged);
    connect(&m_socket, &QTcpSocket::readyRead, this, &ServerLink::dataArrived);
    // Errors while connecting end the attempt; errors on an open connection show as the state
    // going back to unconnected.
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (!m_up)
            giveUp(m_socket.errorString());
    });
}

void ServerLink::open(const QString &host, int port)
{
    if (m_up || isConnecting())
        return;
    if (host.trimmed().isEmpty()) {
        emit attemptFailed(QStringLiteral("no server address"));
        return;
    }
    if (port < 1 || port > 65535) {
        emit attemptFailed(QStringLiteral("port %1 out of range 1-65535").arg(port));
        return;
    }
    m_socket.abort();
    m_connectTimer.start();
    m_socket.connectToHost(host, quint16(port));
}

void ServerLink::close()
{
    m_connectTimer.stop();
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        return;
    m_socket.disconnectFromHost();
    // What is still queued has been flushed by send(); nothing is worth waiting for.
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
}

QByteArray ServerLink::takeAvailable()
{
    return m_socket.read(ReadBufferBytes);
}

qint64 ServerLink::bytesAvailable() const
{
    return m_socket.bytesAvailable();
}

bool ServerLink::send(const QByteArray &bytes)
{
    if (!m_up)
        return false;
    if (m_socket.write(bytes) != bytes.size())
        return false;
    m_socket.flush();
    return true;
}

void ServerLink::onConnected()
{
    m_connectTimer.stop();
    m_up = true;
    emit connected();
}

void ServerLink::onStateChanged(QAbstractSocket::SocketState socketState)
{
    if (socketState != QAbstractSocket::UnconnectedState || !m_up)
        return;
    m_up = false;
    emit disconnected();
}

void ServerLink::giveUp(const QString &reason)
{
    const bool wasTrying = m_connectTimer.isActive();
    m_connectTimer.stop();
    if (m_up)
        return;
    m_socket.abort();
    if (wasTrying)
        emit attemptFailed(reason);
}

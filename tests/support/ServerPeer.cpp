#include "support/ServerPeer.h"

#include <QTest>

#include <sys/socket.h>

ServerPeer::ServerPeer(quint16 port)
{
    m_server.listen(QHostAddress::LocalHost, port);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            m_client = socket;
            connect(socket, &QTcpSocket::readyRead, this,
                    [this, socket] { m_received += socket->readAll(); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (m_closeAtOnce)
                socket->disconnectFromHost();
        }
    });
}

bool ServerPeer::hasClient() const
{
    return m_client && m_client->state() == QAbstractSocket::ConnectedState;
}

bool ServerPeer::waitForClient(int timeoutMs)
{
    return QTest::qWaitFor([this] { return hasClient(); }, timeoutMs);
}

bool ServerPeer::waitForClientGone(int timeoutMs)
{
    return QTest::qWaitFor([this] { return !hasClient(); }, timeoutMs);
}

void ServerPeer::send(const QByteArray &bytes)
{
    if (!m_client)
        return;
    m_client->write(bytes);
    m_client->flush();
}

void ServerPeer::closeClient()
{
    if (m_client)
        m_client->disconnectFromHost();
}

void ServerPeer::resetClient()
{
    if (!m_client)
        return;
    // No lingering: the close sends a reset.
    const linger abortive{1, 0};
    ::setsockopt(int(m_client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
    m_client->close();
}

QList<QByteArray> ServerPeer::waitForLines(int count, int timeoutMs)
{
    // On time-out the lines there are are returned; the caller's comparison shows the shortfall.
    [[maybe_unused]] const bool complete =
        QTest::qWaitFor([this, count] { return m_received.count("\r\n") >= count; }, timeoutMs);
    QList<QByteArray> lines = m_received.split('\n');
    lines.removeLast(); // what follows the last line end
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

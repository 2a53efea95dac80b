#include "RelayServer.h"

#include "Console.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <utility>

namespace {

constexpr int FlushWaitMs = 2000;

} // namespace

RelayServer::RelayServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RelayServer::acceptPending);
}

bool RelayServer::listen(quint16 port, QString *error)
{
    // Loopback only: this is a test stand-in and must never be reachable from the network.
    if (m_server.listen(QHostAddress::LocalHost, port))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

quint16 RelayServer::port() const
{
    return m_server.serverPort();
}

int RelayServer::clientCount() const
{
    return int(m_clients.size());
}

void RelayServer::send(const QByteArray &bytes)
{
    for (QTcpSocket *socket : std::as_const(m_clients))
        socket->write(bytes);
    Console::print(QStringLiteral("SENT %1 %2").arg(Console::timestamp(), Console::escape(bytes)));
}

void RelayServer::closeClients()
{
    // A closing socket may still be writing what it was given; it must not take new lines,
    // which belong to the next connection.
    const QList<QTcpSocket *> clients = std::exchange(m_clients, {});
    m_closing += clients;
    for (QTcpSocket *socket : clients)
        socket->disconnectFromHost();
}

void RelayServer::shutdown()
{
    m_server.close();
    const QList<QTcpSocket *> clients = m_clients + m_closing;
    for (QTcpSocket *socket : clients) {
        if (socket->bytesToWrite() > 0)
            socket->waitForBytesWritten(FlushWaitMs);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(FlushWaitMs);
        dropClient(socket);
    }
}

void RelayServer::acceptPending()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_clients.append(socket);
        m_peers.insert(socket, peerText(socket));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readClient(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { dropClient(socket); });
        Console::print(QStringLiteral("CONNECTED %1").arg(m_peers.value(socket)));
        emit clientConnected();
    }
}

void RelayServer::readClient(QTcpSocket *socket)
{
    QByteArray &pending = m_pending[socket];
    pending += socket->readAll();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        QByteArray line = pending.left(end + 1);
        pending.remove(0, end + 1);
        // Only a CR LF is taken as the line end; a bare LF stays visible as "\n".
        if (line.endsWith("\r\n"))
            line.chop(2);
        Console::print(
            QStringLiteral("RECV %1 %2").arg(Console::timestamp(), Console::escape(line)));
    }
    if (pending.size() > MaxPendingBytes) {
        Console::print(
            QStringLiteral("PARTIAL %1 %2").arg(Console::timestamp(), Console::escape(pending)));
        pending.clear();
    }
}

void RelayServer::dropClient(QTcpSocket *socket)
{
    if (!m_clients.removeOne(socket) && !m_closing.removeOne(socket))
        return;
    if (socket->bytesAvailable() > 0)
        readClient(socket);
    const QByteArray rest = m_pending.take(socket);
    if (!rest.isEmpty())
        Console::print(
            QStringLiteral("PARTIAL %1 %2").arg(Console::timestamp(), Console::escape(rest)));
    Console::print(QStringLiteral("DISCONNECTED %1").arg(m_peers.take(socket)));
    socket->deleteLater();
}

QString RelayServer::peerText(const QTcpSocket *socket)
{
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

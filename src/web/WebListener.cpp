#include "web/WebListener.h"

#include <QTcpSocket>

#include <unistd.h>

WebListener::WebListener(QObject *parent) : QTcpServer(parent) {}

void WebListener::incomingConnection(qintptr descriptor)
{
    if (m_received.size() >= MaxConnections) {
        ::close(int(descriptor));
        return;
    }
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    m_received.insert(socket, 0);
    // Connected before the HTTP library's own handler, so this one sees the bytes first.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { received(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        m_received.remove(socket);
        socket->deleteLater();
    });
    addPendingConnection(socket);
}

void WebListener::received(QTcpSocket *socket)
{
    const auto it = m_received.find(socket);
    if (it == m_received.end())
        return;
    *it += socket->bytesAvailable();
    if (*it <= MaxRequestBytes)
        return;
    // Read away here, so the library parses none of it.
    socket->readAll();
    m_received.remove(socket);
    socket->write(
        "HTTP/1.1 413 Payload Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    socket->disconnectFromHost();
}

void WebListener::requestDone(QTcpSocket *socket)
{
    const auto it = m_received.find(socket);
    if (it != m_received.end())
        *it = 0;
}

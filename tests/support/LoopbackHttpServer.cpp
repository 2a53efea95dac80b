#include "support/LoopbackHttpServer.h"

#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::serve);
}

QUrl LoopbackHttpServer::url() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

void LoopbackHttpServer::serve()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto *received = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            requests << received->left(end);
            received->clear();
            const QByteArray reason = status == 200 ? "OK" : "Error";
            QByteArray head = "HTTP/1.0 " + QByteArray::number(status) + ' ' + reason + "\r\n";
            head += "Content-Type: text/plain\r\n";
            if (stall) {
                head += "Content-Length: 100\r\n\r\n";
                socket->write(head);
                return;
            }
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n";
            socket->write(head + body);
            socket->disconnectFromHost();
        });
    }
}

#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QUrl>

// A minimal HTTP/1.0 server on 127.0.0.1 that answers every request with one preset response
// and keeps the requests it received.
class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    LoopbackHttpServer();

    QUrl url() const; // http://127.0.0.1:<port>

    int status = 200;
    QByteArray body;
    // Sends the headers and then nothing more, leaving the client to its own time limit.
    bool stall = false;

    QList<QByteArray> requests; // request line and headers of each request, as received

private:
    void serve();

    QTcpServer m_server;
};

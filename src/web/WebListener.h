#pragma once

#include <QHash>
#include <QTcpServer>

class QTcpSocket;

// The page's TCP side, in front of the HTTP library: a bounded number of connections, and no
// request that grows past a few kilobytes (a body sent without end, headers without end) is
// held in memory: it is answered 413 and the connection closed.
class WebListener : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr int MaxConnections = 512;
    // Headers and body of one request, with room for a browser's usual headers.
    static constexpr qint64 MaxRequestBytes = 16 * 1024;

    explicit WebListener(QObject *parent = nullptr);

    // The request on `socket` has been answered: its bytes no longer count.
    void requestDone(QTcpSocket *socket);
    int connectionCount() const { return int(m_received.size()); }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void received(QTcpSocket *socket);

    QHash<QTcpSocket *, qint64> m_received;
};

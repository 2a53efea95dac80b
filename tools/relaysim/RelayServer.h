#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// The listening side: accepts the station's connections on the loopback address, sends to every
// connected station and prints each line a station sends back.
class RelayServer : public QObject
{
    Q_OBJECT

public:
    // A line from the station longer than this without a line end is printed as it stands.
    static constexpr qsizetype MaxPendingBytes = 64 * 1024;

    explicit RelayServer(QObject *parent = nullptr);

    bool listen(quint16 port, QString *error);
    quint16 port() const;
    int clientCount() const;

    // Sends the bytes unchanged to every connected station and prints them as sent.
    void send(const QByteArray &bytes);

    // Closes every connection from this side; the server keeps listening.
    void closeClients();

    // Writes out what is still queued and closes every connection before the process ends.
    void shutdown();

signals:
    void clientConnected();

private:
    void acceptPending();
    void readClient(QTcpSocket *socket);
    void dropClient(QTcpSocket *socket);
    static QString peerText(const QTcpSocket *socket);

    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;
    QList<QTcpSocket *> m_closing;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QHash<QTcpSocket *, QString> m_peers;
};

#pragma once

#include "web/WebSessions.h"

#include <QAbstractHttpServer>
#include <QHttpServerResponder>
#include <QList>
#include <QPointer>
#include <QTimer>

class QTcpSocket;
class WebFeed;
class WebListener;
class WebStation;

// The station's web page over HTTP: the page itself, /status.json, /metrics and /events (server-
// sent events) for everybody who can reach the address; the controls and the settings only
// after a login with the operator's password, and only from the page's own origin. Nothing is
// served from the file system. Runs in the event loop like the rest of the station.
class WebServer : public QAbstractHttpServer
{
    Q_OBJECT
public:
    // Largest body a form may send.
    static constexpr qsizetype MaxBodyBytes = 4096;
    // A page that does not read its events is dropped beyond this much unsent.
    static constexpr qint64 MaxPendingEventBytes = 256 * 1024;
    static constexpr int KeepAliveMs = 15'000;

    WebServer(WebStation &station, QObject *parent = nullptr);
    ~WebServer() override;

    // Listens on ADDRESS:PORT; false with the system's reason.
    bool start(const QString &address, QString *reason);
    quint16 port() const;
    int eventClientCount() const { return int(m_eventClients.size()); }

    struct Reply;

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    void answer(const QHttpServerRequest &request, QTcpSocket *socket);
    void route(const QHttpServerRequest &request, Reply &reply);
    void openEvents(QTcpSocket *socket);
    void broadcast(const QByteArray &events);
    void login(const QHttpServerRequest &request, QTcpSocket *socket);
    bool controlsEnabled() const;
    bool loggedIn(const QHttpServerRequest &request);
    static bool sameOrigin(const QHttpServerRequest &request);
    QByteArray page(const QHttpServerRequest &request);
    static void send(QHttpServerResponder &responder, const Reply &reply);

    WebStation &m_station;
    WebFeed *m_feed;
    WebListener *m_listener = nullptr;
    WebSessions m_sessions;
    QList<QPointer<QTcpSocket>> m_eventClients;
    QTimer m_keepAlive;
    bool m_loginBusy = false;
};

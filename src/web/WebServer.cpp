#include "web/WebServer.h"

#include "core/StationState.h"
#include "web/WebControls.h"
#include "web/WebFeed.h"
#include "web/WebListener.h"
#include "web/WebMetrics.h"
#include "web/WebPassword.h"
#include "web/WebSettings.h"
#include "web/WebStation.h"
#include "web/WebTexts.h"

#include <QDateTime>
#include <QFile>
#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QThread>
#include <QUrlQuery>

#include <memory>
#include <utility>

using Status = QHttpServerResponder::StatusCode;

struct WebServer::Reply
{
    Status status = Status::Ok;
    QByteArray type = "text/plain; charset=utf-8";
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
};

namespace {

// The page's own files, by name: nothing else is ever served.
const QHash<QString, QByteArray> &pageFiles()
{
    static const QHash<QString, QByteArray> files{
        {QStringLiteral("/page.js"), "text/javascript; charset=utf-8"},
        {QStringLiteral("/page.css"), "text/css; charset=utf-8"},
    };
    return files;
}

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/web/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

WebServer::Reply textReply(Status status, const QString &text)
{
    WebServer::Reply reply;
    reply.status = status;
    reply.body = text.toUtf8() + '\n';
    return reply;
}

void addHeader(WebServer::Reply &reply, std::pair<QByteArray, QByteArray> header)
{
    reply.headers.append(std::move(header));
}

QUrlQuery formFields(const QHttpServerRequest &request)
{
    // A form's "+" stands for a blank; QUrlQuery would keep it.
    QByteArray body = request.body();
    body.replace('+', ' ');
    return QUrlQuery(QString::fromUtf8(body));
}

} // namespace

WebServer::WebServer(WebStation &station, QObject *parent)
    : QAbstractHttpServer(parent), m_station(station), m_feed(new WebFeed(station, this))
{
    connect(m_feed, &WebFeed::events, this, &WebServer::broadcast);
    m_keepAlive.setInterval(KeepAliveMs);
    connect(&m_keepAlive, &QTimer::timeout, this, [this] { broadcast(": keep-alive\n\n"); });
    m_keepAlive.start();
}

WebServer::~WebServer() = default;

bool WebServer::start(const QString &address, QString *reason)
{
    const std::optional<WebConfigKeys::Endpoint> endpoint = WebConfigKeys::parseEndpoint(address);
    if (!endpoint) {
        *reason = QStringLiteral("not an ADDRESS:PORT");
        return false;
    }
    auto *listener = new WebListener(this);
    if (!listener->listen(endpoint->host, endpoint->port)) {
        *reason = listener->errorString();
        delete listener;
        return false;
    }
    m_listener = listener;
    bind(listener);
    return true;
}

quint16 WebServer::port() const
{
    return m_listener ? m_listener->serverPort() : 0;
}

bool WebServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (m_listener)
        m_listener->requestDone(socket);
    answer(request, socket);
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    send(responder, textReply(Status::NotFound, QStringLiteral("Not found")));
}

void WebServer::answer(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString path = request.url().path();
    const auto method = request.method();
    const bool get = method == QHttpServerRequest::Method::Get;
    const bool post = method == QHttpServerRequest::Method::Post;
    if (get && path == QLatin1String("/events")) {
        openEvents(socket);
        return;
    }
    if (post && path == QLatin1String("/login") && sameOrigin(request) &&
        request.body().size() <= MaxBodyBytes && controlsEnabled() &&
        m_sessions.pauseLeftMs() == 0 && !m_loginBusy) {
        login(request, socket);
        return;
    }
    Reply reply;
    route(request, reply);
    QHttpServerResponder responder = makeResponder(request, socket);
    send(responder, reply);
}

void WebServer::route(const QHttpServerRequest &request, Reply &reply)
{
    const QString path = request.url().path();
    const auto method = request.method();
    static const QStringList getPaths{QStringLiteral("/"), QStringLiteral("/status.json"),
                                      QStringLiteral("/metrics"), QStringLiteral("/events"),
                                      QStringLiteral("/settings.json")};
    static const QStringList postPaths{QStringLiteral("/login"), QStringLiteral("/logout"),
                                       QStringLiteral("/control"), QStringLiteral("/settings")};
    const bool getPath = getPaths.contains(path) || pageFiles().contains(path);
    const bool postPath = postPaths.contains(path);
    if (!getPath && !postPath) {
        reply = textReply(Status::NotFound, QStringLiteral("Not found"));
        return;
    }
    const auto expected =
        getPath ? QHttpServerRequest::Method::Get : QHttpServerRequest::Method::Post;
    if (method != expected) {
        reply = textReply(Status::MethodNotAllowed, QStringLiteral("Method not allowed"));
        addHeader(reply, {"Allow", getPath ? "GET" : "POST"});
        return;
    }
    if (getPath) {
        if (path == QLatin1String("/")) {
            reply.type = "text/html; charset=utf-8";
            reply.body = page(request);
        } else if (path == QLatin1String("/status.json")) {
            QJsonObject status = m_station.status();
            status[QLatin1String("time")] =
                QDateTime::currentDateTime()
                    .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                    .toString(Qt::ISODate);
            reply.type = "application/json";
            reply.body = json(status);
        } else if (path == QLatin1String("/metrics")) {
            reply.type = "text/plain; version=0.0.4; charset=utf-8";
            reply.body = WebMetrics::text(m_station.status());
        } else if (path == QLatin1String("/settings.json")) {
            if (!loggedIn(request)) {
                reply = textReply(Status::Unauthorized, QStringLiteral("Log in first"));
                return;
            }
            reply.type = "application/json";
            reply.body = json(m_station.settings());
        } else {
            reply.type = pageFiles().value(path);
            reply.body = resource(path.mid(1));
        }
        return;
    }
    // Every change: from the page's own origin, small, by the operator logged in.
    if (!sameOrigin(request)) {
        reply = textReply(Status::Forbidden, QStringLiteral("Foreign origin"));
        return;
    }
    if (request.body().size() > MaxBodyBytes) {
        reply = textReply(Status::PayloadTooLarge, QStringLiteral("Too large"));
        return;
    }
    if (!controlsEnabled()) {
        reply = textReply(Status::Forbidden, WebTexts::text(m_station.language(), "noPassword"));
        return;
    }
    if (path == QLatin1String("/login")) {
        const qint64 pause = qMax<qint64>(m_sessions.pauseLeftMs(), 1000);
        reply = textReply(Status::TooManyRequests, QStringLiteral("Wait before trying again"));
        addHeader(reply, {"Retry-After", QByteArray::number((pause + 999) / 1000)});
        return;
    }
    const QByteArray token = m_sessions.find(request.value("Cookie"));
    if (token.isEmpty()) {
        reply = textReply(Status::Unauthorized, QStringLiteral("Log in first"));
        return;
    }
    if (path == QLatin1String("/logout")) {
        m_sessions.close(token);
        reply = textReply(Status::Ok, QStringLiteral("Logged out"));
        addHeader(reply, {"Set-Cookie", QByteArray(WebSessions::CookieName) +
                                            "=; Max-Age=0; Path=/; HttpOnly; SameSite=Strict"});
        return;
    }
    if (path == QLatin1String("/control")) {
        const QString refusal = WebControls::submit(m_station, formFields(request));
        reply = refusal.isEmpty() ? textReply(Status::Ok, QStringLiteral("Queued"))
                                  : textReply(Status::BadRequest, refusal);
        return;
    }
    const QJsonDocument settings = QJsonDocument::fromJson(request.body());
    if (!settings.isObject()) {
        reply = textReply(Status::BadRequest, QStringLiteral("Not a JSON object"));
        return;
    }
    const QString refusal = m_station.applySettings(settings.object());
    reply = refusal.isEmpty() ? textReply(Status::Ok, QStringLiteral("Saved"))
                              : textReply(Status::BadRequest, refusal);
}

// The password is checked away from the event loop: a slow hash must not hold up the radio.
// One check at a time; a wrong password pauses the logins.
void WebServer::login(const QHttpServerRequest &request, QTcpSocket *socket)
{
    m_loginBusy = true;
    const QString password =
        formFields(request).queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
    const QString stored = m_station.webSettings().passwordHash;
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    auto matched = std::make_shared<bool>(false);
    QThread *check = QThread::create(
        [password, stored, matched] { *matched = WebPassword::matches(password, stored); });
    const QString from = request.remoteAddress().toString();
    connect(check, &QThread::finished, this,
            [this, check, responder, matched, from, socket = QPointer<QTcpSocket>(socket)] {
                check->deleteLater();
                m_loginBusy = false;
                Reply reply;
                if (*matched) {
                    m_sessions.loginSucceeded();
                    reply = textReply(Status::Ok, QStringLiteral("Logged in"));
                    addHeader(reply, {"Set-Cookie", QByteArray(WebSessions::CookieName) + '=' +
                                                        m_sessions.open() +
                                                        "; Path=/; HttpOnly; SameSite=Strict"});
                } else {
                    m_sessions.loginFailed();
                    reply = textReply(Status::Forbidden, QStringLiteral("Wrong password"));
                }
                if (socket && socket->state() == QAbstractSocket::ConnectedState)
                    send(*responder, reply);
            });
    check->start();
}

bool WebServer::controlsEnabled() const
{
    return !m_station.webSettings().passwordHash.isEmpty();
}

bool WebServer::loggedIn(const QHttpServerRequest &request)
{
    return controlsEnabled() && !m_sessions.find(request.value("Cookie")).isEmpty();
}

// A form posted from another site (or a script there) carries that site's origin. Behind a
// reverse proxy the Host header must be passed on as the browser sent it.
bool WebServer::sameOrigin(const QHttpServerRequest &request)
{
    const QByteArray origin = request.value("Origin");
    const QByteArray host = request.value("Host");
    if (origin.isEmpty() || host.isEmpty())
        return false;
    return origin == "http://" + host || origin == "https://" + host;
}

QByteArray WebServer::page(const QHttpServerRequest &request)
{
    const QJsonObject config{
        {QLatin1String("language"),
         m_station.language() == Language::English ? QStringLiteral("E") : QStringLiteral("F")},
        {QLatin1String("controls"), controlsEnabled()},
        {QLatin1String("loggedIn"), loggedIn(request)},
        {QLatin1String("texts"), WebTexts::table(m_station.language())},
    };
    // Inside a script element: no "<" may close it early.
    QByteArray configText = QJsonDocument(config).toJson(QJsonDocument::Compact);
    configText.replace('<', "\\u003c");
    QByteArray html = resource(QStringLiteral("index.html"));
    html.replace("{{LANG}}", m_station.language() == Language::English ? "en" : "fr");
    html.replace("{{CONFIG}}", configText);
    return html;
}

void WebServer::send(QHttpServerResponder &responder, const Reply &reply)
{
    responder.writeStatusLine(reply.status);
    responder.writeHeader("Content-Type", reply.type);
    responder.writeHeader("Content-Length", QByteArray::number(reply.body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("X-Frame-Options", "DENY");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    responder.writeHeader("Content-Security-Policy",
                          "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'");
    for (const auto &[name, value] : reply.headers)
        responder.writeHeader(name, value);
    responder.writeBody(reply.body);
}

void WebServer::openEvents(QTcpSocket *socket)
{
    socket->write("HTTP/1.1 200 OK\r\n"
                  "Content-Type: text/event-stream; charset=utf-8\r\n"
                  "Cache-Control: no-store\r\n"
                  "X-Accel-Buffering: no\r\n"
                  "Connection: keep-alive\r\n\r\n");
    m_feed->setListened(true);
    socket->write("retry: 2000\n\n" + m_feed->initialEvents());
    m_eventClients.append(QPointer<QTcpSocket>(socket));
    connect(socket, &QTcpSocket::disconnected, this, [this] { broadcast({}); });
}

void WebServer::broadcast(const QByteArray &events)
{
    m_eventClients.removeIf([](const QPointer<QTcpSocket> &client) {
        return !client || client->state() != QAbstractSocket::ConnectedState;
    });
    m_feed->setListened(!m_eventClients.isEmpty());
    if (events.isEmpty())
        return;
    for (const QPointer<QTcpSocket> &client : std::as_const(m_eventClients)) {
        // A page that stopped reading is let go rather than buffered for without end.
        if (client->bytesToWrite() > MaxPendingEventBytes) {
            client->abort();
            continue;
        }
        client->write(events);
    }
}

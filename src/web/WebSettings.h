#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

// The station's web page: where it listens (WEB=ADDRESS:PORT, empty: no page) and the
// operator's password as its salted hash (WEBPASSWORD=; empty: the page is read-only).
struct WebSettings
{
    QString address;
    QString passwordHash;
};

namespace WebConfigKeys {

// Applies one configuration line; false when the key is not one of the page's.
bool apply(WebSettings &settings, const QString &key, const QString &value);
// The page's lines as the save writes them: only what is set.
QStringList lines(const WebSettings &settings);

struct Endpoint
{
    QHostAddress host;
    quint16 port = 0;
};
// "127.0.0.1:8080", "[::1]:8080", "0.0.0.0:80", "localhost:8080" (port 0: any free one, as
// the log then says); nothing when it does not fit.
std::optional<Endpoint> parseEndpoint(const QString &text);

} // namespace WebConfigKeys

#include "web/WebSettings.h"

#include "web/WebPassword.h"

namespace WebConfigKeys {

bool apply(WebSettings &settings, const QString &key, const QString &value)
{
    if (key == QLatin1String("WEB=")) {
        if (value.isEmpty() || parseEndpoint(value))
            settings.address = value;
        return true;
    }
    if (key == QLatin1String("WEBPASSWORD=")) {
        // A line that is not a hash we make (a password typed in by hand) enables nothing.
        if (value.isEmpty() || WebPassword::isHash(value))
            settings.passwordHash = value;
        return true;
    }
    return false;
}

QStringList lines(const WebSettings &settings)
{
    QStringList out;
    if (!settings.address.isEmpty())
        out << QStringLiteral("WEB=") + settings.address;
    if (!settings.passwordHash.isEmpty())
        out << QStringLiteral("WEBPASSWORD=") + settings.passwordHash;
    return out;
}

std::optional<Endpoint> parseEndpoint(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QString host = text.left(colon);
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port > 65535)
        return std::nullopt;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (host == QLatin1String("localhost"))
        return Endpoint{QHostAddress(QHostAddress::LocalHost), quint16(port)};
    QHostAddress address;
    if (!address.setAddress(host))
        return std::nullopt;
    return Endpoint{address, quint16(port)};
}

} // namespace WebConfigKeys

#include "server/ServerAddress.h"

namespace ServerAddress {

QStringList splitHost(const QString &host)
{
    QStringList parts;
    QString rest = host;
    for (int i = 0; i < 3; ++i) {
        const qsizetype point = rest.indexOf(QLatin1Char('.'));
        if (point < 0) {
            parts << QString();
            continue;
        }
        parts << rest.left(point);
        rest.remove(0, point + 1);
    }
    parts << rest;
    return parts;
}

std::optional<Endpoint> parse(const QStringList &parts, const QString &portText)
{
    if (parts.size() != 4)
        return std::nullopt;
    for (const QString &part : parts) {
        bool ok = false;
        part.toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    bool ok = false;
    const int port = portText.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return Endpoint{parts.join(QLatin1Char('.')), port};
}

} // namespace ServerAddress

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The server dialog edits the host as four address parts and the port as text. These functions
// turn the settings into those texts and back.
namespace ServerAddress {

// The four parts of a host text: the text before the first point, then before the next point,
// and so on; the fourth part is whatever remains. A host without points lands whole in the
// fourth part, the other three empty.
QStringList splitHost(const QString &host);

struct Endpoint
{
    QString host;
    int port = 0;
};

// The four parts joined by points, as typed, and the port's value, when every part and the
// port are integers. No range check: the next connection attempt is what fails.
std::optional<Endpoint> parse(const QStringList &parts, const QString &portText);

} // namespace ServerAddress

#include "hamlib/HamlibConfigKeys.h"

#include "core/ConfigValues.h"
#include "hamlib/HamlibModelList.h"
#include "platform/LinkSettings.h"

#include <algorithm>
#include <iterator>

namespace HamlibConfigKeys {

std::optional<int> modelNumber(const QString &text)
{
    const std::optional<int> n = ConfigValues::parseInteger(text.trimmed());
    // A number Hamlib does not know could never be opened.
    if (!n || HamlibModelList::find(*n) == nullptr)
        return std::nullopt;
    return n;
}

std::optional<QString> portSetting(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 255)
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (c.isSpace() || !c.isPrint())
            return std::nullopt;
    }
    return trimmed;
}

std::optional<int> serialSpeed(const QString &text)
{
    // Hamlib opens a serial port only at one of these.
    static constexpr int Standard[] = {300,   600,   1200,   2400,   4800,   9600,
                                       19200, 38400, 57600, 115200, 230400, 460800};
    const std::optional<int> n = ConfigValues::parseInteger(text.trimmed());
    if (!n || std::find(std::begin(Standard), std::end(Standard), *n) == std::end(Standard))
        return std::nullopt;
    return n;
}

bool apply(HamlibSettings &settings, const QString &key, const QString &value)
{
    if (key == QLatin1String("HAMLIBMODEL=")) {
        if (const std::optional<int> model = modelNumber(value))
            settings.model = *model;
    } else if (key == QLatin1String("HAMLIBPORT=")) {
        if (const std::optional<QString> port = portSetting(value))
            settings.port = *port;
    } else if (key == QLatin1String("HAMLIBSPEED=")) {
        if (const std::optional<int> speed = serialSpeed(value))
            settings.speed = *speed;
    } else {
        return false;
    }
    return true;
}

QStringList lines(const HamlibSettings &settings)
{
    QStringList out;
    // Each valid setting is kept, even while another is missing.
    if (settings.model > 0)
        out << QStringLiteral("HAMLIBMODEL=") + QString::number(settings.model);
    if (!settings.port.isEmpty())
        out << QStringLiteral("HAMLIBPORT=") + settings.port;
    if (settings.speed > 0)
        out << QStringLiteral("HAMLIBSPEED=") + QString::number(settings.speed);
    return out;
}

} // namespace HamlibConfigKeys

#include "hamlib/HamlibTexts.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace HamlibTexts {

QString frequencyText(qint64 hertz)
{
    // From 1000 MHz on the form has no room for the megahertz: no frequency is answered rather
    // than a wrong one.
    if (hertz <= 0 || hertz >= 1'000'000'000)
        return QStringLiteral("000.000000");
    const qint64 megahertz = hertz / 1'000'000;
    const qint64 rest = hertz % 1'000'000;
    return QStringLiteral("%1.%2")
        .arg(megahertz, 3, 10, QLatin1Char('0'))
        .arg(rest, 6, 10, QLatin1Char('0'));
}

QString shiftText(int direction, qint64 offsetHz)
{
    if (direction == 0)
        return QStringLiteral("shift=0");
    const qint64 khz = qAbs(offsetHz) / 1000;
    return QStringLiteral("shift=%1%2.%3")
        .arg(direction > 0 ? QLatin1Char('+') : QLatin1Char('-'))
        .arg(khz / 1000 % 10)
        .arg(khz % 1000, 3, 10, QLatin1Char('0'));
}

QString memoryEntry(int channel, qint64 hertz, const QString &shift, const QString &name)
{
    QString entry = QStringLiteral("%1=").arg(channel, 3, 10, QLatin1Char('0')) +
                    frequencyText(hertz) + QLatin1Char(' ') + shift;
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty())
        entry += QLatin1Char(' ') + trimmed;
    return entry;
}

std::optional<NetworkAddress> networkAddress(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^([A-Za-z0-9.-]+):([0-9]{1,5})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int port = match.captured(2).toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return NetworkAddress{match.captured(1), port};
}

std::optional<NetworkAddress> rigctldAddress(const QString &text)
{
    static constexpr int RigctldPort = 4532;
    static const QRegularExpression host(QStringLiteral("^[A-Za-z0-9.-]+$"));
    const QString trimmed = text.trimmed();
    if (host.match(trimmed).hasMatch())
        return NetworkAddress{trimmed, RigctldPort};
    return networkAddress(trimmed);
}

QString devicePath(const QString &port)
{
    const QString text = port.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('/')) || networkAddress(text))
        return text;
    return QStringLiteral("/dev/") + text;
}

QString missingPort(Language language, const QString &port)
{
    return (language == Language::English ? QStringLiteral("Port %1 missing")
                                          : QStringLiteral("Port %1 absent"))
        .arg(port);
}

} // namespace HamlibTexts

#include "core/ConfigValues.h"

#include <QRegularExpression>

namespace ConfigValues {

std::optional<int> parseInteger(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    int start = (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-')) ? 1 : 0;
    if (start == text.size())
        return std::nullopt;
    for (int i = start; i < text.size(); ++i) {
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<QString> serialPortName(const QString &value)
{
    static const QRegularExpression windowsPort(QStringLiteral("^COM[0-9]+$"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (value.isEmpty() || windowsPort.match(value).hasMatch())
        return std::nullopt;
    return value;
}

std::optional<KeyValue> splitLine(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return KeyValue{line.left(eq + 1), line.mid(eq + 1)};
}

std::optional<int> channelKeyNumber(const QString &key)
{
    if (key.size() != 7 || !key.startsWith(QLatin1String("MEM")))
        return std::nullopt;
    // Three digits exactly: a sign would end up inside the entry's channel number.
    int number = 0;
    for (int i = 3; i < 6; ++i) {
        if (key.at(i) < QLatin1Char('0') || key.at(i) > QLatin1Char('9'))
            return std::nullopt;
        number = number * 10 + key.at(i).digitValue();
    }
    if (number < 1 || number > 40)
        return std::nullopt;
    return number;
}

QString hexAddress(int address)
{
    return QStringLiteral("%1").arg(address & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

QString channelNumberText(int channel)
{
    return QStringLiteral("%1").arg(channel, 3, 10, QLatin1Char('0'));
}

} // namespace ConfigValues

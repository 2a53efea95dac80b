#include "generic_tx/ChannelList.h"

#include <algorithm>

namespace ChannelList {

namespace {
QString channelPrefix(int channel)
{
    return QStringLiteral("%1=").arg(channel, 3, 10, QLatin1Char('0'));
}

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

// Comment between the 0-based index start and the first "]", or nullopt when it is empty or
// the bracket is missing.
std::optional<QString> commentFrom(const QString &entry, int start)
{
    const int close = entry.indexOf(QLatin1Char(']'));
    if (close <= start)
        return std::nullopt;
    return entry.mid(start, close - start);
}
} // namespace

QString emptyEntry(int channel)
{
    return channelPrefix(channel) + QStringLiteral(" []");
}

void padWithEmptyEntries(QStringList &entries, int count)
{
    while (entries.size() < count)
        entries << emptyEntry(int(entries.size()) + 1);
}

bool hasContent(const QString &entry)
{
    return entry.mid(4, 3) != QLatin1String(" []");
}

std::optional<int> channelOf(const QString &entry)
{
    const QStringView number = QStringView(entry).left(3);
    if (!allDigits(number))
        return std::nullopt;
    return number.toInt();
}

int indexOfChannel(const QStringList &entries, int channel)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (channelOf(entries.at(i)) == channel)
            return i;
    }
    return -1;
}

bool isValidFrequency(const QString &text)
{
    if (text.size() != FrequencyLength)
        return false;
    const QChar separator = text.at(3);
    if (separator != QLatin1Char('.') && separator != QLatin1Char(','))
        return false;
    return allDigits(QStringView(text).left(3)) && allDigits(QStringView(text).mid(4));
}

std::optional<QString> entryFromGrid(int channel, const QString &frequencyCell,
                                     const QString &commentCell)
{
    QString entry = channelPrefix(channel);
    if (!frequencyCell.isEmpty() && frequencyCell != QLatin1String(" ")) {
        if (!isValidFrequency(frequencyCell))
            return std::nullopt;
        entry += frequencyCell;
    }
    if (commentCell.contains(QLatin1Char('[')) || commentCell.contains(QLatin1Char(']')))
        return std::nullopt;
    return entry + QStringLiteral(" [") + commentCell + QLatin1Char(']');
}

ChannelGridCells gridCellsFromEntry(int channel, const QString &entry)
{
    ChannelGridCells cells;
    if (channelOf(entry) != channel || entry.mid(3, 1) != QLatin1String("="))
        return cells;
    const int open = entry.indexOf(QLatin1String(" ["));
    if (open == 4) {
        cells.frequency = QString();
        cells.comment = commentFrom(entry, 6);
    } else if (open == 4 + FrequencyLength) {
        cells.frequency = entry.mid(4, FrequencyLength);
        cells.comment = commentFrom(entry, 16);
    }
    return cells;
}

} // namespace ChannelList

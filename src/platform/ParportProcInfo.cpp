#include "platform/ParportProcInfo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {
// A base-addr record is two short numbers; anything longer is not one.
constexpr qint64 MaxRecordLength = 64;
} // namespace

ParportProcInfo::ParportProcInfo(const QString &procRoot)
    : m_directory(procRoot + QStringLiteral("/sys/dev/parport"))
{
}

QList<int> ParportProcInfo::portNumbers() const
{
    static const QRegularExpression entryName(QStringLiteral("^parport(\\d{1,3})$"));
    QList<int> numbers;
    const QStringList entries = QDir(m_directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        const QRegularExpressionMatch match = entryName.match(entry);
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::optional<quint16> ParportProcInfo::baseAddress(int number) const
{
    if (number < 0)
        return std::nullopt;
    QFile record(m_directory + QStringLiteral("/parport%1/base-addr").arg(number));
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseBaseAddr(record.read(MaxRecordLength));
}

std::optional<int> ParportProcInfo::portNumberForBase(quint16 base) const
{
    const QList<int> numbers = portNumbers();
    for (int number : numbers) {
        if (baseAddress(number) == base)
            return number;
    }
    return std::nullopt;
}

std::optional<quint16> ParportProcInfo::parseBaseAddr(const QByteArray &record)
{
    const QList<QByteArray> fields = record.simplified().split(' ');
    if (fields.isEmpty() || fields.first().isEmpty())
        return std::nullopt;
    const QByteArray &first = fields.first();
    if (!std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const uint value = first.toUInt(&ok);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return static_cast<quint16>(value);
}

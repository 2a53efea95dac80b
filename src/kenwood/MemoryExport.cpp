#include "kenwood/MemoryExport.h"

#include "core/LocalTime.h"

#include <QLocale>
#include <QSaveFile>
#include <QStringEncoder>

namespace MemoryExport {

QStringList lines(const QDateTime &now, const QString &dtmfHeading, const QStringList &dtmfList,
                  const QString &memoryHeading, const QStringList &memoryList)
{
    QStringList result{QStringLiteral("Ivrelane TMD/V7xx ") +
                       LocalTime::dateAndTime(QLocale::system(), now)};
    result << dtmfHeading;
    result << dtmfList.mid(1);
    result << memoryHeading;
    result << memoryList;
    return result;
}

QByteArray fileBytes(const QStringList &lines)
{
    QStringEncoder encoder("windows-1252");
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encoder.encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    // Written aside and renamed over the old file, so a failure leaves the old one whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace MemoryExport

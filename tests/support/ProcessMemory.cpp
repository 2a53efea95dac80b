#include "support/ProcessMemory.h"

#include <QFile>

namespace ProcessMemory {

namespace {

qint64 residentKiBIn(const QString &statusPath)
{
    QFile status(statusPath);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith("VmRSS:"))
            continue;
        bool ok = false;
        const qint64 value = line.mid(6).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? value : -1;
    }
    return -1;
}

} // namespace

qint64 residentKiB()
{
    return residentKiBIn(QStringLiteral("/proc/self/status"));
}

qint64 residentKiB(qint64 processId)
{
    return residentKiBIn(QStringLiteral("/proc/%1/status").arg(processId));
}

} // namespace ProcessMemory

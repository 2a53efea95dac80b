// The downloaded versions file and the version texts it holds.
#include "FuzzStation.h"

#include "platform/VersionCheckFile.h"

#include <QFile>

// The station is made before the first input, so its start-up does not count as coverage.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzStation::instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const int value = VersionCheckFile::versionValue(QString::fromLatin1(bytes));
    if (value < 0 || value > 999)
        __builtin_trap();

    FuzzStation &fuzz = FuzzStation::instance();
    const QString path = fuzz.path(QStringLiteral("versions.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(bytes);
    }
    // The key is the first line's text before its "=", so matching lines are reached too.
    const qsizetype equals = bytes.indexOf('=');
    const QString key = equals > 0 ? QString::fromLatin1(bytes.left(equals)) : QStringLiteral("x");
    const QString latest = VersionCheckFile::latestVersion(path, key);
    VersionCheckFile::versionValue(latest);
    QFile::remove(path);
    return 0;
}

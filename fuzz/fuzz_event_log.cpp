// A log file of any content loaded at start-up, then one entry appended.
#include "FuzzStation.h"

#include "core/EventLog.h"

#include <QFile>

// The station is made before the first input, so its start-up does not count as coverage.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzStation::instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    FuzzStation &fuzz = FuzzStation::instance();
    const QString source = fuzz.path(QStringLiteral("source.log"));
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    EventLog log(fuzz.path(QStringLiteral("Ivrelane.log")));
    log.load(source);
    if (log.lines().isEmpty())
        __builtin_trap();
    log.append(QStringLiteral("Start"));
    // The cap holds from the first entry on, whatever the file held.
    if (log.lines().size() > EventLog::MaxLines)
        __builtin_trap();
    return 0;
}

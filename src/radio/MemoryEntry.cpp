#include "radio/MemoryEntry.h"

namespace MemoryEntry {

QString channel(QStringView entry)
{
    return entry.mid(0, 3).toString();
}

QString frequency(QStringView entry)
{
    return entry.mid(4, 10).toString();
}

} // namespace MemoryEntry

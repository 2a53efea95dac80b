#pragma once

#include <QString>
#include <QStringView>

// A memory-list entry as the panel lists it, whatever radio read it: "015=145.600000 shift=0".
namespace MemoryEntry {

QString channel(QStringView entry);   // characters 1-3: "015"
QString frequency(QStringView entry); // characters 5-14: "145.600000"

} // namespace MemoryEntry

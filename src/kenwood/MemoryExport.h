#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The text file of DTMF codes and memories written on demand: a dated header, the DTMF codes and
// the memory list, each under its heading, in Windows-1252 with CR LF line ends.
namespace MemoryExport {

inline constexpr char DefaultFileName[] = "TMD700Ivrelane.txt";

// `dtmfList` is the whole code list, its header line first (it is left out of the file).
QStringList lines(const QDateTime &now, const QString &dtmfHeading, const QStringList &dtmfList,
                  const QString &memoryHeading, const QStringList &memoryList);

QByteArray fileBytes(const QStringList &lines);

// Replaces `path` as a whole; false with the reason in `error` when it cannot be written.
bool write(const QString &path, const QByteArray &bytes, QString *error);

} // namespace MemoryExport

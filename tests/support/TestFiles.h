#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TestFiles {

// Writes raw bytes to a file, creating or replacing it.
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

// Writes lines in the configuration's own format (Windows-1252, CR LF).
void writeLines(const QString &path, const QStringList &lines);
QStringList readLines(const QString &path);

} // namespace TestFiles

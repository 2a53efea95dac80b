#pragma once

#include <QString>
#include <QStringList>

// Line files in the station's own format: Windows-1252 with CR LF on disk. A file that is valid
// UTF-8 is read as UTF-8, so a configuration edited with a Linux editor keeps its accents.
namespace TextFile {

QStringList decodeLines(const QByteArray &bytes);
QByteArray encodeLines(const QStringList &lines);

// Reads the lines of a file; false when it cannot be opened.
bool readLines(const QString &path, QStringList *lines);

// Replaces `path` by a complete new file: writes `temporaryPath`, flushes it to disk and renames
// it over `path` in one step, so `path` is always either the old or the new file.
// `permissions` are given to the new file before it takes the final name. Without `durable` the
// file is not flushed to disk first: a killed process still leaves the old or the new file, only
// a power cut may not.
bool writeLinesAtomically(const QString &path, const QString &temporaryPath,
                          const QStringList &lines, int permissions, bool durable = true);

// Appends one line (line end added) to an existing file in one write. A write that fails part-way
// is taken back, so the file never ends in a cut line. False when the file is absent or the line
// could not be written whole.
bool appendLine(const QString &path, const QString &line);

// Writes the lines in place (no rename): a failure part-way leaves a cut file.
bool writeLines(const QString &path, const QStringList &lines);

} // namespace TextFile

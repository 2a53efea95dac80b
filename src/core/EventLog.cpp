#include "core/EventLog.h"

#include "core/LocalTime.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

EventLog::EventLog(QString filePath) : m_filePath(std::move(filePath)) {}

void EventLog::load(const QString &sourcePath)
{
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    const QStringList lines = TextFile::decodeLines(bytes);
    if (lines.isEmpty())
        return;
    m_lines = lines;
    // Lines are appended in the log's own encoding and line ends: a file in another format (the
    // legacy log, one saved by an editor in UTF-8, a last line without its line end) is
    // rewritten whole by the first entry.
    const bool ownFormat = sourcePath == m_filePath && TextFile::encodeLines(lines) == bytes;
    m_fileLines = ownFormat ? int(lines.size()) : -1;
}

void EventLog::append(const QString &text)
{
    const QString line = LocalTime::dateAndTime(QLocale::system(), QDateTime::currentDateTime()) +
                         QLatin1Char(' ') + text;
    m_lines << line;
    ++m_appended;
    if (m_lines.size() > MaxLines)
        m_lines.remove(1, m_lines.size() - MaxLines);
    if (echo)
        echo(line);
    if (m_fileLines >= 0 && m_fileLines < MaxFileLines && TextFile::appendLine(m_filePath, line)) {
        ++m_fileLines;
        m_lastWriteFailed = false;
        return;
    }
    writeWhole();
}

void EventLog::compact()
{
    if (m_fileLines > MaxLines)
        writeWhole();
}

// Replaced whole, never rewritten in place: on a full disk the last complete log stays.
// Not synced: a log line is not worth a disk flush.
void EventLog::writeWhole()
{
    m_lastWriteFailed = !TextFile::writeLinesAtomically(m_filePath, m_filePath + QLatin1Char('~'),
                                                        m_lines, 0644, false);
    m_fileLines = m_lastWriteFailed ? -1 : int(m_lines.size());
}

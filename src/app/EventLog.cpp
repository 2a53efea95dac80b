#include "app/EventLog.h"

#include "app/LocalTime.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QLocale>

EventLog::EventLog(QString filePath) : m_filePath(std::move(filePath)) {}

void EventLog::load(const QString &sourcePath)
{
    QStringList lines;
    if (TextFile::readLines(sourcePath, &lines) && !lines.isEmpty())
        m_lines = lines;
}

void EventLog::append(const QString &text)
{
    m_lines << LocalTime::dateAndTime(QLocale::system(), QDateTime::currentDateTime()) +
                   QLatin1Char(' ') + text;
    if (m_lines.size() > MaxLines)
        m_lines.remove(1, m_lines.size() - MaxLines);
    // Replaced whole, never rewritten in place: on a full disk the last complete log stays.
    // Not synced: a log line is not worth a disk flush.
    m_lastWriteFailed = !TextFile::writeLinesAtomically(m_filePath, m_filePath + QLatin1Char('~'),
                                                        m_lines, 0644, false);
}

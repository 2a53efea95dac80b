#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The event log: a header line "Log" followed by at most 499 dated entries in memory. Each entry
// is appended to the log file on its own, so a line costs a write of its own size; the file is
// cut back to the list in memory (the newest 500 lines) once it holds MaxFileLines, and by
// compact() at shut-down. A killed process loses at most the line being written.
class EventLog
{
public:
    static constexpr int MaxLines = 500;
    // The file may grow this far before it is cut back: trims come in batches, not per line.
    static constexpr int MaxFileLines = 600;

    explicit EventLog(QString filePath);

    // Replaces the list by the contents of `sourcePath` (the current or the legacy log).
    void load(const QString &sourcePath);

    // Appends "date time text" to the list, trims the list to MaxLines keeping the header, and
    // appends the line to the file. A file that is absent, not in the log's own format, cut back
    // by a failed write or full is replaced whole by the list, through a temporary file. A file
    // that cannot be written keeps its last complete contents; the list in memory goes on and is
    // written whole by the next entry that can be.
    void append(const QString &text);

    // Cuts the file back to the list in memory when it holds more (at shut-down).
    void compact();

    // Receives each line as it is added, date included (a service's journal keeps a copy).
    std::function<void(const QString &)> echo;

    const QStringList &lines() const { return m_lines; }
    bool lastWriteFailed() const { return m_lastWriteFailed; }
    // Entries appended since start: a reader that noted it knows how many of the newest lines
    // are new to it.
    qint64 appendedCount() const { return m_appended; }

private:
    void writeWhole();

    QString m_filePath;
    QStringList m_lines{QStringLiteral("Log")};
    // Lines in the file, known to match the newest of them in the list; -1 when the file must be
    // replaced whole before anything is appended to it.
    int m_fileLines = -1;
    bool m_lastWriteFailed = false;
    qint64 m_appended = 0;
};

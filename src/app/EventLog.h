#pragma once

#include <QString>
#include <QStringList>

// The event log: a header line "Log" followed by at most 499 dated entries, written whole to the
// log file after each entry.
class EventLog
{
public:
    static constexpr int MaxLines = 500;

    explicit EventLog(QString filePath);

    // Replaces the list by the contents of `sourcePath` (the current or the legacy log).
    void load(const QString &sourcePath);

    // Appends "date time text", trims to MaxLines keeping the header, writes the file.
    // A file that cannot be written keeps its last complete contents; the list in memory goes
    // on and is written whole by the next entry that can be.
    void append(const QString &text);

    const QStringList &lines() const { return m_lines; }
    bool lastWriteFailed() const { return m_lastWriteFailed; }

private:
    QString m_filePath;
    QStringList m_lines{QStringLiteral("Log")};
    bool m_lastWriteFailed = false;
};

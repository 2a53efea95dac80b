#pragma once

#include <QByteArray>
#include <QString>

// Text in and out of the simulator: event lines on stdout (flushed at once so a reading process
// sees them as they happen), errors on stderr, and the escapes that make any byte printable.
class Console
{
public:
    static void print(const QString &line);
    static void error(const QString &message);

    // "HH:mm:ss.zzz" of the local clock, for the traffic lines.
    static QString timestamp();

    // Shows bytes on one line: \r, \n, \t, \\ and \xHH for other bytes outside printable ASCII.
    static QString escape(const QByteArray &bytes);

    // Reverses the script escapes \r, \n, \t, \0, \\ and \xHH. A backslash followed by anything
    // else is kept as it is, so a stray backslash is sent rather than swallowed.
    static QByteArray unescape(const QByteArray &text);
};

#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Reads standard input line by line without blocking the event loop, whether it is a terminal,
// a pipe or a redirected file.
class StdinReader : public QObject
{
    Q_OBJECT

public:
    // A line longer than this without a line end is handed on as it stands.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    explicit StdinReader(QObject *parent = nullptr);
    void start();

signals:
    void lineRead(const QByteArray &line);
    void finished();

private:
    void readAvailable();
    void finish();

    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
};

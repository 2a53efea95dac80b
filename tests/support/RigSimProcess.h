#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One tools/rigsim process for a test: started with the given options, its pty known once it
// runs, its log kept in a temporary file so a test can see which commands the radio received.
// The process is ended (SIGTERM, then kill) when the object goes.
class RigSimProcess
{
public:
    RigSimProcess() = default;
    ~RigSimProcess();
    RigSimProcess(const RigSimProcess &) = delete;
    RigSimProcess &operator=(const RigSimProcess &) = delete;

    // Starts rigsim with `arguments` (--model, --link, --delay...) plus a --log of its own.
    // Returns the pty path ("/dev/pts/N"), or an empty text when it did not start.
    QString start(const QStringList &arguments = {});
    void stop();

    QString ptyPath() const { return m_ptyPath; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // For tests that stop, continue or kill the radio with a signal of their own.
    qint64 processId() const { return m_process.processId(); }

    // Writes one order to a simulator started with --control ("send BY 0,1", "late SC 3300").
    void order(const QByteArray &line);

    // The commands the radio received so far, in order, without their carriage return.
    QStringList receivedCommands() const;
    // The whole log text, for failure messages.
    QString logText() const;

    // One line of the log: '<' received, '>' sent, '-' not answered, '=' an order taken.
    struct LogEntry
    {
        qint64 msecsSinceEpoch;
        char direction;
        QString text;
    };
    // The log read now, line by line, with its time stamps.
    QList<LogEntry> logEntries() const;

    // A "late" or "spoil" order that came to bear on a command: when the radio got the command,
    // and the delay a late one adds (0 for a spoilt reply).
    struct OrderInPlay
    {
        qint64 msecsSinceEpoch;
        QString command;
        int lateMs;
    };
    // The orders in play so far, in the order the commands came. An order waits for its
    // command, through a silence too (the silent radio does not answer it).
    QList<OrderInPlay> ordersInPlay() const;

private:
    QProcess m_process;
    QTemporaryDir m_logDir;
    QString m_ptyPath;
};

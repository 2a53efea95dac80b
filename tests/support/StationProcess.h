#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// The whole program as a process of its own, for benches and tests that watch it from outside:
// build/ivrelane started offscreen on a folder (its output kept in the folder's ivrelane.out),
// its event log gathered as it grows, its resident memory and its status file. The process is
// ended (SIGTERM, then kill) when the object goes.
class StationProcess
{
public:
    StationProcess() = default;
    ~StationProcess();
    StationProcess(const StationProcess &) = delete;
    StationProcess &operator=(const StationProcess &) = delete;

    // Starts the program on `folder`, which holds its Ivrelane.ini; false when it did not start.
    bool start(const QString &folder);
    // SIGTERM, and the wait for the end.
    void stop();

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    const QProcess &process() const { return m_process; }
    // VmRSS in kibibytes; -1 when the process is not there.
    qint64 residentKiB() const;

    // Every line the event log has held since the start, the file read again now. The log is
    // cut back to its newest lines now and then: the lines read before are found by their
    // overlap with the file's first ones.
    const QStringList &logLines();
    // The port the log says the web page took on 127.0.0.1 (WEB=127.0.0.1:0 takes a free one);
    // 0 before it says so.
    quint16 webPort();
    // The status file as last written.
    QJsonObject status() const;

private:
    QProcess m_process;
    QString m_folder;
    QStringList m_log;
};

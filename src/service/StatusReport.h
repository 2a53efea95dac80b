#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

class EventLog;
class GenericTxRadio;
class RadioRequests;
class RadioSelector;
struct StationState;
struct TcpClientSettings;

// What happened since start, for the status file.
struct StatusCounters
{
    int keyings = 0;
    qint64 transmitMs = 0; // keyings that ended
    int transmitTimeouts = 0;
    int radioFaults = 0; // exchanges the radio left unanswered, Hamlib failures
    int portLosses = 0;  // serial ports and lines devices
    int serverReconnections = 0;
};

// Keeps "Ivrelane.status" in the station's folder: a small JSON file that tells from outside
// whether the copy runs and what it does (`ivrelane --status` prints it). Written whole through
// a temporary file, when something in it changed, at most once a second, and at least once a
// minute so that its age tells a hung program from a quiet one; not more, so that an SD card
// does not wear.
class StatusReport : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *FileName = "Ivrelane.status";
    static constexpr int CheckPeriodMs = 1000;
    static constexpr int RefreshPeriodMs = 60'000;

    // What the report reads.
    struct Sources
    {
        const StationState &state;
        const RadioSelector &radios;
        const TcpClientSettings &server;
        const EventLog &log;
        const RadioRequests &requests;
        QString directory;
        // The generic transmitter, whose control lines are reported while it is in use.
        GenericTxRadio *generic = nullptr;
    };
    explicit StatusReport(const Sources &sources);

    // Writes the first report and keeps it up to date.
    void start();
    // A last report, marked as no longer running.
    void stop();

    StatusCounters counters;

    // The radio in use was keyed or unkeyed.
    void keyingChanged(bool keyed);

    QJsonObject snapshot() const;
    // The report in one line, for the service manager: "TMD710 on ttyUSB0 answering, server
    // connected".
    static QString summary(const QJsonObject &report);

signals:
    // The one-line summary of what is written changed (and once at the start).
    void summaryChanged(const QString &summary);

private:
    void check();
    void write(const QJsonObject &report);

    Sources m_sources;
    const QDateTime m_started = QDateTime::currentDateTime();
    QDateTime m_keyedSince;
    bool m_running = false;
    QTimer m_check;
    QElapsedTimer m_sinceWrite;
    QJsonObject m_lastWritten; // without its time
    QString m_summary;
};

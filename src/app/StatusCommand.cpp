#include "app/StatusCommand.h"

#include "app/StatusReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

// The process holding the folder's lock still runs (a lock is only ever read here: taking or
// removing it belongs to the copies).
bool lockHolderRuns(const QString &directory, qint64 *pid)
{
    QLockFile lock(QDir(directory).filePath(QStringLiteral("Ivrelane.lock")));
    QString host;
    QString application;
    if (!lock.getLockInfo(pid, &host, &application) || *pid <= 0)
        return false;
    return ::kill(pid_t(*pid), 0) == 0 || errno == EPERM;
}

QString text(const QJsonObject &o, const char *key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isBool())
        return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    if (v.isDouble())
        return QString::number(v.toInteger());
    return v.toString();
}

QString duration(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void print(const QJsonObject &report, const QString &where, qint64 ageSeconds)
{
    const QJsonObject server = report.value(QLatin1String("server")).toObject();
    const QJsonObject counters = report.value(QLatin1String("counters")).toObject();
    const bool running = report.value(QLatin1String("running")).toBool();
    std::printf("Ivrelane in %s, pid %s, started %s, %s; status written %lld s ago\n",
                qPrintable(where), qPrintable(text(report, "pid")),
                qPrintable(text(report, "started")), running ? "running" : "stopped",
                static_cast<long long>(ageSeconds));
    const QString port = text(report, "port");
    std::printf("Radio:    %s on %s, answers: %s\n", qPrintable(text(report, "model")),
                port.isEmpty() ? "no port" : qPrintable(port),
                report.value(QLatin1String("answers")).isNull()
                    ? "never replies"
                    : qPrintable(text(report, "answers")));
    if (const QJsonObject lines = report.value(QLatin1String("lines")).toObject(); !lines.isEmpty())
        std::printf("Lines:    %s %s %s, PTT %s, squelch %s\n", qPrintable(text(lines, "kind")),
                    qPrintable(text(lines, "device")), qPrintable(text(lines, "state")),
                    lines.value(QLatin1String("pttKeyed")).toBool() ? "keyed" : "at rest",
                    lines.value(QLatin1String("squelchOpen")).isNull()
                        ? "unknown"
                        : (lines.value(QLatin1String("squelchOpen")).toBool() ? "open" : "closed"));
    if (report.value(QLatin1String("keyed")).toBool())
        std::printf("Transmit: keyed since %s\n", qPrintable(text(report, "keyedSince")));
    else
        std::printf("Transmit: not keyed\n");
    if (report.contains(QLatin1String("band")))
        std::printf("Band:     %s, %s, %s\n", qPrintable(text(report, "band")),
                    qPrintable(text(report, "mode")), qPrintable(text(report, "frequency")));
    std::printf("Server:   %s, connected: %s\n", qPrintable(text(server, "address")),
                qPrintable(text(server, "connected")));
    std::printf("Last log: %s\n", qPrintable(text(report, "lastLogLine")));
    std::printf("Since start: %s keyings, transmit %s, %s time-outs, %s radio faults, "
                "%s port losses, %s server reconnections\n",
                qPrintable(text(counters, "keyings")),
                qPrintable(duration(counters.value(QLatin1String("transmitSeconds")).toInteger())),
                qPrintable(text(counters, "transmitTimeouts")),
                qPrintable(text(counters, "radioFaults")), qPrintable(text(counters, "portLosses")),
                qPrintable(text(counters, "serverReconnections")));
}

} // namespace

namespace StatusCommand {

int run(const QString &directory)
{
    const QString where = QDir::toNativeSeparators(directory);
    QFile file(QDir(directory).filePath(QLatin1String(StatusReport::FileName)));
    QJsonObject report;
    if (file.open(QIODevice::ReadOnly))
        report = QJsonDocument::fromJson(file.readAll()).object();
    const QDateTime written =
        QDateTime::fromString(report.value(QLatin1String("time")).toString(), Qt::ISODate);
    const qint64 age = written.isValid() ? written.secsTo(QDateTime::currentDateTime()) : -1;
    if (!report.isEmpty())
        print(report, where, age);

    qint64 pid = 0;
    if (!lockHolderRuns(directory, &pid)) {
        std::fprintf(stderr, "Ivrelane: no copy runs in %s\n", qPrintable(where));
        return 1;
    }
    if (report.isEmpty() || !written.isValid()) {
        std::fprintf(stderr, "Ivrelane: the copy running in %s (pid %lld) wrote no status\n",
                     qPrintable(where), static_cast<long long>(pid));
        return 1;
    }
    if (qint64(report.value(QLatin1String("pid")).toInteger()) != pid) {
        std::fprintf(stderr, "Ivrelane: the copy running in %s (pid %lld) wrote no status yet\n",
                     qPrintable(where), static_cast<long long>(pid));
        return 1;
    }
    if (age > FreshSeconds || !report.value(QLatin1String("running")).toBool()) {
        std::fprintf(stderr, "Ivrelane: the status in %s is %lld s old: the copy may be hung\n",
                     qPrintable(where), static_cast<long long>(age));
        return 1;
    }
    return 0;
}

} // namespace StatusCommand

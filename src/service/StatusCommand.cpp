#include "service/StatusCommand.h"

#include "service/StatusReport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

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

// A folder this user may not look into (a service's, mode 0750) hides whether a copy runs: that
// is said with the system's reason and the two ways round it, never taken for "no copy runs".
// False when the folder can be read.
bool sayUnreadable(const QString &directory, const QString &statusPath)
{
    const QByteArray folder = QFile::encodeName(directory);
    struct stat info = {};
    const bool known = ::stat(folder.constData(), &info) == 0;
    if (!known && errno == ENOENT) {
        std::fprintf(stderr, "Ivrelane: no folder %s\n",
                     qPrintable(QDir::toNativeSeparators(directory)));
        return true;
    }
    int error = 0;
    QString unread = directory;
    if (::access(folder.constData(), R_OK | X_OK) != 0) {
        error = errno;
    } else if (::access(QFile::encodeName(statusPath).constData(), R_OK) != 0 && errno != ENOENT) {
        error = errno;
        unread = statusPath;
    }
    if (error == 0)
        return false;
    const QString where = QDir::toNativeSeparators(directory);
    std::fprintf(stderr, "Ivrelane: cannot read %s: %s\n",
                 qPrintable(QDir::toNativeSeparators(unread)), std::strerror(error));
    if (!known)
        return true;
    const passwd *owner = ::getpwuid(info.st_uid);
    const QString user = owner ? QString::fromLocal8Bit(owner->pw_name) : QString();
    const QString program = QCoreApplication::arguments().value(0, QStringLiteral("ivrelane"));
    if (!user.isEmpty() && info.st_uid != ::geteuid())
        std::fprintf(stderr,
                     "Ivrelane: ask as the station's user: sudo -u %s %s --status "
                     "--folder %s\n",
                     qPrintable(user), qPrintable(program), qPrintable(where));
    // The folder's group may look in: joining it does for good what sudo does once.
    const group *members = ::getgrgid(info.st_gid);
    if (members && info.st_gid != 0 && (info.st_mode & (S_IRGRP | S_IXGRP)) == (S_IRGRP | S_IXGRP))
        std::fprintf(stderr,
                     "Ivrelane: or join its group: sudo adduser $USER %s, then log in "
                     "again\n",
                     members->gr_name);
    return true;
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

// What became of the copy that wrote the report.
enum class Copy { Running, Stopped, Vanished };

void print(const QJsonObject &report, const QString &where, qint64 ageSeconds, Copy copy)
{
    const QJsonObject server = report.value(QLatin1String("server")).toObject();
    const QJsonObject counters = report.value(QLatin1String("counters")).toObject();
    // The report's own "running" is only what the copy last said: one killed outright said
    // nothing more.
    const char *state = copy == Copy::Running   ? "running"
                        : copy == Copy::Stopped ? "stopped"
                                                : "ended without a word (killed or crashed)";
    std::printf("Ivrelane in %s, pid %s, started %s, %s; status written %lld s ago\n",
                qPrintable(where), qPrintable(text(report, "pid")),
                qPrintable(text(report, "started")), state, static_cast<long long>(ageSeconds));
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
    const QString statusPath = QDir(directory).filePath(QLatin1String(StatusReport::FileName));
    if (sayUnreadable(directory, statusPath))
        return 1;
    QFile file(statusPath);
    QJsonObject report;
    if (file.open(QIODevice::ReadOnly))
        report = QJsonDocument::fromJson(file.readAll()).object();
    const QDateTime written =
        QDateTime::fromString(report.value(QLatin1String("time")).toString(), Qt::ISODate);
    const qint64 age = written.isValid() ? written.secsTo(QDateTime::currentDateTime()) : -1;
    qint64 pid = 0;
    const bool holderRuns = lockHolderRuns(directory, &pid);
    const bool writerRuns =
        holderRuns && qint64(report.value(QLatin1String("pid")).toInteger()) == pid;
    if (!report.isEmpty()) {
        const Copy copy = writerRuns                                         ? Copy::Running
                          : !report.value(QLatin1String("running")).toBool() ? Copy::Stopped
                                                                             : Copy::Vanished;
        print(report, where, age, copy);
    }

    if (!holderRuns) {
        std::fprintf(stderr, "Ivrelane: no copy runs in %s\n", qPrintable(where));
        return 1;
    }
    if (report.isEmpty() || !written.isValid()) {
        std::fprintf(stderr, "Ivrelane: the copy running in %s (pid %lld) wrote no status\n",
                     qPrintable(where), static_cast<long long>(pid));
        return 1;
    }
    if (!writerRuns) {
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

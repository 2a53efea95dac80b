#include "support/RigSimProcess.h"

#include "support/ProcessEnd.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTest>

namespace {

// Bounds a hung simulator; never a measurement.
constexpr int WaitMs = 10'000;

QString logPath(const QTemporaryDir &dir)
{
    return QDir(dir.path()).filePath(QStringLiteral("rigsim.log"));
}

} // namespace

RigSimProcess::~RigSimProcess()
{
    stop();
}

QString RigSimProcess::start(const QStringList &arguments)
{
    m_process.setProgram(QStringLiteral(IVRELANE_BUILD_DIR "/rigsim"));
    m_process.setArguments(arguments + QStringList{QStringLiteral("--log"), logPath(m_logDir)});
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(WaitMs))
        return QString();
    while (!m_process.canReadLine() && m_process.waitForReadyRead(WaitMs)) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    if (line.startsWith("PTY "))
        m_ptyPath = QString::fromLocal8Bit(line.mid(4));
    return m_ptyPath;
}

void RigSimProcess::stop()
{
    endProcess(m_process, WaitMs);
}

void RigSimProcess::order(const QByteArray &line)
{
    // Taken once logged (once more than before: the same order may have been given already): a
    // command sent right after the order is then subject to it.
    const QString taken = QStringLiteral(" = ") + QString::fromLatin1(line) + QLatin1Char('\n');
    const qsizetype before = logText().count(taken);
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(WaitMs);
    if (!QTest::qWaitFor([&] { return logText().count(taken) > before; }, WaitMs))
        qWarning("rigsim did not take the order %s", line.constData());
}

QString RigSimProcess::logText() const
{
    QFile file(logPath(m_logDir));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

QStringList RigSimProcess::receivedCommands() const
{
    // Log lines read "yyyy-MM-dd hh:mm:ss.zzz < COMMAND".
    QStringList commands;
    const QStringList lines = logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const qsizetype mark = line.indexOf(QLatin1String(" < "));
        if (mark == 23)
            commands << line.mid(mark + 3);
    }
    return commands;
}

QList<RigSimProcess::LogEntry> RigSimProcess::logEntries() const
{
    QList<LogEntry> entries;
    const QStringList lines = logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (line.size() < 25 || line.at(23) != QLatin1Char(' '))
            continue;
        const QDateTime at =
            QDateTime::fromString(line.left(23), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        entries.append({at.toMSecsSinceEpoch(), line.at(24).toLatin1(), line.mid(26)});
    }
    return entries;
}

QList<RigSimProcess::OrderInPlay> RigSimProcess::ordersInPlay() const
{
    const QList<LogEntry> log = logEntries();
    QHash<QString, int> late, spoilt; // as the simulator keeps them
    QList<OrderInPlay> inPlay;
    for (qsizetype i = 0; i < log.size(); ++i) {
        const LogEntry &entry = log.at(i);
        const QString &text = entry.text;
        if (entry.direction == '=' && text.startsWith(QLatin1String("late ")))
            late.insert(text.mid(5, text.lastIndexOf(QLatin1Char(' ')) - 5),
                        text.section(QLatin1Char(' '), -1).toInt());
        if (entry.direction == '=' && text.startsWith(QLatin1String("spoil ")))
            ++spoilt[text.mid(6)];
        const bool silent = i + 1 < log.size() && log.at(i + 1).direction == '-';
        if (entry.direction != '<' || silent)
            continue;
        if (late.contains(text))
            inPlay.append({entry.msecsSinceEpoch, text, late.take(text)});
        if (spoilt.value(text) > 0) {
            --spoilt[text];
            inPlay.append({entry.msecsSinceEpoch, text, 0});
        }
    }
    return inPlay;
}

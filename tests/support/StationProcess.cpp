#include "support/StationProcess.h"

#include "support/ProcessEnd.h"
#include "support/ProcessMemory.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Bounds a start or an end that hangs; never a measurement.
constexpr int WaitMs = 15'000;

} // namespace

StationProcess::~StationProcess()
{
    stop();
}

bool StationProcess::start(const QString &folder)
{
    m_folder = folder;
    m_log.clear();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(env);
    const QString output = QDir(folder).filePath(QStringLiteral("ivrelane.out"));
    m_process.setStandardOutputFile(output);
    m_process.setStandardErrorFile(output, QIODevice::Append);
    m_process.start(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"),
                    {QStringLiteral("--folder"), folder});
    return m_process.waitForStarted(WaitMs);
}

void StationProcess::stop()
{
    endProcess(m_process, WaitMs);
}

qint64 StationProcess::residentKiB() const
{
    return isRunning() ? ProcessMemory::residentKiB(m_process.processId()) : -1;
}

const QStringList &StationProcess::logLines()
{
    QFile file(QDir(m_folder).filePath(QStringLiteral("Ivrelane.log")));
    if (!file.open(QIODevice::ReadOnly))
        return m_log;
    QByteArray text = file.readAll();
    text.truncate(text.lastIndexOf('\n') + 1); // a line being written is taken next time
    QStringList lines = QString::fromLatin1(text).split('\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    const qsizetype seen = m_log.size();
    qsizetype from = qMax<qsizetype>(0, seen - lines.size());
    while (from < seen && !std::equal(m_log.cbegin() + from, m_log.cend(), lines.cbegin()))
        ++from;
    m_log += lines.mid(seen - from);
    return m_log;
}

QJsonObject StationProcess::status() const
{
    QFile file(QDir(m_folder).filePath(QStringLiteral("Ivrelane.status")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

quint16 StationProcess::webPort()
{
    static const QRegularExpression said(QStringLiteral(" Web page on 127\\.0\\.0\\.1:(\\d+)$"));
    for (const QString &line : logLines()) {
        const QRegularExpressionMatch match = said.match(line);
        if (match.hasMatch())
            return quint16(match.captured(1).toUInt());
    }
    return 0;
}

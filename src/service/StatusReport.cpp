#include "service/StatusReport.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLines.h"
#include "generic_tx/GenericTxRadio.h"
#include "platform/LinkSettings.h"
#include "radio/MemoryEntry.h"
#include "radio/Radio.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

QJsonValue isoTime(const QDateTime &time)
{
    // With its offset from UTC, so that it reads the same from another time zone.
    return time.isValid()
               ? QJsonValue(time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate))
               : QJsonValue();
}

// The frequency the panel shows for `band`: a VFO display "F=145.225000 shift=0", a memory-list
// entry "015=145.600000 shift=0".
QString shownFrequency(const RadioState::Band &band)
{
    switch (band.mode) {
    case RadioState::Mode::Vfo:
        return band.vfoText.startsWith(QLatin1String("F=")) ? band.vfoText.mid(2, 10) : QString();
    case RadioState::Mode::Memory:
        return MemoryEntry::frequency(band.memoryText);
    case RadioState::Mode::None:
        break;
    }
    return {};
}

QJsonObject radioReport(const Radio *radio, bool answering)
{
    QJsonObject report;
    if (radio == nullptr)
        return report;
    const RadioState &state = radio->state();
    report[QLatin1String("port")] = state.portName();
    // A transmitter that never replies cannot be said to answer or not.
    report[QLatin1String("answers")] =
        radio->capabilities().answers ? QJsonValue(answering) : QJsonValue();
    const int band = state.transmitBand();
    if (band >= 0 && band < radio->capabilities().bands) {
        const RadioState::Band &shown = state.band(band);
        report[QLatin1String("band")] = band == 0 ? QStringLiteral("A") : QStringLiteral("B");
        report[QLatin1String("mode")] = shown.mode == RadioState::Mode::Vfo      ? "VFO"
                                        : shown.mode == RadioState::Mode::Memory ? "MEM"
                                                                                 : "";
        report[QLatin1String("frequency")] = shownFrequency(shown);
    }
    return report;
}

QString healthText(GenericTxLines::Health health)
{
    switch (health) {
    case GenericTxLines::Health::Ok:
        return QStringLiteral("OK");
    case GenericTxLines::Health::Error:
        return QStringLiteral("error");
    case GenericTxLines::Health::Lost:
        return QStringLiteral("lost");
    case GenericTxLines::Health::None:
        break;
    }
    return QStringLiteral("none");
}

// The generic transmitter's control lines: what carries them, and whether they work.
QJsonObject linesReport(GenericTxRadio &radio)
{
    const GenericTxLines::Health health = radio.lines().health();
    ControlLineDriver &driver = radio.driver();
    return QJsonObject{
        {QLatin1String("kind"), radio.lines().kindText()},
        {QLatin1String("device"), driver.lines().deviceName()},
        {QLatin1String("state"), healthText(health)},
        {QLatin1String("pttKeyed"), driver.pttDriven()},
        {QLatin1String("squelchOpen"),
         health == GenericTxLines::Health::Ok ? QJsonValue(driver.squelchIsOpen()) : QJsonValue()},
    };
}

} // namespace

StatusReport::StatusReport(const Sources &sources) : QObject(nullptr), m_sources(sources)
{
    m_check.setInterval(CheckPeriodMs);
    connect(&m_check, &QTimer::timeout, this, &StatusReport::check);
}

void StatusReport::keyingChanged(bool keyed)
{
    if (keyed) {
        ++counters.keyings;
        m_keyedSince = QDateTime::currentDateTime();
    } else if (m_keyedSince.isValid()) {
        counters.transmitMs += m_keyedSince.msecsTo(QDateTime::currentDateTime());
        m_keyedSince = QDateTime();
    }
}

void StatusReport::start()
{
    m_running = true;
    check();
    m_check.start();
}

void StatusReport::stop()
{
    m_check.stop();
    if (!m_running)
        return;
    m_running = false;
    write(snapshot());
}

QJsonObject StatusReport::snapshot() const
{
    const Sources &s = m_sources;
    const QDateTime now = QDateTime::currentDateTime();
    QJsonObject report = radioReport(s.radios.current(), s.state.RigAnswering);
    report[QLatin1String("running")] = m_running;
    report[QLatin1String("pid")] = QCoreApplication::applicationPid();
    report[QLatin1String("started")] = isoTime(m_started);
    report[QLatin1String("model")] = s.radios.currentModel();
    if (s.generic != nullptr && s.radios.current() == s.generic)
        report[QLatin1String("lines")] = linesReport(*s.generic);
    const bool keyed = m_keyedSince.isValid();
    report[QLatin1String("keyed")] = keyed;
    report[QLatin1String("keyedSince")] = isoTime(m_keyedSince);
    report[QLatin1String("server")] = QJsonObject{
        {QLatin1String("address"), QStringLiteral("%1:%2").arg(s.server.host).arg(s.server.port)},
        {QLatin1String("connected"), s.state.ServerConnected},
    };
    report[QLatin1String("lastLogLine")] = s.log.lines().size() > 1 ? s.log.lines().last() : "";
    const qint64 transmitMs = counters.transmitMs + (keyed ? m_keyedSince.msecsTo(now) : 0);
    report[QLatin1String("counters")] = QJsonObject{
        {QLatin1String("keyings"), counters.keyings},
        {QLatin1String("transmitSeconds"), qRound64(transmitMs / 1000.0)},
        {QLatin1String("transmitTimeouts"), counters.transmitTimeouts},
        {QLatin1String("radioFaults"), counters.radioFaults},
        {QLatin1String("portLosses"), counters.portLosses},
        {QLatin1String("serverReconnections"), counters.serverReconnections},
        {QLatin1String("requestsDropped"), s.requests.droppedCount()},
    };
    return report;
}

QString StatusReport::summary(const QJsonObject &report)
{
    const QString model = report.value(QLatin1String("model")).toString();
    const QString port = report.value(QLatin1String("port")).toString();
    QString text = model.isEmpty() ? QStringLiteral("no radio") : model;
    if (!port.isEmpty())
        text += QStringLiteral(" on ") + port;
    const QJsonValue answers = report.value(QLatin1String("answers"));
    const QJsonObject lines = report.value(QLatin1String("lines")).toObject();
    if (!lines.isEmpty()) {
        const QString state = lines.value(QLatin1String("state")).toString();
        text += state == QLatin1String("none") ? QStringLiteral(", no lines chosen")
                                               : QStringLiteral(", lines ") + state;
    } else if (answers.isBool()) {
        text += answers.toBool() ? QStringLiteral(" answering")
                                 : QStringLiteral(", radio not answering");
    } else if (port.isEmpty() && !model.isEmpty()) {
        text += QStringLiteral(", no port");
    }
    const bool connected =
        report.value(QLatin1String("server")).toObject().value(QLatin1String("connected")).toBool();
    text +=
        connected ? QStringLiteral(", server connected") : QStringLiteral(", server not connected");
    return text;
}

// The transmit time grows while keyed, but that alone is no change worth a write: the
// "keyedSince" time says it.
void StatusReport::check()
{
    QJsonObject report = snapshot();
    if (const QString line = summary(report); line != m_summary) {
        m_summary = line;
        emit summaryChanged(line);
    }
    QJsonObject compared = report;
    QJsonObject counted = compared.value(QLatin1String("counters")).toObject();
    if (m_keyedSince.isValid())
        counted.remove(QLatin1String("transmitSeconds"));
    compared[QLatin1String("counters")] = counted;
    if (compared == m_lastWritten && m_sinceWrite.isValid() &&
        m_sinceWrite.elapsed() < RefreshPeriodMs - CheckPeriodMs / 2)
        return;
    write(report);
    m_lastWritten = compared;
}

void StatusReport::write(const QJsonObject &report)
{
    QJsonObject stamped = report;
    stamped[QLatin1String("time")] = isoTime(QDateTime::currentDateTime());
    m_sinceWrite.start();
    if (!m_sources.state.FolderWritable)
        return;
    QSaveFile file(QDir(m_sources.directory).filePath(QLatin1String(FileName)));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QJsonDocument(stamped).toJson(QJsonDocument::Indented));
    file.commit();
}

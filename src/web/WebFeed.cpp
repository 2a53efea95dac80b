#include "web/WebFeed.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"
#include "web/WebStation.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString modeText(RadioState::Mode mode)
{
    switch (mode) {
    case RadioState::Mode::Vfo:
        return QStringLiteral("VFO");
    case RadioState::Mode::Memory:
        return QStringLiteral("MEM");
    case RadioState::Mode::None:
        break;
    }
    return {};
}

QJsonObject panelState(const Radio &radio)
{
    const RadioState &s = radio.state();
    const Capabilities caps = radio.capabilities();
    QJsonArray bands;
    for (int band = 0; band < caps.bands && band < 2; ++band) {
        const RadioState::Band &b = s.band(band);
        bands.append(QJsonObject{
            {QLatin1String("selectable"), b.selectable},
            {QLatin1String("memoryAvailable"), b.memoryAvailable},
            {QLatin1String("powerAvailable"), b.powerAvailable},
            {QLatin1String("scanning"), b.scanning},
            {QLatin1String("mode"), modeText(b.mode)},
            {QLatin1String("power"), b.power},
            {QLatin1String("vfo"), b.vfoText},
            {QLatin1String("memory"), b.memoryText},
        });
    }
    return QJsonObject{
        {QLatin1String("title"), s.title()},
        {QLatin1String("panelEnabled"), s.panelEnabled()},
        {QLatin1String("transmitAvailable"), s.transmitAvailable()},
        {QLatin1String("transmitBand"), s.transmitBand()},
        {QLatin1String("bands"), bands},
        {QLatin1String("vfoMemoryModes"), caps.vfoMemoryModes},
        {QLatin1String("memories"), caps.memories},
        {QLatin1String("powerSteps"), caps.powerSteps},
        {QLatin1String("stepping"), caps.stepping},
        {QLatin1String("initialises"), caps.initialisesOnCommand},
    };
}

} // namespace

WebFeed::WebFeed(WebStation &station, QObject *parent) : QObject(parent), m_station(station)
{
    m_poll.setInterval(PollPeriodMs);
    connect(&m_poll, &QTimer::timeout, this, &WebFeed::check);
    m_soon.setSingleShot(true);
    m_soon.setInterval(0);
    connect(&m_soon, &QTimer::timeout, this, &WebFeed::check);
    connect(&station.radios(), &RadioSelector::currentChanged, this, &WebFeed::followRadio);
    const StationState &state = station.state();
    for (auto changed : {&StationState::rigChanged, &StationState::serverChanged,
                         &StationState::frequencyChanged, &StationState::activeBandChanged,
                         &StationState::modelChanged, &StationState::languageChanged})
        connect(&state, changed, this, &WebFeed::scheduleCheck);
    followRadio();
}

void WebFeed::setListened(bool listened)
{
    if (listened == m_poll.isActive())
        return;
    if (!listened) {
        m_poll.stop();
        return;
    }
    m_lastState = pageState();
    m_logSeen = m_station.log().appendedCount();
    if (const Radio *radio = m_station.radios().current()) {
        m_lastMemories = radio->state().memories();
        m_lastCurrentMemory = radio->state().currentMemory();
    }
    m_poll.start();
}

void WebFeed::followRadio()
{
    if (m_followed)
        disconnect(m_followed, nullptr, this, nullptr);
    Radio *radio = m_station.radios().current();
    m_followed = radio ? &radio->state() : nullptr;
    if (radio) {
        connect(&radio->state(), &RadioState::changed, this, &WebFeed::scheduleCheck);
        connect(&radio->state(), &RadioState::rigStatusChanged, this, &WebFeed::scheduleCheck);
    }
    scheduleCheck();
}

void WebFeed::scheduleCheck()
{
    if (m_poll.isActive() && !m_soon.isActive())
        m_soon.start();
}

QJsonObject WebFeed::pageState() const
{
    QJsonObject state = m_station.status();
    const StationState &s = m_station.state();
    state[QLatin1String("language")] =
        m_station.language() == Language::English ? QStringLiteral("E") : QStringLiteral("F");
    state[QLatin1String("txLockedOut")] = s.TxLockedOut;
    state[QLatin1String("txTimeout")] = s.TxTimeoutSeconds;
    if (const Radio *radio = m_station.radios().current())
        state[QLatin1String("panel")] = panelState(*radio);
    return state;
}

QJsonObject WebFeed::memoriesEvent() const
{
    const Radio *radio = m_station.radios().current();
    if (!radio)
        return {};
    return QJsonObject{
        {QLatin1String("entries"), QJsonArray::fromStringList(radio->state().memories())},
        {QLatin1String("current"), radio->state().currentMemory()},
    };
}

QByteArray WebFeed::event(const char *name, const QJsonObject &data)
{
    return QByteArrayLiteral("event: ") + name + QByteArrayLiteral("\ndata: ") +
           QJsonDocument(data).toJson(QJsonDocument::Compact) + QByteArrayLiteral("\n\n");
}

QByteArray WebFeed::logEvent(const QStringList &lines) const
{
    return event("log", QJsonObject{{QLatin1String("lines"), QJsonArray::fromStringList(lines)}});
}

QStringList WebFeed::newestLogLines(int count) const
{
    const QStringList &lines = m_station.log().lines();
    // The first line is the log's header.
    const int available = int(lines.size()) - 1;
    const int n = qMin(count, available);
    return n > 0 ? lines.mid(lines.size() - n) : QStringList();
}

QByteArray WebFeed::initialEvents() const
{
    return event("state", pageState()) + event("memories", memoriesEvent()) +
           logEvent(newestLogLines(InitialLogLines));
}

void WebFeed::check()
{
    QByteArray out;
    const qint64 appended = m_station.log().appendedCount();
    if (appended != m_logSeen) {
        const qint64 fresh = qMin<qint64>(appended - m_logSeen, EventLog::MaxLines);
        m_logSeen = appended;
        out += logEvent(newestLogLines(int(fresh)));
    }
    QJsonObject state = pageState();
    // The status file's time of writing changes by itself; only what it says counts.
    if (state != m_lastState) {
        m_lastState = state;
        out += event("state", state);
    }
    if (const Radio *radio = m_station.radios().current()) {
        const RadioState &s = radio->state();
        if (s.memories() != m_lastMemories || s.currentMemory() != m_lastCurrentMemory) {
            m_lastMemories = s.memories();
            m_lastCurrentMemory = s.currentMemory();
            out += event("memories", memoriesEvent());
        }
    }
    if (!out.isEmpty())
        emit events(out);
}

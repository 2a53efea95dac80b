// Soak of a whole station under radio and server faults: build/ivrelane as a process in a
// folder of its own, rigsim (a TM-D710, 200 memories, paced at 9600 baud, taking orders) on a
// pty, a relay server on loopback. The server keys and unkeys the radio (overs of 1-5 s, gaps of
// 0.5-3 s) and asks the frequency every 2-8 s, while faults come at random times (seed printed):
// radio silences of 3-20 s, single replies 3.3 s late, garbled replies, adapter replugs (1-5 s
// without the radio) and server drops. One progress line a minute; at the end, TRANSMITs to a
// healthy radio (no fault in the 10 s before nor during the over) and how many keyed it (a TX
// at the radio before the RECEIVE + 0.3 s), keyings after a RECEIVE (a TX more than 0.3 s after
// it, with no TRANSMIT since), RECEIVEs that left a healthy radio keyed, FREQUENCY answers while
// healthy that differ from the first one and requests never answered, resident memory after
// start-up and at the end, the log's health lines and the status file's counters. A late or
// garbled reply is a fault from when the radio gets the command it spoils. Radio times are
// rigsim's log stamps, server times this program's (the same clock). The folder ends with
// rigsim.log (every radio plugged), server.log and station-full.log (the whole event log).
// Usage: bench_soak [--minutes N=20] [--seed S=31] [--keep DIR (the folder, kept)]
#include "support/BenchSupport.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/ServerTraffic.h"
#include "support/StationProcess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Ms = qint64;               // milliseconds since the epoch, as rigsim's stamps are read
constexpr Ms HealthyMs = 10'000; // no fault for this long before a measured over or request
constexpr Ms InFlightMs = 300;   // a command under way when the server's next message went
constexpr int GuardMs = 60'000;  // bounds a start that hangs; never a measurement
const QStringList LateCommands{"TX", "RX", "SC", "FO 0", "ID", "BC"};
const QStringList SpoiltCommands{"ID", "SC", "TX", "RX", "FO 0"};
// The log's lines of the radio's and the server's health that are counted.
const QStringList HealthLines =
    QStringLiteral("Radio not answering|Radio answers again|Radio ready|TRANSMIT kept|"
                   "TRANSMIT dropped|Radio answers as|Radio busy|Port .* lost|Port .* back|"
                   "Server connection lost|Server connected")
        .split('|');

Ms now()
{
    return QDateTime::currentMSecsSinceEpoch();
}
QByteArray stamp(Ms t)
{
    return QDateTime::fromMSecsSinceEpoch(t).toString("hh:mm:ss.zzz").toLatin1();
}

struct Fault
{
    Ms from, to;
    QString kind;
};

class Soak
{
public:
    // The traffic draws from a generator of its own: the faults' kinds and times do not hang on
    // its timing.
    Soak(const QString &folder, quint32 seed)
        : m_folder(folder), m_random(seed), m_traffic(m_server, seed + 1, {})
    {
    }
    bool start();
    void run(int minutes);
    void finish();

private:
    void plugRadio();
    void injectFault();
    void poll();
    void readRadioLogs();
    bool healthy(Ms from, Ms to) const;
    QByteArray lastFaultBefore(Ms t, bool *beforeReady = nullptr) const;
    void report(bool final);
    void writeTranscripts();
    int between(int low, int high) { return int(m_random.bounded(low, high + 1)); }
    void after(int ms, const std::function<void()> &f) { QTimer::singleShot(ms, m_timers, f); }
    void nextFault(int ms)
    {
        after(ms + between(20'000, 60'000), [this] { injectFault(); });
    }

    QString m_folder, m_link;
    QRandomGenerator m_random;
    std::vector<std::unique_ptr<RigSimProcess>> m_radios; // every one plugged, for their logs
    RigSimProcess *m_radio = nullptr;                     // the one plugged now
    ServerPeer m_server;
    ServerTraffic m_traffic;
    StationProcess m_station;
    QObject *m_timers = new QObject; // the soak's timers: deleting it stops them
    bool m_running = true;
    QList<Fault> m_faults, m_replyFaults; // injected with a duration; late or garbled replies
    Ms m_silentSince = -1, m_unpluggedSince = -1, m_droppedSince = -1;
    int m_connectionsAtDrop = 0;
    QMap<QString, int> m_injected;
    std::vector<Ms> m_tx, m_rx; // TX and RX received by the radio
    std::vector<Ms> m_readyAt;  // the station's "Radio ready", to the second
    qint64 m_residentStartKiB = -1;
    Ms m_started = 0;
};

void Soak::plugRadio()
{
    m_radios.push_back(std::make_unique<RigSimProcess>());
    if (m_radios.back()
            ->start(
                {"--model", "TMD710", "--memories", "200", "--pace", "--control", "--link", m_link})
            .isEmpty())
        qFatal("rigsim did not start");
    m_radio = m_radios.back().get();
}

bool Soak::start()
{
    QDir(m_folder).mkpath("dev");
    m_link = QDir(m_folder).filePath("dev/ttyV0");
    plugRadio();
    BenchSupport::writeKenwoodConfiguration(QDir(m_folder).filePath("Ivrelane.ini"), m_link,
                                            m_server.port(), {"NUMBERMEM=200", "RECONNECT=1"});
    if (!m_station.start(m_folder))
        return false;
    const bool ready = BenchSupport::waitFor(
        [this] {
            return m_server.hasClient() && !m_station.logLines().filter(" Radio ready: ").isEmpty();
        },
        GuardMs);
    m_residentStartKiB = m_station.residentKiB();
    m_started = now();
    return ready;
}

void Soak::run(int minutes)
{
    auto every = [this](int ms, const std::function<void()> &f) {
        auto *timer = new QTimer(m_timers);
        QObject::connect(timer, &QTimer::timeout, f);
        timer->start(ms);
    };
    every(10, [this] { poll(); });
    every(1000, [this] { m_station.logLines(); });
    every(60'000, [this] { report(false); });
    m_traffic.start();
    nextFault(0);
    QTimer::singleShot(minutes * 60'000, [this] { m_running = false; });
    BenchSupport::waitFor([this] { return !m_running; }, minutes * 60'000 + GuardMs);
}

// One fault; the next comes 20-60 s after this one ends.
void Soak::injectFault()
{
    const int pick = between(0, 11);
    if (pick < 3) {
        m_radio->order("silent on");
        m_silentSince = now();
        const int ms = between(3000, 20'000);
        after(ms, [this] {
            m_radio->order("silent off");
            m_faults.append({m_silentSince, now(), "silence"});
            m_silentSince = -1;
        });
        ++m_injected["silence"];
        return nextFault(ms);
    }
    if (pick < 8) {
        const bool late = pick < 6;
        const QStringList &commands = late ? LateCommands : SpoiltCommands;
        const QString order = (late ? "late " : "spoil ") +
                              commands.at(between(0, int(commands.size()) - 1)) +
                              (late ? " 3300" : "");
        m_radio->order(order.toLatin1());
        ++m_injected[order];
        return nextFault(0);
    }
    if (pick < 10) {
        m_radio->stop(); // its link goes with it, as an adapter's device
        m_radio = nullptr;
        m_unpluggedSince = now();
        const int ms = between(1000, 5000);
        after(ms, [this] {
            plugRadio();
            m_faults.append({m_unpluggedSince, now(), "replug"});
            m_unpluggedSince = -1;
        });
        ++m_injected["replug"];
        return nextFault(ms);
    }
    m_traffic.dropping();
    m_connectionsAtDrop = m_server.connections();
    m_droppedSince = now();
    m_server.closeClient();
    ++m_injected["server drop"];
    nextFault(0);
}

// The station's answers, its coming back after a server drop, and its end if it ends.
void Soak::poll()
{
    m_traffic.takeAnswers();
    if (m_droppedSince >= 0 && m_server.connections() > m_connectionsAtDrop &&
        m_server.hasClient()) {
        m_faults.append({m_droppedSince, now(), "server drop"});
        m_droppedSince = -1;
    }
    if (m_running && !m_station.isRunning()) {
        std::printf("%s the station ended: exit code %d, %s\n", stamp(now()).data(),
                    m_station.process().exitCode(),
                    m_station.process().exitStatus() == QProcess::CrashExit ? "crash" : "normal");
        m_running = false;
    }
}

// Keyings and unkeyings at the radio, and the late or garbled replies from the command they
// spoil.
void Soak::readRadioLogs()
{
    m_tx.clear();
    m_rx.clear();
    m_replyFaults.clear();
    for (const auto &radio : m_radios) {
        for (const RigSimProcess::LogEntry &entry : radio->logEntries()) {
            if (entry.direction == '<' && (entry.text == "TX" || entry.text == "RX"))
                (entry.text == "TX" ? m_tx : m_rx).push_back(entry.msecsSinceEpoch);
        }
        for (const RigSimProcess::OrderInPlay &o : radio->ordersInPlay())
            m_replyFaults.append({o.msecsSinceEpoch, o.msecsSinceEpoch + o.lateMs + 500,
                                  (o.lateMs > 0 ? "late " : "spoil ") + o.command});
    }
}

bool Soak::healthy(Ms from, Ms to) const
{
    for (const Ms open : {m_silentSince, m_unpluggedSince, m_droppedSince}) {
        if (open >= 0 && open < to)
            return false;
    }
    for (const QList<Fault> *faults : {&m_faults, &m_replyFaults}) {
        for (const Fault &f : *faults) {
            if (f.to > from - HealthyMs && f.from < to)
                return false;
        }
    }
    return true;
}

// The last fault before `t`, and the station's first "Radio ready" after it (its log has whole
// seconds: `beforeReady` holds when that second is not over at `t`).
QByteArray Soak::lastFaultBefore(Ms t, bool *beforeReady) const
{
    const Fault *last = nullptr;
    for (const QList<Fault> *faults : {&m_faults, &m_replyFaults}) {
        for (const Fault &f : *faults) {
            if (f.from < t && (!last || f.from > last->from))
                last = &f;
        }
    }
    if (!last)
        return "none";
    const auto ready = std::lower_bound(m_readyAt.begin(), m_readyAt.end(), last->from - 999);
    if (beforeReady)
        *beforeReady = ready == m_readyAt.end() || *ready + 1000 > t;
    return last->kind.toLatin1() + " " + stamp(last->from) + "-" + stamp(last->to) +
           ", then \"Radio ready\" at " +
           (ready == m_readyAt.end() ? "none" : stamp(*ready).left(8));
}

void Soak::report(bool final)
{
    poll();
    readRadioLogs();
    m_readyAt.clear();
    for (const QString &line : m_station.logLines().filter(" Radio ready: "))
        m_readyAt.push_back(QDateTime::fromString(line.section(' ', 0, 3), "d MMM yyyy hh:mm:ss")
                                .toMSecsSinceEpoch());
    const Ms at = now();
    auto firstAfter = [](const std::vector<Ms> &times, Ms from) {
        const auto it = std::upper_bound(times.begin(), times.end(), from);
        return it == times.end() ? std::numeric_limits<Ms>::max() : *it;
    };
    int sent = 0, measured = 0, keyed = 0, beforeReady = 0, keyedAfterReceive = 0, receives = 0,
        notUnkeyed = 0;
    QList<QByteArray> details;
    QList<double> keyMs, unkeyMs;
    const QList<ServerTraffic::Message> &messages = m_traffic.messages();
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const ServerTraffic::Message &m = messages.at(i);
        const bool ended = i + 1 < messages.size();
        const Ms next = ended ? messages.at(i + 1).at : at;
        if (m.transmit) {
            ++sent;
            if (!ended || !healthy(m.at, next + InFlightMs))
                continue;
            ++measured;
            if (const Ms tx = firstAfter(m_tx, m.at - 1); tx <= next + InFlightMs) {
                ++keyed;
                keyMs << double(tx - m.at);
                continue;
            }
            bool initialising = false;
            details << stamp(m.at) + " TRANSMIT not keyed (over " +
                           QByteArray::number(double(next - m.at) / 1000.0, 'f', 1) +
                           " s); last fault: " + lastFaultBefore(m.at, &initialising);
            beforeReady += initialising;
            continue;
        }
        // A radio keyed (its last TX after its last RX) is unkeyed within 2 s.
        const auto txBefore = std::upper_bound(m_tx.begin(), m_tx.end(), m.at);
        const auto rxBefore = std::upper_bound(m_rx.begin(), m_rx.end(), m.at);
        const bool keyedThen = txBefore != m_tx.begin() &&
                               (rxBefore == m_rx.begin() || *(txBefore - 1) > *(rxBefore - 1));
        const Ms rx = firstAfter(m_rx, m.at - 1);
        if (keyedThen && rx < std::numeric_limits<Ms>::max())
            unkeyMs << double(rx - m.at);
        if (keyedThen && (ended || at - m.at > 2000) && healthy(m.at, m.at + 2000)) {
            ++receives;
            if (rx > m.at + 2000) {
                ++notUnkeyed;
                details << stamp(m.at) + " RECEIVE not followed by RX within 2 s";
            }
        }
        for (auto it = std::upper_bound(m_tx.begin(), m_tx.end(), m.at + InFlightMs);
             it != m_tx.end() && *it < next; ++it) {
            ++keyedAfterReceive;
            details << stamp(*it) + " TX at the radio after the RECEIVE of " + stamp(m.at) +
                           "; last fault: " + lastFaultBefore(*it);
        }
    }
    int healthyAnswers = 0, wrong = 0, unanswered = 0, lost = 0, malformed = 0;
    QByteArray expected;
    QList<double> answerMs;
    const QRegularExpression frequencyAnswer(QStringLiteral("^[0-9]{3}\\.[0-9]{6}$"));
    for (const ServerTraffic::Request &r : m_traffic.requests()) {
        // Whatever the radio does, the server is owed ten characters.
        if (r.answeredAt >= 0 && !frequencyAnswer.match(QString::fromLatin1(r.answer)).hasMatch()) {
            ++malformed;
            details << stamp(r.at) + " FREQUENCY answered \"" + r.answer + "\" at " +
                           stamp(r.answeredAt) + "; last fault: " + lastFaultBefore(r.answeredAt);
        }
        if (r.lost) {
            ++lost;
        } else if (r.answeredAt < 0 && (final || at - r.at > HealthyMs)) {
            ++unanswered;
            details << stamp(r.at) + " FREQUENCY never answered";
        } else if (r.answeredAt >= 0 && healthy(r.at, r.answeredAt)) {
            ++healthyAnswers;
            answerMs << double(r.answeredAt - r.at);
            if (expected.isEmpty())
                expected = r.answer;
            if (r.answer != expected)
                details << stamp(r.at) + " FREQUENCY answered " + r.answer + " while healthy";
            wrong += r.answer != expected;
        }
    }
    const double residentMB = double(m_station.residentKiB()) / 1024.0;
    if (!final) {
        std::printf("[%2lld min] faults %lld; healthy TRANSMITs %d, keyed %d; keyings after "
                    "RECEIVE %d; FREQUENCY wrong %d, unanswered %d; resident %.1f MB\n",
                    (at - m_started + 30'000) / 60'000,
                    static_cast<long long>(m_faults.size() + m_replyFaults.size()), measured, keyed,
                    keyedAfterReceive, wrong, unanswered, residentMB);
        std::fflush(stdout);
        return;
    }
    std::printf("\nsoak of %.1f min\nfaults ordered:", double(at - m_started) / 60'000.0);
    for (auto it = m_injected.cbegin(); it != m_injected.cend(); ++it)
        std::printf(" %s %d;", qPrintable(it.key()), it.value());
    QMap<QString, int> bitten;
    for (const Fault &f : std::as_const(m_replyFaults))
        ++bitten[f.kind];
    std::printf("\nlate or garbled replies that came into play:");
    for (auto it = bitten.cbegin(); it != bitten.cend(); ++it)
        std::printf(" %s %d;", qPrintable(it.key()), it.value());
    std::printf("\nTRANSMITs sent %d; to a healthy radio %d, of which keyed %d (goal: all); of "
                "those not keyed, %d before the station's \"Radio ready\" after the last fault\n"
                "keyings after a RECEIVE: %d (goal: none); healthy RECEIVEs to a keyed radio %d, "
                "not followed by RX within 2 s: %d\n",
                sent, measured, keyed, beforeReady, keyedAfterReceive, receives, notUnkeyed);
    std::printf("FREQUENCY asked %lld; answered while healthy %d, wrong %d (the first answer %s; "
                "goal: none); never answered %d; lost with a connection dropped %d; not a "
                "frequency at all, faults included: %d\n",
                static_cast<long long>(m_traffic.requests().size()), healthyAnswers, wrong,
                expected.constData(), unanswered, lost, malformed);
    if (m_traffic.unaskedLines() > 0)
        std::printf("lines from the station that answered no request: %d\n",
                    m_traffic.unaskedLines());
    BenchSupport::printFigures("TRANSMIT to TX, healthy overs keyed", keyMs);
    BenchSupport::printFigures("RECEIVE to RX, radio keyed (faults too)", unkeyMs);
    BenchSupport::printFigures("FREQUENCY answer time while healthy (+10 ms)", answerMs);
    std::printf("resident memory: %.1f MB after start-up, %.1f MB at the end\n",
                double(m_residentStartKiB) / 1024.0, residentMB);
    const QStringList &log = m_station.logLines();
    std::printf("station log, %lld lines:", static_cast<long long>(log.size()));
    for (const QString &text : HealthLines)
        std::printf(" \"%s\" %lld;", qPrintable(text),
                    static_cast<long long>(log.filter(QRegularExpression(text)).size()));
    std::printf("\n");
    for (const QByteArray &line : std::as_const(details))
        std::printf("  %s\n", line.constData());
}

void Soak::finish()
{
    delete m_timers; // no more traffic nor faults
    m_timers = nullptr;
    if (m_silentSince >= 0) {
        m_radio->order("silent off");
        m_faults.append({m_silentSince, now(), "silence"});
        m_silentSince = -1;
    }
    if (!m_radio) {
        plugRadio();
        m_faults.append({m_unpluggedSince, now(), "replug"});
        m_unpluggedSince = -1;
    }
    m_traffic.stop();
    // The last answers and the last unkeying come in.
    BenchSupport::waitFor([] { return false; }, 5000);
    m_running = false;
    report(true);
    m_station.stop();
    const QJsonObject status = m_station.status();
    std::printf("status file at the end: answers %s, counters %s\n",
                status.value("answers").toBool() ? "true" : "false",
                QJsonDocument(status.value("counters").toObject())
                    .toJson(QJsonDocument::Compact)
                    .constData());
    writeTranscripts();
}

// What a diagnosis needs beside the station's own files.
void Soak::writeTranscripts()
{
    auto write = [this](const char *name, const QByteArray &text) {
        QFile file(QDir(m_folder).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    };
    QByteArray radios, server = m_traffic.transcript();
    for (const auto &radio : m_radios)
        radios += radio->logText().toLatin1() + "---- unplugged\n";
    for (const Fault &f : std::as_const(m_faults))
        server += stamp(f.from) + " " + f.kind.toLatin1() + " until " + stamp(f.to) + "\n";
    write("rigsim.log", radios);
    write("server.log", server);
    write("station-full.log", m_station.logLines().join('\n').toLatin1() + '\n');
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&args](const char *name, const QString &fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
    };
    const int minutes = qMax(1, option("--minutes", "20").toInt());
    const quint32 seed = option("--seed", "31").toUInt();
    const QString keep = option("--keep", QString());
    QTemporaryDir scratch;
    const QString folder = keep.isEmpty() ? scratch.path() : QDir(keep).absolutePath();
    std::printf("soak: %d min, seed %u, folder %s\n", minutes, seed, qPrintable(folder));
    std::fflush(stdout);

    Soak soak(folder, seed);
    if (!soak.start()) {
        std::printf("the station did not connect or did not say \"Radio ready\" within %d s\n",
                    GuardMs / 1000);
        return 1;
    }
    soak.run(minutes);
    soak.finish();
    return 0;
}

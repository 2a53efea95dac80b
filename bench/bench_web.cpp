// Prints what the web page costs the station: FREQUENCY answer times and keying times (TRANSMIT
// to the radio's TX, RECEIVE to its RX, read from rigsim's log stamps) with the page off, with
// it on and no page open, and with 20 live pages (/events), 200 idle connections and one client
// sending a byte a second; and the station's resident memory before and after the 20 pages
// were opened and followed the keyings. The station is build/ivrelane on a folder of its own,
// the radio rigsim (a TM-D710 paced at 9600 baud) on a pty.
// Usage: bench_web [rounds]
#include "support/BenchSupport.h"
#include "support/HttpClient.h"
#include "support/RigSimProcess.h"
#include "support/StationProcess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int GuardMs = 15'000;
constexpr int Pages = 20;
constexpr int IdleConnections = 200;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// The relay server's side: the time each line from the station arrived.
struct Relay
{
    QTcpServer server;
    QTcpSocket *peer = nullptr;
    QByteArray buffer;
    std::vector<qint64> lineTimes;
    Relay()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            peer = server.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, [this] {
                buffer += peer->readAll();
                for (qsizetype i; (i = buffer.indexOf("\r\n")) >= 0;) {
                    buffer.remove(0, i + 2);
                    lineTimes.push_back(now());
                }
            });
        });
    }
};

struct Figures
{
    std::vector<qint64> frequency, key, unkey, pageSeesKey;
    qint64 residentBeforeKiB = -1, residentAfterKiB = -1;
};

void printSeries(const char *label, std::vector<qint64> v)
{
    if (v.empty()) {
        std::printf("  %-28s -\n", label);
        return;
    }
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[size_t(q * double(v.size() - 1))]; };
    std::printf("  %-28s n=%4zu  median %4lld ms  p95 %4lld ms  max %4lld ms\n", label, v.size(),
                static_cast<long long>(at(0.5)), static_cast<long long>(at(0.95)),
                static_cast<long long>(v.back()));
}

// The stamp of the radio's `count`-th (from 1) command `command`, or -1.
qint64 commandStamp(const RigSimProcess &rig, const QString &command, int count)
{
    int seen = 0;
    for (const RigSimProcess::LogEntry &entry : rig.logEntries()) {
        if (entry.direction == '<' && entry.text == command && ++seen == count)
            return entry.msecsSinceEpoch;
    }
    return -1;
}

bool run(const char *label, bool web, bool load, int rounds)
{
    std::printf("%s\n", label);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("dev"));
    const QString link = dir.filePath(QStringLiteral("dev/ttyV0"));
    RigSimProcess rig;
    if (rig.start({"--model", "TMD710", "--pace", "--link", link}).isEmpty())
        return false;
    Relay relay;
    QStringList extra{QStringLiteral("TXTIMEOUT=0")};
    if (web)
        extra << QStringLiteral("WEB=127.0.0.1:0");
    BenchSupport::writeKenwoodConfiguration(dir.filePath(QStringLiteral("Ivrelane.ini")), link,
                                            relay.server.serverPort(), extra);
    StationProcess station;
    if (!station.start(dir.path()) ||
        !BenchSupport::waitFor(
            [&] {
                return relay.peer && !station.logLines().filter(" Radio ready: ").isEmpty() &&
                       (!web || station.webPort() != 0);
            },
            GuardMs)) {
        std::fprintf(stderr, "the station did not start\n");
        return false;
    }

    Figures f;
    std::vector<std::unique_ptr<HttpClient>> pages;
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    QTcpSocket slow;
    QTimer slowTimer;
    const QByteArray slowRequest = "GET /status.json HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    qsizetype slowSent = 0;
    if (load) {
        BenchSupport::waitFor([] { return false; }, 1000); // the start settles
        f.residentBeforeKiB = station.residentKiB();
        const quint16 port = station.webPort();
        for (int i = 0; i < Pages; ++i) {
            pages.push_back(std::make_unique<HttpClient>(port));
            pages.back()->openEvents();
        }
        for (int i = 0; i < IdleConnections; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, port);
        }
        slow.connectToHost(QHostAddress::LocalHost, port);
        QObject::connect(&slowTimer, &QTimer::timeout, [&] {
            slow.write(slowRequest.mid(slowSent % slowRequest.size(), 1));
            ++slowSent;
        });
        slowTimer.start(1000);
        BenchSupport::waitFor(
            [&] {
                return std::all_of(pages.begin(), pages.end(),
                                   [](auto &p) { return p->events().contains("event: log"); });
            },
            GuardMs);
    }

    // Out at once, not when this program's event loop next gets to it.
    const auto send = [&](const QByteArray &line) {
        relay.peer->write(line);
        relay.peer->flush();
    };
    // A FREQUENCY request answered: whatever was asked before it is over too.
    const auto ask = [&]() -> qint64 {
        const size_t answered = relay.lineTimes.size();
        const qint64 asked = now();
        send("FREQUENCY\r\n");
        if (!BenchSupport::waitFor([&] { return relay.lineTimes.size() > answered; }, GuardMs))
            return -1;
        return relay.lineTimes.back() - asked;
    };
    for (int i = 0; i < rounds; ++i) {
        const qint64 ms = ask();
        if (ms < 0)
            return false;
        f.frequency.push_back(ms);
    }
    // A page's event is stamped as it arrives.
    qsizetype pageText = 0;
    qint64 pageSaw = -1;
    if (load) {
        QObject::connect(&pages.front()->eventSocket(), &QTcpSocket::readyRead, [&] {
            if (pageSaw < 0 && pages.front()->events().mid(pageText).contains("\"keyed\":true"))
                pageSaw = now();
        });
    }
    for (int i = 1; i <= rounds; ++i) {
        pageText = load ? pages.front()->events().size() : 0;
        pageSaw = -1;
        const qint64 keyed = now();
        send("TRANSMIT_R\r\n");
        // Rigsim's log is read only once the page has its event: reading it is no light work
        // for this program, which stamps the page's events too.
        if ((load && !BenchSupport::waitFor([&] { return pageSaw >= 0; }, GuardMs)) ||
            !BenchSupport::waitFor([&] { return commandStamp(rig, QStringLiteral("TX"), i) >= 0; },
                                   GuardMs))
            return false;
        f.key.push_back(commandStamp(rig, QStringLiteral("TX"), i) - keyed);
        // Each keying and unkeying from a station that has nothing else to do.
        if (ask() < 0)
            return false;
        if (load)
            f.pageSeesKey.push_back(pageSaw - keyed);
        const qint64 unkeyed = now();
        send("RECEIVE_R\r\n");
        if (!BenchSupport::waitFor(
                [&] { return commandStamp(rig, QStringLiteral("RX"), i + 1) >= 0; }, GuardMs))
            return false;
        // The first RX is the one sent to the radio at start.
        f.unkey.push_back(commandStamp(rig, QStringLiteral("RX"), i + 1) - unkeyed);
        if (ask() < 0)
            return false;
    }
    if (load)
        f.residentAfterKiB = station.residentKiB();
    printSeries("FREQUENCY answered", f.frequency);
    printSeries("TRANSMIT to TX at the radio", f.key);
    printSeries("RECEIVE to RX at the radio", f.unkey);
    if (load) {
        printSeries("TRANSMIT to a page's event", f.pageSeesKey);
        std::printf("  resident: %lld kB before the pages, %lld kB after (%+lld kB), "
                    "%d idle connections, slow client sent %lld bytes\n",
                    static_cast<long long>(f.residentBeforeKiB),
                    static_cast<long long>(f.residentAfterKiB),
                    static_cast<long long>(f.residentAfterKiB - f.residentBeforeKiB),
                    int(std::count_if(
                        idle.begin(), idle.end(),
                        [](auto &s) { return s->state() == QAbstractSocket::ConnectedState; })),
                    static_cast<long long>(slowSent));
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 100;
    // Each in a fresh folder with a fresh station and radio.
    const bool ok =
        run("Page off (no WEB=):", false, false, rounds) &&
        run("Page on, nobody looking:", true, false, rounds) &&
        run("Page on, 20 live pages, 200 idle connections, 1 byte/s client:", true, true, rounds);
    return ok ? 0 : 1;
}

// How soon a radio that was silent is keyed again: a station with 200 memories on rigsim paced
// like a 9600-baud line, the radio switched off, a TRANSMIT from the server kept meanwhile, the
// radio switched on again. Prints, from rigsim's own time stamps, the time from the radio's first
// reply after it came back to the "TX" it receives. Usage: bench_recovery_keying [rounds]
#include "app/Station.h"
#include "support/BenchSupport.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>

namespace {

constexpr int GuardMs = 60'000;

QDateTime stampOf(const QString &line)
{
    return QDateTime::fromString(line.left(23), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

// The first log line from `from` on that `matches`; an empty text when there is none.
template <typename Match>
QString firstLine(const QStringList &lines, qsizetype from, Match matches)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (matches(lines.at(i)))
            return lines.at(i);
    }
    return QString();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 10;
    BenchSupport::SilentNotifier boxes;
    StationFixture fixture;
    fixture.boxes = &boxes;
    RigSimProcess radio;
    ServerPeer server;
    const QString link = fixture.path(QStringLiteral("dev/ttyV0"));
    if (radio.start({QStringLiteral("--control"), QStringLiteral("--pace"),
                     QStringLiteral("--memories"), QStringLiteral("200"), QStringLiteral("--link"),
                     link})
            .isEmpty()) {
        std::fprintf(stderr, "rigsim did not start\n");
        return 1;
    }
    fixture.writeConfiguration({QStringLiteral("MODEL=TMD710"), QStringLiteral("COM=") + link,
                                QStringLiteral("NUMBERMEM=200"), QStringLiteral("CONNECT=1"),
                                QStringLiteral("IPSERVER=127.0.0.1"),
                                QStringLiteral("PORT=%1").arg(server.port()),
                                QStringLiteral("CHANNEL=BOTH")});
    Station &station = fixture.start();
    if (!BenchSupport::waitFor([&] { return station.state.RigStatus == 3; }, GuardMs) ||
        !server.waitForClient(GuardMs)) {
        std::fprintf(stderr, "the station did not start\n");
        return 1;
    }
    QList<double> toKeying;
    for (int round = 0; round < rounds; ++round) {
        radio.order("silent on");
        server.send("FREQUENCY\r\n");
        if (!BenchSupport::waitFor([&] { return !station.state.RigAnswering; }, GuardMs))
            break;
        server.send("TRANSMIT_R\r\n");
        if (!BenchSupport::waitFor([&] { return station.requests.isIdle(); }, GuardMs))
            break;
        const qsizetype from = radio.logText().split(QLatin1Char('\n')).size();
        radio.order("silent off");
        if (!BenchSupport::waitFor([&] { return radio.receivedCommands().constLast() == "TX"; },
                                   GuardMs))
            break;
        const QStringList lines = radio.logText().split(QLatin1Char('\n'));
        const QString answer =
            firstLine(lines, from, [](const QString &l) { return l.mid(23, 3) == " > "; });
        const QString keyed =
            firstLine(lines, from, [](const QString &l) { return l.mid(23) == " < TX"; });
        toKeying << double(stampOf(answer).msecsTo(stampOf(keyed)));
        server.send("RECEIVE_R\r\n");
        if (!BenchSupport::waitFor([&] { return radio.receivedCommands().constLast() == "RX"; },
                                   GuardMs))
            break;
    }
    std::printf("radio back after a silence, a TRANSMIT kept meanwhile (200 memories, 9600 baud)\n");
    BenchSupport::printFigures("first reply to TX at the radio", toKeying);
    return toKeying.size() == rounds ? 0 : 1;
}

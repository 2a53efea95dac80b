// Prints how quickly the station acts on the relay server: from the server's write of
// "TRANSMIT_R" CR LF to the radio's receipt of "TX", and from "FREQUENCY" CR LF to the station's
// answer, over 200 rounds each, with rigsim (no pacing) on a pty and a loopback server in this
// process. Also prints how much the process grows while the server streams without line ends.
// Usage: bench_server_exchange [path-to-rigsim]
#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "kenwood/RigLink.h"
#include "ui/UnitTMD700.h"

#include "support/BenchSupport.h"
#include "support/ProcessMemory.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Rounds = 200;
constexpr int GuardMs = 10'000;

using BenchSupport::printFigures;
using BenchSupport::SilentNotifier;
using BenchSupport::startTmd710;
using BenchSupport::StationPeer;
using BenchSupport::writeKenwoodConfiguration;

bool waitFor(const std::function<bool()> &done)
{
    return BenchSupport::waitFor(done, GuardMs);
}

// Wall-clock receipt times of each "TX" in the rigsim log, in ms since the epoch.
QList<qint64> txReceipts(const QString &logPath)
{
    QList<qint64> times;
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return times;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.size() > 23 && line.mid(23) == " < TX")
            times << QDateTime::fromString(QString::fromLatin1(line.left(23)),
                                           QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
                         .toMSecsSinceEpoch();
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString rigsim = BenchSupport::rigsimPath(argc, argv);

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("dev"));
    const QString link = dir.filePath(QStringLiteral("dev/ttyV0"));
    const QString rigLog = dir.filePath(QStringLiteral("rigsim.log"));

    QProcess rig;
    if (!startTmd710(rig, rigsim, link, rigLog, GuardMs))
        return 1;
    StationPeer relay;
    QTcpSocket *&peer = relay.peer;
    QByteArray &fromStation = relay.fromStation;
    writeKenwoodConfiguration(dir.filePath(QStringLiteral("Ivrelane.ini")), link,
                              relay.server.serverPort());

    SilentNotifier notifier;
    Station station(dir.path(), notifier);
    station.deviceDirectory = dir.filePath(QStringLiteral("dev"));
    station.terminate = [] {};
    station.FormActivate();
    if (!waitFor([&] { return peer && station.state.ServerConnected; })) {
        std::fprintf(stderr, "the station did not connect\n");
        return 1;
    }

    int exchanges = 0;
    QObject::connect(&station.kenwood->link(), &RigLink::exchangeFinished, [&] { ++exchanges; });
    QList<double> toReply;
    QList<qint64> written;
    QElapsedTimer clock;
    for (int i = 0; i < Rounds; ++i) {
        for (const char *message : {"TRANSMIT_R\r\n", "RECEIVE_R\r\n"}) {
            const int before = exchanges;
            clock.start();
            if (message[0] == 'T')
                written << QDateTime::currentMSecsSinceEpoch();
            peer->write(message);
            peer->flush();
            if (!waitFor([&] { return exchanges > before; })) {
                std::fprintf(stderr, "no exchange for %s", message);
                return 1;
            }
            if (message[0] == 'T')
                toReply << double(clock.nsecsElapsed()) / 1e6;
        }
    }
    QList<double> toRig;
    const QList<qint64> receipts = txReceipts(rigLog);
    for (qsizetype i = 0; i < qMin(receipts.size(), written.size()); ++i)
        toRig << double(receipts.at(i) - written.at(i));

    QList<double> toAnswer;
    for (int i = 0; i < Rounds; ++i) {
        fromStation.clear();
        clock.start();
        peer->write("FREQUENCY\r\n");
        peer->flush();
        if (!waitFor([&] { return fromStation.endsWith("\r\n"); })) {
            std::fprintf(stderr, "no frequency answer\n");
            return 1;
        }
        toAnswer << double(clock.nsecsElapsed()) / 1e6;
    }

    printFigures("TRANSMIT_R -> rigsim logs TX (1 ms)", toRig);
    printFigures("TRANSMIT_R -> TX reply at station", toReply);
    printFigures("FREQUENCY -> answer at server", toAnswer);

    const long before = ProcessMemory::residentKiB();
    const QByteArray block(1024 * 1024, 'x');
    for (int i = 0; i < 50; ++i) {
        peer->write(block);
        waitFor([&] { return peer->bytesToWrite() == 0; });
    }
    peer->write("\r\nFREQUENCY\r\n");
    fromStation.clear();
    waitFor([&] { return fromStation.endsWith("\r\n"); });
    std::printf(
        "50 MB without line end: resident %ld kB before, %ld kB after; answered after: %s\n",
        before, long(ProcessMemory::residentKiB()), fromStation.endsWith("\r\n") ? "yes" : "no");

    station.MenuQuitterClick();
    rig.terminate();
    rig.waitForFinished(GuardMs);
    return 0;
}

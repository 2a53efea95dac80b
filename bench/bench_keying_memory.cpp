// Prints how much the process grows per keying: the relay server sends TRANSMIT_R then
// RECEIVE_R 10,000 times to a station driving rigsim (a TM-D710, no pacing) on a pty, and the
// resident size is read before and after; then as many FREQUENCY requests, for comparison.
// A warm-up of 200 pairs first lets the caches and the allocator settle.
// Usage: bench_keying_memory [path-to-rigsim [keyings]]
#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "kenwood/RigLink.h"
#include "ui/UnitTMD700.h"

#include "support/BenchSupport.h"
#include "support/ProcessMemory.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int DefaultKeyings = 10'000;
constexpr int WarmUp = 200;
constexpr int GuardMs = 10'000;

using BenchSupport::SilentNotifier;
using BenchSupport::startTmd710;
using BenchSupport::StationPeer;
using BenchSupport::writeKenwoodConfiguration;

bool waitFor(const std::function<bool()> &done)
{
    return BenchSupport::waitFor(done, GuardMs);
}

struct Figures
{
    qint64 beforeKiB = 0;
    qint64 afterKiB = 0;
    double seconds = 0;
};

void print(const char *label, int rounds, const Figures &f)
{
    const qint64 grown = f.afterKiB - f.beforeKiB;
    std::printf("%-30s n=%6d  resident %7lld kB -> %7lld kB  grown %6lld kB  "
                "%7.1f bytes/round  %5.1f s\n",
                label, rounds, static_cast<long long>(f.beforeKiB),
                static_cast<long long>(f.afterKiB), static_cast<long long>(grown),
                double(grown) * 1024.0 / rounds, f.seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString rigsim = BenchSupport::rigsimPath(argc, argv);
    const int keyings = argc > 2 ? qMax(1, QByteArray(argv[2]).toInt()) : DefaultKeyings;

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("dev"));
    const QString link = dir.filePath(QStringLiteral("dev/ttyV0"));

    QProcess rig;
    if (!startTmd710(rig, rigsim, link, dir.filePath(QStringLiteral("rigsim.log")), GuardMs))
        return 1;
    StationPeer relay;
    QTcpSocket *&peer = relay.peer;
    QByteArray &fromStation = relay.fromStation;
    writeKenwoodConfiguration(dir.filePath(QStringLiteral("Ivrelane.ini")), link,
                              relay.server.serverPort(), {QStringLiteral("TXTIMEOUT=0")});

    SilentNotifier notifier;
    Station station(dir.path(), notifier);
    station.deviceDirectory = dir.filePath(QStringLiteral("dev"));
    station.terminate = [] {};
    // As the program does: the window is shown, and start-up runs once it is on screen.
    station.windows().Form1->show();
    // Connected, and the radio initialised (its first exchange comes 500 ms after the port).
    if (!waitFor([&] {
            return peer && station.state.ServerConnected && station.state.RigAnswering &&
                   station.state.RigStatus == 3 &&
                   station.windows().Form1->ui.GroupBoxTX->isEnabled();
        })) {
        std::fprintf(stderr, "the station did not connect or the radio did not answer\n");
        return 1;
    }

    int exchanges = 0;
    QObject::connect(&station.kenwood->link(), &RigLink::exchangeFinished, [&] { ++exchanges; });
    auto keyPairs = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            for (const char *message : {"TRANSMIT_R\r\n", "RECEIVE_R\r\n"}) {
                const int before = exchanges;
                peer->write(message);
                peer->flush();
                if (!waitFor([&] { return exchanges > before; })) {
                    std::fprintf(stderr, "no exchange for %s", message);
                    return false;
                }
            }
        }
        return true;
    };
    auto frequencies = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            fromStation.clear();
            peer->write("FREQUENCY\r\n");
            peer->flush();
            if (!waitFor([&] { return fromStation.endsWith("\r\n"); })) {
                std::fprintf(stderr, "no frequency answer\n");
                return false;
            }
        }
        return true;
    };
    auto measure = [&](const std::function<bool(int)> &run, int rounds, Figures *f) {
        f->beforeKiB = ProcessMemory::residentKiB();
        QElapsedTimer clock;
        clock.start();
        const bool ok = run(rounds);
        f->seconds = double(clock.elapsed()) / 1000.0;
        f->afterKiB = ProcessMemory::residentKiB();
        return ok;
    };

    Figures warm, keyed, asked;
    if (!measure(keyPairs, WarmUp, &warm) || !measure(keyPairs, keyings, &keyed) ||
        !measure(frequencies, keyings, &asked))
        return 1;
    print("warm-up TRANSMIT/RECEIVE pairs", WarmUp, warm);
    print("TRANSMIT/RECEIVE pairs", keyings, keyed);
    print("FREQUENCY requests", keyings, asked);

    station.MenuQuitterClick();
    rig.terminate();
    rig.waitForFinished(GuardMs);
    return 0;
}

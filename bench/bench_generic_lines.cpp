// The generic transmitter's UP pulse on two kinds of lines: the time from the pulse request to
// the output being written, and the pulse length against its setting. The parallel port is the
// in-memory one (its writes carry time stamps); the USB audio interface's hidraw device is
// stood in for by a socket pair, whose reports are time-stamped as they arrive. Runs a whole
// station offscreen with the real timers.
//
//   bench_generic_lines [pulses]      (default 100)
#include "app/GenericTxWiring.h"
#include "app/Station.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/Cm108Lines.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/LinesFactory.h"
#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using BenchSupport::waitFor;

constexpr quint16 Base = 0x378;
constexpr int PulseMs = 200;

void print(const char *what, QList<double> values)
{
    if (values.isEmpty()) {
        std::printf("  %s: no samples\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values)
        sum += v;
    auto at = [&values](double q) {
        return values[std::min<qsizetype>(values.size() - 1, qsizetype(q * values.size()))];
    };
    std::printf("  %s: n=%lld mean %+.3f ms, min %+.3f, p50 %+.3f, p99 %+.3f, max %+.3f\n", what,
                static_cast<long long>(values.size()), sum / values.size(), values.first(), at(0.5),
                at(0.99), values.last());
}

std::unique_ptr<Station> startStation(const QString &dir, Notifier &notifier, const char *lines)
{
    QFile ini(dir + QStringLiteral("/Ivrelane.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return nullptr;
    ini.write(QByteArray("[IvrelaneTMD7x0]\r\nMODEL=TX16UD\r\nWARNING=Y\r\nLPT378=888\r\n") +
              "DELAYPIN14=" + QByteArray::number(PulseMs) + "\r\n" + lines);
    ini.close();
    auto station = std::make_unique<Station>(dir, notifier);
    station->terminate = [] {};
    station->FormActivate();
    GenericTxWiring &generic = *station->genericTx;
    waitFor(
        [&generic] {
            return !generic.driver().pulsing(TxLine::Reset) && !generic.stepper().ticking();
        },
        5000);
    return station;
}

// One UP pulse to its end; `written` gives the time of its active write, measured on `clock`,
// or -1 while it has not been seen.
void onePulse(Station &station, const QElapsedTimer &clock, const std::function<qint64()> &written,
              QList<double> &latencies)
{
    ControlLineDriver &driver = station.genericTx->driver();
    const qint64 requested = clock.nsecsElapsed();
    driver.pulse(TxLine::Up);
    waitFor([&] { return written() >= 0; }, 1000);
    if (written() >= 0)
        latencies.append((written() - requested) / 1e6);
    waitFor([&driver] { return !driver.pulsing(TxLine::Up); }, PulseMs * 10);
    waitFor([] { return false; }, 20);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pulses = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    BenchSupport::SilentNotifier notifier;
    QElapsedTimer clock;
    clock.start();

    {
        // The port stamps its writes on a clock of its own: latency is the time the request
        // takes to return, the write being made inside it.
        auto port = std::make_shared<MemoryParallelPort>(Base);
        ParallelPortFactory::installTestPort(port);
        QTemporaryDir dir;
        std::unique_ptr<Station> station = startStation(dir.path(), notifier, "");
        ParallelPortFactory::installTestPort(nullptr);
        port->clearWrites();
        QList<double> latencies;
        ControlLineDriver &driver = station->genericTx->driver();
        for (int i = 0; i < pulses; ++i) {
            const qint64 requested = clock.nsecsElapsed();
            driver.pulse(TxLine::Up);
            latencies.append((clock.nsecsElapsed() - requested) / 1e6);
            waitFor([&driver] { return !driver.pulsing(TxLine::Up); }, PulseMs * 10);
            waitFor([] { return false; }, 20);
        }
        QList<double> lengths;
        qint64 start = -1;
        for (const MemoryParallelPort::Write &w : port->writes()) {
            if (w.port != Base + 2)
                continue;
            const bool active = (w.value & 0x02) == 0;
            if (active && start < 0)
                start = w.elapsedNs;
            else if (!active && start >= 0) {
                lengths.append((w.elapsedNs - start) / 1e6 - PulseMs);
                start = -1;
            }
        }
        std::printf("Parallel port (in memory), UP pulse %d ms, %d pulses\n", PulseMs, pulses);
        print("request to write", latencies);
        print("pulse length error", lengths);
    }

    {
        int peer = -1;
        LinesFactory::installTestMaker([&peer](const LineSettings &settings, LinePolarity) {
            return std::make_unique<Cm108Lines>(
                settings.device, *LineConfig::parseMap(settings.kind, settings.map),
                [&peer](const QString &) {
                    int ends[2];
                    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
                        return -1;
                    peer = ends[1];
                    return ends[0];
                });
        });
        QTemporaryDir dir;
        std::unique_ptr<Station> station =
            startStation(dir.path(), notifier, "LINES=CM108\r\nLINESDEVICE=/dev/hidraw-bench\r\n");
        LinesFactory::installTestMaker(nullptr);
        if (peer < 0) {
            std::printf("USB audio interface: not opened\n");
            return 1;
        }
        // Reports as they arrive: the UP bit (GPIO 1) of each, with its time.
        QList<std::pair<qint64, bool>> reports;
        QSocketNotifier arrivals(peer, QSocketNotifier::Read);
        QObject::connect(&arrivals, &QSocketNotifier::activated, [&] {
            char report[8];
            while (recv(peer, report, sizeof report, MSG_DONTWAIT) == 5)
                reports.append({clock.nsecsElapsed(), (report[2] & 0x01) != 0});
        });
        waitFor([] { return false; }, 50);
        reports.clear();
        QList<double> latencies;
        qsizetype seen = 0;
        auto written = [&]() -> qint64 {
            for (qsizetype i = seen; i < reports.size(); ++i) {
                if (reports[i].second)
                    return reports[i].first;
            }
            return -1;
        };
        for (int i = 0; i < pulses; ++i) {
            onePulse(*station, clock, written, latencies);
            seen = reports.size();
        }
        QList<double> lengths;
        qint64 start = -1;
        for (const auto &[at, up] : reports) {
            if (up && start < 0)
                start = at;
            else if (!up && start >= 0) {
                lengths.append((at - start) / 1e6 - PulseMs);
                start = -1;
            }
        }
        std::printf("USB audio interface (CM108 reports over a socket pair), UP pulse %d ms, %d "
                    "pulses\n",
                    PulseMs, pulses);
        print("request to report received", latencies);
        print("pulse length error", lengths);
        station.reset();
        ::close(peer);
    }
    return 0;
}

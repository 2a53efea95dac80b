// Timing of the generic transmitter's lines, measured from the time stamps that the in-memory
// parallel port puts on every register write: the length of UP pulses and the period of scan
// steps, against their settings. Runs a whole station offscreen with the real timers.
//
//   bench_generic_timing [pulses] [scan-steps]      (defaults 200 and 100)
#include "app/GenericTxWiring.h"
#include "app/Station.h"
#include "core/Notifier.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr quint16 Base = 0x378;
constexpr quint8 UpMask = 0x02;
constexpr int PulseMs = 200;
constexpr int TempoMs = 200;

class SilentNotifier : public Notifier
{
public:
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &) override {}
    void question(const QString &, std::function<void(bool)> answered) override { answered(false); }
    void beep() override { ++beeps; }
    int beeps = 0;
};

void waitFor(const std::function<bool()> &done, int timeoutMs)
{
    // Sleeps in the event loop between checks, so the timers under test are not competing
    // with a busy loop for the processor.
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Times (ns) of the writes that take the UP line from rest (bit set) to active (bit clear), and
// of those that bring it back.
void upEdges(const MemoryParallelPort &port, QList<qint64> &starts, QList<qint64> &ends)
{
    bool active = false;
    for (const MemoryParallelPort::Write &w : port.writes()) {
        if (w.port != Base + 2)
            continue;
        const bool nowActive = (w.value & UpMask) == 0;
        if (nowActive && !active)
            starts.append(w.elapsedNs);
        else if (!nowActive && active)
            ends.append(w.elapsedNs);
        active = nowActive;
    }
}

void report(const char *what, QList<double> errorsMs)
{
    if (errorsMs.isEmpty()) {
        std::printf("%s: no samples\n", what);
        return;
    }
    QList<double> absolute;
    double sum = 0;
    for (double e : errorsMs) {
        absolute.append(std::fabs(e));
        sum += e;
    }
    std::sort(absolute.begin(), absolute.end());
    std::sort(errorsMs.begin(), errorsMs.end());
    auto at = [&absolute](double q) {
        return absolute[std::min<qsizetype>(absolute.size() - 1, qsizetype(q * absolute.size()))];
    };
    std::printf("%s: n=%lld mean error %+.3f ms, min %+.3f, max %+.3f; |error| p50 %.3f, p99 "
                "%.3f, max %.3f ms\n",
                what, static_cast<long long>(errorsMs.size()), sum / errorsMs.size(),
                errorsMs.first(), errorsMs.last(), at(0.5), at(0.99), absolute.last());
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pulses = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int steps = argc > 2 ? std::max(2, atoi(argv[2])) : 100;

    QTemporaryDir dir;
    {
        QFile ini(dir.filePath(QStringLiteral("Ivrelane.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        QTextStream out(&ini);
        out << "[IvrelaneTMD7x0]\r\nMODEL=TX16UD\r\nWARNING=Y\r\nLPT378=888\r\nOPTITX16=Y\r\n"
            << "DELAYPIN14=" << PulseMs << "\r\nTEMPOTX16=" << TempoMs << "\r\n";
    }
    auto port = std::make_shared<MemoryParallelPort>(Base);
    ParallelPortFactory::installTestPort(port);
    SilentNotifier notifier;
    Station station(dir.path(), notifier);
    station.terminate = [] {};
    station.FormActivate();
    TForm1 &f = *station.windows().Form1;
    ControlLineDriver &driver = station.genericTx->driver();
    ChannelStepper &stepper = station.genericTx->stepper();
    auto quiet = [&driver, &stepper] {
        return !stepper.ticking() && !driver.pulsing(TxLine::Up) && !driver.pulsing(TxLine::Reset);
    };
    waitFor(quiet, 5000);

    // UP pulses one after the other, a short pause between them.
    port->clearWrites();
    for (int i = 0; i < pulses; ++i) {
        driver.pulse(TxLine::Up);
        waitFor([&driver] { return !driver.pulsing(TxLine::Up); }, PulseMs * 10);
        waitFor([] { return false; }, 20);
    }
    QList<qint64> starts, ends;
    upEdges(*port, starts, ends);
    QList<double> pulseErrors;
    for (qsizetype i = 0; i < std::min(starts.size(), ends.size()); ++i)
        pulseErrors.append((ends[i] - starts[i]) / 1e6 - PulseMs);
    std::printf("UP pulse length, setting %d ms, %d pulses\n", PulseMs, pulses);
    report("  pulse length", pulseErrors);

    // A circular scan with the squelch closed: one UP pulse per step.
    port->setSquelchBit(true); // "+5v" setting: bit 7 set is a closed squelch
    port->clearWrites();
    f.ui.SpeedButtonTX16SC->click();
    QList<qint64> scanStarts, unused;
    waitFor(
        [&] {
            scanStarts.clear();
            upEdges(*port, scanStarts, unused);
            return scanStarts.size() > steps;
        },
        (steps + 5) * (TempoMs + PulseMs) * 2);
    f.ui.SpeedButtonTX16SC->click();
    const int periodMs = TempoMs + PulseMs;
    QList<double> periodErrors;
    // The first step follows the 100 ms start tick; the period counts from the second one.
    for (qsizetype i = 2; i < scanStarts.size(); ++i)
        periodErrors.append((scanStarts[i] - scanStarts[i - 1]) / 1e6 - periodMs);
    std::printf("Scan step period, tempo %d ms + UP pulse %d ms = %d ms, %lld periods\n", TempoMs,
                PulseMs, periodMs, static_cast<long long>(periodErrors.size()));
    report("  step period", periodErrors);
    std::printf("beeps (refused pulses or writes): %d\n", notifier.beeps);
    ParallelPortFactory::installTestPort(nullptr);
    return 0;
}

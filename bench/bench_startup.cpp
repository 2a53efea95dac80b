// Start-up time and resident memory of a whole station.
//
// Runs the real start-up (eight windows, configuration, log, model selection, server connection)
// in a fresh folder, with relaysim standing in for the relay server, and prints:
//   - time from the process's start (kernel clock, 10 ms resolution) and from main() to the end
//     of start-up, and to the server connection;
//   - resident memory after start-up and after idling with the server connected.
// Usage: bench_startup [idle-seconds=60] [--kenwood]   (QT_QPA_PLATFORM=offscreen by default)

#include "app/Station.h"
#include "core/Notifier.h"
#include "ui/UnitTMD700.h"

#include "support/ProcessMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

class SilentNotifier : public Notifier
{
public:
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &text) override { std::printf("error box: %s\n", qPrintable(text)); }
    void question(const QString &, std::function<void(bool)> answered) override { answered(false); }
    void beep() override {}
};

// Milliseconds since the kernel started this process.
double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double up = uptime.readAll().split(' ').first().toDouble();
    return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int idleSeconds =
        args.size() > 1 && !args.at(1).startsWith(QLatin1String("--")) ? args.at(1).toInt() : 60;

    QProcess relay;
    relay.start(QStringLiteral(IVRELANE_BUILD_DIR "/relaysim"), {QStringLiteral("--port"), "0"});
    if (!relay.waitForStarted() || !relay.waitForReadyRead(5000)) {
        std::printf("relaysim did not start\n");
        return 1;
    }
    const QByteArray first = relay.readLine().trimmed();
    const QByteArray port = first.mid(first.indexOf(' ') + 1);

    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("Ivrelane.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[IvrelaneTMD7x0]\r\nMODEL=TX16UD\r\nWARNING=Y\r\nCONNECT=1\r\nPORT=" + port +
              "\r\n");
    ini.close();

    SilentNotifier notifier;
    const double stationStartMs = double(sinceMain.nsecsElapsed()) / 1e6;
    Station station(dir.path(), notifier);
    station.terminate = nullptr;
    double startupMs = -1, startupAgeMs = -1, connectedMs = -1;
    QObject::connect(&station, &Station::startupFinished, [&] {
        startupMs = double(sinceMain.nsecsElapsed()) / 1e6;
        startupAgeMs = processAgeMs();
    });
    station.windows().Form1->show();
    QElapsedTimer wait;
    wait.start();
    while ((startupMs < 0 || !station.state.ServerConnected) && wait.elapsed() < 10000) {
        app.processEvents(QEventLoop::AllEvents, 10);
        if (connectedMs < 0 && station.state.ServerConnected)
            connectedMs = double(sinceMain.nsecsElapsed()) / 1e6;
    }
    const long rssAfterStartup = ProcessMemory::residentKiB();
    std::printf(
        "start-up done: %.1f ms after main(), %.0f ms after process start (target <= 300)\n",
        startupMs, startupAgeMs);
    std::printf(
        "  of which the station itself (windows created to start-up done): %.1f ms; the rest "
        "is the Qt start and launching relaysim\n",
        startupMs - stationStartMs);
    std::printf("server connected: %s, %.1f ms after main()\n",
                station.state.ServerConnected ? "yes" : "NO", connectedMs);
    std::printf("resident memory after start-up: %.1f MB\n", rssAfterStartup / 1024.0);
    std::fflush(stdout);

    QTimer::singleShot(idleSeconds * 1000, &app, [] { QApplication::exit(0); });
    app.exec();
    std::printf("resident memory after %d s idle, server %s: %.1f MB (target <= 60)\n", idleSeconds,
                station.state.ServerConnected ? "connected" : "NOT connected",
                ProcessMemory::residentKiB() / 1024.0);
    relay.terminate();
    relay.waitForFinished(3000);
    return 0;
}

// Prints how quickly the station answers the relay server's "FREQUENCY" request, from the
// server's write to the answer's arrival, and how many commands the radio received for each,
// with the radio on rigsim --pace (a TM-D710 at 9600-baud speed): driven by the Kenwood model,
// then by the Hamlib model (Hamlib's TM-D710 backend, model 2034) with band A on its VFO and
// on memory 015, 200 rounds each, in the same run.
// Usage: bench_hamlib_frequency [path-to-rigsim]
#include "app/Station.h"
#include "platform/TextFile.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int Rounds = 200;
constexpr int GuardMs = 30'000;

bool waitFor(const std::function<bool()> &done)
{
    return BenchSupport::waitFor(done, GuardMs);
}

// The commands rigsim logged as received.
int commandsIn(const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count(" < "));
}

// Band A to memory 015 with the radio's own commands, before the station opens it.
bool recallMemory(const QString &link)
{
    QSerialPort port(link);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    for (const QByteArray &command : {QByteArray("VM 0,1\r"), QByteArray("MR 0,015\r")}) {
        port.write(command);
        QByteArray reply;
        while (!reply.endsWith('\r') && port.waitForReadyRead(GuardMs))
            reply += port.readAll();
    }
    return true;
}

// One station on its own rigsim; `radio` gives the configuration lines naming the radio from
// the pty's link path. Returns the answer times, or nothing when something did not start;
// `commands` receives the commands the radio got per request.
QList<double> measure(const QString &rigsim, const std::function<QStringList(QString)> &radio,
                      bool memory, double *commands)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("dev"));
    const QString link = dir.filePath(QStringLiteral("dev/ttyV0"));
    QProcess rig;
    rig.start(rigsim,
              {QStringLiteral("--model"), QStringLiteral("TMD710"), QStringLiteral("--pace"),
               QStringLiteral("--memories"), QStringLiteral("20"), QStringLiteral("--link"), link,
               QStringLiteral("--log"), dir.filePath(QStringLiteral("rigsim.log"))});
    if (!rig.waitForStarted(GuardMs) || !rig.waitForReadyRead(GuardMs)) {
        std::fprintf(stderr, "rigsim did not start: %s\n", qPrintable(rigsim));
        return {};
    }
    const QString rigLog = dir.filePath(QStringLiteral("rigsim.log"));
    if (memory && !recallMemory(link)) {
        std::fprintf(stderr, "no memory recall\n");
        return {};
    }
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QTcpSocket *peer = nullptr;
    QByteArray fromStation;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] { fromStation += peer->readAll(); });
    });
    QFile config(dir.filePath(QStringLiteral("Ivrelane.ini")));
    config.open(QIODevice::WriteOnly);
    config.write(TextFile::encodeLines(
        QStringList{QStringLiteral("[IvrelaneTMD7x0]"), QStringLiteral("CONNECT=1"),
                    QStringLiteral("WARNING=Y"), QStringLiteral("NUMBERMEM=20"),
                    QStringLiteral("IPSERVER=127.0.0.1"),
                    QStringLiteral("PORT=%1").arg(server.serverPort())} +
        radio(link)));
    config.close();

    BenchSupport::SilentNotifier notifier;
    QList<double> toAnswer;
    {
        Station station(dir.path(), notifier);
        station.deviceDirectory = dir.filePath(QStringLiteral("dev"));
        station.terminate = [] {};
        station.FormActivate();
        if (!waitFor([&] { return peer && station.state.ServerConnected; })) {
            std::fprintf(stderr, "the station did not connect\n");
            return {};
        }
        // The start-up's own exchanges are over once the radio has been quiet for a while.
        for (int before = -1; before != commandsIn(rigLog);) {
            before = commandsIn(rigLog);
            BenchSupport::waitFor([] { return false; }, 1000);
        }
        const int commandsBefore = commandsIn(rigLog);
        QElapsedTimer clock;
        for (int i = 0; i < Rounds; ++i) {
            fromStation.clear();
            clock.start();
            peer->write("FREQUENCY\r\n");
            peer->flush();
            if (!waitFor([&] { return fromStation.endsWith("\r\n"); })) {
                std::fprintf(stderr, "no frequency answer\n");
                return {};
            }
            toAnswer << double(clock.nsecsElapsed()) / 1e6;
        }
        *commands = double(commandsIn(rigLog) - commandsBefore) / Rounds;
        std::printf("last answer: %s", fromStation.constData());
        station.MenuQuitterClick();
    }
    rig.terminate();
    rig.waitForFinished(GuardMs);
    return toAnswer;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString rigsim = BenchSupport::rigsimPath(argc, argv);

    const auto kenwoodRadio = [](const QString &link) {
        return QStringList{QStringLiteral("MODEL=TMD710"), QStringLiteral("COM=") + link};
    };
    const auto hamlibRadio = [](const QString &link) {
        return QStringList{QStringLiteral("MODEL=HAMLIB"), QStringLiteral("HAMLIBMODEL=2034"),
                           QStringLiteral("HAMLIBPORT=") + link,
                           QStringLiteral("HAMLIBSPEED=9600")};
    };
    bool complete = true;
    for (const bool memory : {false, true}) {
        for (const bool hamlib : {false, true}) {
            double commands = 0;
            const QList<double> times =
                measure(rigsim, hamlib ? hamlibRadio : kenwoodRadio, memory, &commands);
            complete = complete && !times.isEmpty();
            const QByteArray title = QByteArray("FREQUENCY -> answer, ") +
                                     (hamlib ? "Hamlib 2034" : "Kenwood model") +
                                     (memory ? " (memory)" : " (VFO)");
            BenchSupport::printFigures(title.constData(), times);
            std::printf("  commands to the radio per request: %.2f\n", commands);
        }
    }
    return complete ? 0 : 1;
}

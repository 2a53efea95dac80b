// Reads 199 memories from rigsim paced like a 9600-baud line through the program's own serial
// exchange, and prints the total time against the wire time of the same bytes; then the time to
// give up on a silent radio. Usage: bench_memory_read [path-to-rigsim]
#include "app/StationState.h"
#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Channels = 199;
constexpr double BitsPerByte = 10.0; // start, 8 data, stop
constexpr double Baud = 9600.0;

QString startRig(QProcess &process, const QString &rigsim, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    static QTemporaryDir logs;
    const QString log = QDir(logs.path()).filePath(QStringLiteral("rigsim.log"));
    process.start(rigsim, arguments + QStringList{QStringLiteral("--log"), log});
    if (!process.waitForStarted(5000))
        return QString();
    while (!process.canReadLine() && process.waitForReadyRead(5000)) {
    }
    const QByteArray line = process.readLine().trimmed();
    return line.startsWith("PTY ") ? QString::fromLocal8Bit(line.mid(4)) : QString();
}

void stopRig(QProcess &process)
{
    process.terminate();
    process.waitForFinished(5000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString rigsim =
        argc > 1
            ? QString::fromLocal8Bit(argv[1])
            : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../rigsim"));

    StationState state;
    SerialPortSettings settings;
    {
        QProcess process;
        const QString pty = startRig(
            process, rigsim,
            {QStringLiteral("--pace"), QStringLiteral("--memories"), QString::number(Channels)});
        RigLink link(state, settings, RigLinkWidgets{});
        if (pty.isEmpty() || !link.open(pty)) {
            std::fprintf(stderr, "rigsim did not start\n");
            return 1;
        }
        qint64 bytes = 0;
        int answered = 0;
        QElapsedTimer clock;
        clock.start();
        for (int channel = 1; channel <= Channels; ++channel) {
            const QString command = Kenwood::memoryReadCommand(channel, Kenwood::Model::TMD710);
            const QString reply = link.SendRigCommand(command);
            if (Kenwood::isTimeout(reply))
                continue;
            ++answered;
            bytes += command.size() + 1 + reply.size();
        }
        const double total = double(clock.nsecsElapsed()) / 1e9;
        const double wire = double(bytes) * BitsPerByte / Baud;
        std::printf("memories read:            %d of %d\n", answered, Channels);
        std::printf("total time:               %.3f s\n", total);
        std::printf("wire time of %lld bytes:  %.3f s\n", static_cast<long long>(bytes), wire);
        std::printf("ratio total / wire:       %.4f\n", total / wire);
        std::printf("overhead per exchange:    %.3f ms\n", (total - wire) * 1000.0 / Channels);
        stopRig(process);
    }
    {
        QProcess process;
        const QString pty = startRig(process, rigsim, {QStringLiteral("--silent")});
        RigLink link(state, settings, RigLinkWidgets{});
        if (pty.isEmpty() || !link.open(pty)) {
            std::fprintf(stderr, "rigsim did not start\n");
            return 1;
        }
        QElapsedTimer clock;
        clock.start();
        const QString reply = link.SendRigCommand(QStringLiteral("ID"));
        std::printf("silent radio:             \"%s\" after %.3f s\n", qPrintable(reply),
                    double(clock.nsecsElapsed()) / 1e9);
        stopRig(process);
    }
    return 0;
}

// Prints what one command exchange with rigsim costs, plain, paced like a 9600-baud line, and
// with a radio delay. Usage: bench_rigsim_exchange [path-to-rigsim]
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>

#include <cstdio>

namespace {

constexpr int Exchanges = 100;

// Mean milliseconds per "ID" exchange, or a negative value when the simulator did not answer.
double measure(const QString &rigsim, const QStringList &arguments)
{
    QProcess process;
    process.start(rigsim, arguments);
    if (!process.waitForStarted(5000))
        return -1;
    while (!process.canReadLine() && process.waitForReadyRead(5000)) {
    }
    const QByteArray line = process.readLine().trimmed();
    double result = -1;
    QSerialPort port(QString::fromLocal8Bit(line.mid(4)));
    port.setBaudRate(QSerialPort::Baud9600);
    if (line.startsWith("PTY ") && port.open(QIODevice::ReadWrite)) {
        QElapsedTimer clock;
        clock.start();
        int answered = 0;
        for (int i = 0; i < Exchanges; ++i) {
            port.write("ID\r");
            QByteArray reply;
            while (!reply.endsWith('\r') && port.waitForReadyRead(5000))
                reply += port.readAll();
            answered += reply.endsWith('\r') ? 1 : 0;
        }
        if (answered == Exchanges)
            result = double(clock.nsecsElapsed()) / 1e6 / Exchanges;
        port.close();
    }
    process.terminate();
    process.waitForFinished(5000);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString rigsim = BenchSupport::rigsimPath(argc, argv);
    const struct
    {
        const char *label;
        QStringList arguments;
    } cases[] = {
        {"plain", {}},
        {"--pace (14 characters: about 14.6 ms)", {"--pace"}},
        {"--pace --delay 20", {"--pace", "--delay", "20"}},
    };
    for (const auto &c : cases) {
        const double ms = measure(rigsim, c.arguments);
        if (ms < 0)
            std::printf("%-40s no answer\n", c.label);
        else
            std::printf("%-40s %.2f ms per exchange (%d exchanges)\n", c.label, ms, Exchanges);
    }
    return 0;
}

#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTimer>

#include "platform/TextFile.h"

#include <algorithm>
#include <cstdio>

namespace BenchSupport {

QString rigsimPath(int argc, char *argv[])
{
    return argc > 1
               ? QString::fromLocal8Bit(argv[1])
               : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../rigsim"));
}

bool waitFor(const std::function<bool()> &done, int guardMs)
{
    QTimer wake; // bounds each sleep so the guard is looked at
    wake.start(50);
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > guardMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void printFigures(const char *label, QList<double> ms)
{
    if (ms.isEmpty()) {
        std::printf("%-44s no samples\n", label);
        return;
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms.at(qMin(ms.size() - 1, qsizetype(q * ms.size()))); };
    std::printf("%-44s n=%3lld  p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms\n", label,
                static_cast<long long>(ms.size()), at(0.50), at(0.99), ms.last());
}

bool startTmd710(QProcess &rig, const QString &rigsim, const QString &link, const QString &logPath,
                 int guardMs)
{
    rig.start(rigsim, {QStringLiteral("--model"), QStringLiteral("TMD710"),
                       QStringLiteral("--link"), link, QStringLiteral("--log"), logPath});
    if (rig.waitForStarted(guardMs) && rig.waitForReadyRead(guardMs))
        return true;
    std::fprintf(stderr, "rigsim did not start: %s\n", qPrintable(rigsim));
    return false;
}

StationPeer::StationPeer()
{
    server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server, &QTcpServer::newConnection, [this] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [this] { fromStation += peer->readAll(); });
    });
}

void writeKenwoodConfiguration(const QString &path, const QString &link, quint16 port,
                               const QStringList &extra)
{
    QFile config(path);
    config.open(QIODevice::WriteOnly);
    config.write(TextFile::encodeLines(
        QStringList{QStringLiteral("[IvrelaneTMD7x0]"), QStringLiteral("MODEL=TMD710"),
                    QStringLiteral("COM=") + link, QStringLiteral("CONNECT=1"),
                    QStringLiteral("WARNING=Y"), QStringLiteral("IPSERVER=127.0.0.1"),
                    QStringLiteral("PORT=%1").arg(port), QStringLiteral("CHANNEL=BOTH")} +
        extra));
}

} // namespace BenchSupport

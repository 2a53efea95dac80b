#pragma once

#include "core/Notifier.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <functional>

// What the benchmarks share: a notifier that shows nothing, a bounded wait that sleeps between
// events, and the printing of a sample's percentiles.
namespace BenchSupport {

class SilentNotifier : public Notifier
{
public:
    void information(const QString &) override {}
    void warning(const QString &) override {}
    void error(const QString &) override {}
    void question(const QString &, std::function<void(bool)> answered) override { answered(true); }
    void beep() override {}
};

// The rigsim given as the first argument, or the one built beside the benches.
QString rigsimPath(int argc, char *argv[]);

// Runs the event loop until done() holds; false after guardMs.
bool waitFor(const std::function<bool()> &done, int guardMs);

// "label n=200  p50 ... ms  p99 ... ms  max ... ms".
void printFigures(const char *label, QList<double> ms);

// Starts `rigsim` as a TM-D710 on `link`, logging to `logPath`; false, said on standard error,
// when it did not start.
bool startTmd710(QProcess &rig, const QString &rigsim, const QString &link, const QString &logPath,
                 int guardMs);

// The relay server's side on loopback: what the one station sends gathers in fromStation.
class StationPeer
{
public:
    StationPeer();

    QTcpServer server;
    QTcpSocket *peer = nullptr;
    QByteArray fromStation;
};

// Writes the configuration of a TM-D710 station on `link` that connects to `port` at start,
// plus `extra` lines.
void writeKenwoodConfiguration(const QString &path, const QString &link, quint16 port,
                               const QStringList &extra = {});

} // namespace BenchSupport

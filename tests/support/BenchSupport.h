#pragma once

#include "app/Notifier.h"

#include <QList>
#include <QString>
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

} // namespace BenchSupport

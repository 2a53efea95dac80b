#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

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

} // namespace BenchSupport

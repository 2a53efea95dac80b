#pragma once

#include "platform/ParallelPort.h"

#include <memory>

// Chooses the parallel-port backend once, when the application starts: the ppdev backend on
// this system, unless a test has installed a port of its own beforehand.
class ParallelPortFactory
{
public:
    static std::shared_ptr<ParallelPort> create(const QString &procRoot = QStringLiteral("/proc"),
                                                const QString &devRoot = QStringLiteral("/dev"));

    // The next create() calls return this port; nullptr goes back to the system's backend.
    static void installTestPort(std::shared_ptr<ParallelPort> port);

private:
    static std::shared_ptr<ParallelPort> &testPort();
};

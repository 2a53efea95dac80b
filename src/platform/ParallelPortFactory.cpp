#include "platform/ParallelPortFactory.h"

#include "platform/PpdevParallelPort.h"

std::shared_ptr<ParallelPort> ParallelPortFactory::create(const QString &procRoot,
                                                          const QString &devRoot)
{
    if (testPort())
        return testPort();
    return std::make_shared<PpdevParallelPort>(procRoot, devRoot);
}

void ParallelPortFactory::installTestPort(std::shared_ptr<ParallelPort> port)
{
    testPort() = std::move(port);
}

std::shared_ptr<ParallelPort> &ParallelPortFactory::testPort()
{
    static std::shared_ptr<ParallelPort> port;
    return port;
}

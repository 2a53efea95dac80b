#include "hamlib/HamlibPortClaims.h"

#include <QMutex>
#include <QSet>
#include <QWaitCondition>

namespace {

// How often a waiting worker looks whether it should give up.
constexpr unsigned long GiveUpCheckMs = 100;

struct Claims
{
    QMutex mutex;
    QWaitCondition released;
    QSet<QString> held;
};

Claims &claims()
{
    static Claims all;
    return all;
}

} // namespace

namespace HamlibPortClaims {

bool claim(const QString &port, const std::function<bool()> &giveUp)
{
    Claims &c = claims();
    QMutexLocker lock(&c.mutex);
    while (c.held.contains(port)) {
        if (giveUp())
            return false;
        c.released.wait(&c.mutex, GiveUpCheckMs);
    }
    if (giveUp())
        return false;
    c.held.insert(port);
    return true;
}

void release(const QString &port)
{
    Claims &c = claims();
    const QMutexLocker lock(&c.mutex);
    c.held.remove(port);
    c.released.wakeAll();
}

} // namespace HamlibPortClaims

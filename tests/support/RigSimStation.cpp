#include "support/RigSimStation.h"

#include <QTest>

Station &RigSimStation::start(const QString &model, const QStringList &rigArguments,
                              const QStringList &configuration)
{
    if (rig.start(rigArguments + QStringList{QStringLiteral("--link"), fixture.radioLink()})
            .isEmpty())
        qFatal("rigsim did not start");
    return fixture.start(fixture.kenwoodLines(model) + configuration);
}

int RigSimStation::count(const QString &command) const
{
    return int(rig.receivedCommands().count(command));
}

bool RigSimStation::radioReceived(const QString &command, int times, int timeoutMs)
{
    return QTest::qWaitFor([&] { return count(command) >= times; }, timeoutMs);
}

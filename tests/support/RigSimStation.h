#pragma once

#include "support/RigSimProcess.h"
#include "support/StationFixture.h"

#include <QStringList>

// A whole station whose Kenwood radio is rigsim, on the fixture's /dev-style link.
class RigSimStation
{
public:
    // Starts rigsim with `rigArguments` on the link, then the station with `model` on it and
    // the further `configuration` lines. A simulator that does not start ends the test program.
    Station &start(const QString &model, const QStringList &rigArguments = {},
                   const QStringList &configuration = {});
    Station &station() { return fixture.station(); }

    // How many times the radio received `command`.
    int count(const QString &command) const;
    // Waits until the radio has received `command` at least `times` times.
    bool radioReceived(const QString &command, int times = 1, int timeoutMs = 10'000);

    RigSimProcess rig;
    StationFixture fixture;
};

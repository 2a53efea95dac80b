#pragma once

#include "platform/MemoryParallelPort.h"
#include "support/StationFixture.h"

#include <QList>
#include <QStringList>
#include <memory>

namespace Ui {
class TForm1;
class TFormInitTX16;
} // namespace Ui

// A whole station with the generic model on an in-memory parallel port at 378h (LPT378=888 in
// the configuration unless the test's lines choose a port, "LPT=0" for none). Short pulse and
// scan timings keep the real timers quick.
class GenericTxFixture
{
public:
    explicit GenericTxFixture(const QStringList &extraConfiguration = {},
                              quint8 initialControl = 0x00);
    ~GenericTxFixture();

    Station &station() { return fixture.station(); }
    StationState &state() { return fixture.station().state; }
    Ui::TForm1 &main();
    Ui::TFormInitTX16 &setup();

    // Values written to the control register at 37Ah, in order.
    QList<quint8> controlWrites() const;
    // Pulses on one line: writes that take its bit from the rest level to the active level.
    // restSet says whether the bit is set at rest.
    int pulses(quint8 mask, bool restSet) const;
    // Waits until no pulse is running and the stepping timer is off.
    bool waitUntilQuiet(int timeoutMs = 8000);

    std::shared_ptr<MemoryParallelPort> port;
    StationFixture fixture;
};

#pragma once

#include "generic_tx/ControlLines.h"

class ParallelPort;
struct StationState;

// The lines on the parallel port at LptBase: every write is a read-modify-write of the control
// register that stores its value in LptControlValue; a write worked when the port's status text
// says so. With LptBase 0 there is no port.
class ParallelPortLines : public ControlLines
{
    Q_OBJECT
public:
    ParallelPortLines(StationState &state, ParallelPort &port, QObject *parent = nullptr);

    bool present() const override;
    // The port needs no opening: model activation writes its rest levels line by line and
    // checks each.
    bool open(const Levels &) override { return present(); }
    void close() override {}
    bool isOpen() const override { return present(); }
    bool setLevel(TxLine line, bool high) override;
    std::optional<bool> squelchHigh() override;
    QString failure() const override;
    QString deviceName() const override;

private:
    StationState &m_state;
    ParallelPort &m_port;
};

#pragma once

#include "generic_tx/PinLogic.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

// The generic transmitter's control lines, whatever carries them: four outputs (UP, DOWN, RESET,
// PTT) and the squelch input. Levels are the connector's: high is +5 V (or the board's logic
// high), so the polarity settings mean the same on every backend.
class ControlLines : public QObject
{
    Q_OBJECT
public:
    // The rest level of each output, indexed by TxLine.
    using Levels = std::array<bool, 4>;

    using QObject::QObject;

    // Lines are chosen at all: a port at an address, a device with its pin map.
    virtual bool present() const = 0;
    // Opens the device and drives every output to its rest level before anything else.
    virtual bool open(const Levels &rest) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Drives one output; false when the device refused it (failure() says why). An output that is
    // not wired takes any level.
    virtual bool setLevel(TxLine line, bool high) = 0;
    // The squelch input's level; nothing when it cannot be read or is not wired.
    virtual std::optional<bool> squelchHigh() = 0;
    // Why the last operation failed.
    virtual QString failure() const = 0;
    // The device as the operator named it.
    virtual QString deviceName() const = 0;

signals:
    // The device went away (unplugged): reads and writes fail until it is opened again.
    void lost(const QString &reason);
};

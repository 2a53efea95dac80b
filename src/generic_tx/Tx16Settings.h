#pragma once

#include "generic_tx/PinLogic.h"

// What the setup dialog sets for the generic transmitter, as the stepping and the pin driver
// read it: at the moment of use, so that a change counts from the next step or pulse on.
class Tx16Settings
{
public:
    virtual ~Tx16Settings() = default;

    // The channels the transmitter steps through.
    virtual int channelCount() const = 0;
    // Length in ms of a pulse on UP, DOWN or RESET.
    virtual int pulseLength(TxLine pulsed) const = 0;
    // The active level of an output.
    virtual LinePolarity polarity(TxLine line) const = 0;
    // Negative: the squelch input reads open at 0 V.
    virtual LinePolarity squelchPolarity() const = 0;
    // A scan goes on from the last channel to the first instead of turning back.
    virtual bool circularScan() const = 0;
    virtual void setCircularScan(bool circular) = 0;
};

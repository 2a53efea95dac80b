#pragma once

#include "generic_tx/PinLogic.h"

#include <QString>

// What the setup dialog sets for the generic transmitter, as the stepping, the line driver and
// the setup logic read it: at the moment of use, so that a change counts from the next step or
// pulse on.
class GenericTxSettings
{
public:
    // The parallel port choices, in the order the dialog lists them: the three usual addresses,
    // then one typed in.
    enum class Port { None, Lpt378, Lpt278, Lpt3BC, User };

    virtual ~GenericTxSettings() = default;

    // The channels the transmitter steps through.
    virtual int channelCount() const = 0;
    // The channel RESET leads to.
    virtual int baseChannel() const = 0;
    // Kept within 1 .. the channel count.
    virtual void setBaseChannel(int channel) = 0;
    // A smaller channel count lowers the base channel with it.
    virtual void keepBaseChannelWithin(int count) = 0;
    // The stepping period in ms.
    virtual int period() const = 0;
    virtual void setPeriod(int ms) = 0;
    // Length in ms of a pulse on UP, DOWN or RESET.
    virtual int pulseLength(TxLine pulsed) const = 0;
    // The active level of an output.
    virtual LinePolarity polarity(TxLine line) const = 0;
    // Negative: the squelch input reads open at 0 V.
    virtual LinePolarity squelchPolarity() const = 0;
    // A scan goes on from the last channel to the first instead of turning back.
    virtual bool circularScan() const = 0;
    virtual void setCircularScan(bool circular) = 0;

    virtual Port port() const = 0;
    // Marks a choice, or clears it (chosen false), without running its click handler.
    virtual void markPort(Port port, bool chosen) = 0;
    // What one of the three usual choices stands for on this machine.
    virtual void setPortCaption(Port port, const QString &caption) = 0;
    // The address typed for the User choice, as typed.
    virtual QString typedAddress() const = 0;
};

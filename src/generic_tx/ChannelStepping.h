#pragma once

#include <QString>

enum class StepDirection { None, Up, Down };

// Outcome of one channel step of the generic transmitter.
struct StepResult
{
    int position = 0; // new position of the channel selector
    int channel = 0;  // new channel count (Tx16Channel)
    // The step ran into channel 1 or N without wrap-around: the count is set to that limit,
    // no pulse is sent, the stepping timer stops and the channel list is not followed.
    bool atLimit = false;
};

// What the stepping timer does next while walking to a chosen channel.
struct WalkDecision
{
    StepDirection direction = StepDirection::None;
    // The target is reached, or can no longer be reached, and is to be forgotten.
    bool clearTarget = false;
};

// Channel arithmetic of the generic transmitter. The transmitter cannot tell which channel it
// is on, so the program counts the UP and DOWN pulses it sends; these rules keep that count.
// Channels are 1..channelCount; the selector position runs from 0 to channelCount + 1.
namespace ChannelStepping {
constexpr int MinChannelCount = 2;
constexpr int MaxChannelCount = 40;

// Selector position after the arrow moved it from position one way, kept in 0..count + 1.
int movedPosition(int position, StepDirection direction, int channelCount);

// One step, position being the selector after it has been moved by one in direction.
StepResult step(int position, StepDirection direction, int channelCount, bool circular);

// Direction of the next step towards target (0 = none) from current. Circular mode takes the
// shorter way round, and the direct way when both are equally long.
WalkDecision walk(int current, int target, int channelCount, bool circular);

// Direction of the next scanning step. Up/down scanning turns at the ends; scanUp carries the
// direction from one step, and one scan, to the next.
StepDirection scan(int current, int channelCount, bool circular, bool &scanUp);

// Resynchronisation moves the count by one without a pulse, and never wraps around.
bool resyncAllowed(int position, StepDirection direction, int channelCount);

// Channel as the two-digit display shows it: "01" to "09", then the plain number.
QString displayText(int channel);
} // namespace ChannelStepping

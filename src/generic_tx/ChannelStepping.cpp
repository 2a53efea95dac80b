#include "generic_tx/ChannelStepping.h"

#include <QtGlobal>

namespace ChannelStepping {

int movedPosition(int position, StepDirection direction, int channelCount)
{
    const int delta =
        direction == StepDirection::Up ? 1 : (direction == StepDirection::Down ? -1 : 0);
    return qBound(0, position + delta, channelCount + 1);
}

StepResult step(int position, StepDirection direction, int channelCount, bool circular)
{
    const int n = channelCount;
    int p = position;
    if (direction == StepDirection::Up) {
        if (p > n && !circular)
            return {n, n, true};
        if (p == 1 && !circular)
            p = 2; // the position was 0, which stands for channel 1
        if (p > n && circular)
            p = 1;
    } else if (direction == StepDirection::Down) {
        if (p < 1 && !circular)
            return {1, 1, true};
        if (p == n && !circular)
            p = n - 1; // the position was N + 1, which stands for channel N
        if (p < 1 && circular)
            p = n;
    }
    return {p, p, false};
}

WalkDecision walk(int current, int target, int channelCount, bool circular)
{
    if (target == 0)
        return {};
    // A target outside the channels (the count was lowered during the walk) would make a
    // circular walk go round for ever.
    if (target == current || target < 1 || target > channelCount)
        return {StepDirection::None, true};

    const double half = channelCount / 2.0;
    if (current < target) {
        const bool down = circular && target - current > half;
        return {down ? StepDirection::Down : StepDirection::Up, false};
    }
    const bool up = circular && current - target > half;
    return {up ? StepDirection::Up : StepDirection::Down, false};
}

StepDirection scan(int current, int channelCount, bool circular, bool &scanUp)
{
    if (circular)
        return StepDirection::Up;
    // At or beyond an end (the count may have been lowered below the channel) turn back, so the
    // scan walks back into range instead of stopping at the limit.
    if (current >= channelCount)
        scanUp = false;
    if (current <= 1)
        scanUp = true;
    return scanUp ? StepDirection::Up : StepDirection::Down;
}

bool resyncAllowed(int position, StepDirection direction, int channelCount)
{
    if (direction == StepDirection::Up)
        return position < channelCount;
    if (direction == StepDirection::Down)
        return position >= 2;
    return false;
}

QString displayText(int channel)
{
    return QStringLiteral("%1").arg(channel, 2, 10, QLatin1Char('0'));
}

} // namespace ChannelStepping

#pragma once

#include <QString>
#include <functional>

class EventLog;
class Notifier;
class RadioRequests;
class RadioSelector;
struct StationState;
struct StationWindows;

// What the wiring of each kind of radio works with: the windows it shows the radio on, the
// station's state and log, the requests and the selector the radio joins, and the Model menu's
// choice.
struct RadioWiringParts
{
    StationWindows &windows;
    StationState &state;
    EventLog &log;
    Notifier &notifier;
    RadioSelector &radios;
    RadioRequests &requests;
    // The operator chose `model`: the radio in use is let go, then it is taken.
    std::function<void(const QString &model)> chooseModel;
};

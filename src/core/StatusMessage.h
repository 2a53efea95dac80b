#pragma once

#include <cstddef>

// The status messages of StationState::StatusMessages by what they say; the values are their
// places in the table (place 0 is unused).
enum class StatusMessage {
    NoPortSelected = 1,
    PortOpened, // follows the port's name
    Initialising,
    PortOpenError,   // follows the port's name
    RigNotAnswering, // follows the model's label
    RigAnswersOk,    // follows the model's label
    InitialisationDone,
    IniFileError,
    ServerConnected,
    ServerNotConnected,
    DtmfCodesHeading, // headings of the exported list
    MemoriesHeading,
    NotTmd700, // the radio answered as another model
    NotTmd710,
    NotTmv71,
};

constexpr std::size_t statusIndex(StatusMessage message)
{
    return static_cast<std::size_t>(message);
}

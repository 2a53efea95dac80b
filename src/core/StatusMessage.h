#pragma once

#include <cstddef>

// The status messages of StationState::StatusMessages by what they say; the values are their
// places in the table (place 0 is unused). PortOpened and PortOpenError follow the port's name,
// RigNotAnswering and RigAnswersOk the model's label; the two headings head the exported list;
// NotTmd700, NotTmd710 and NotTmv71 say the radio answered as another model.
enum class StatusMessage {
    NoPortSelected = 1,
    PortOpened,
    Initialising,
    PortOpenError,
    RigNotAnswering,
    RigAnswersOk,
    InitialisationDone,
    IniFileError,
    ServerConnected,
    ServerNotConnected,
    DtmfCodesHeading,
    MemoriesHeading,
    NotTmd700,
    NotTmd710,
    NotTmv71,
};

constexpr std::size_t statusIndex(StatusMessage message)
{
    return static_cast<std::size_t>(message);
}

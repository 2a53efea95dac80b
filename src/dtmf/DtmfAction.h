#pragma once

// The actions of the DTMF catalogue. The values are the numbers the code table stores and shows
// ("07= ..." is MemoryA).
enum class DtmfAction {
    TransmitOnA = 1, // band A transmits
    TransmitOnB = 2,
    VfoModeA = 3,
    VfoModeB = 4,
    LastMemoryA = 5,
    LastMemoryB = 6,
    MemoryA = 7, // the memory's number follows the code
    MemoryB = 8,
    VfoModeActive = 9,
    MemoryActive = 10,
    FrequencyActive = 11, // the frequency follows the code
    PowerLowA = 20,
    PowerMediumA = 21,
    PowerHighA = 22,
    PowerLowB = 23,
    PowerMediumB = 24,
    PowerHighB = 25,
    Transmit = 26,
    Receive = 27,
    ScanStart = 30,
    ScanStop = 31,
    StepUp = 32,
    StepDown = 33,
    ResetChannel = 34,
    CircularScan = 35,
    ElevatorScan = 36,
    ResynchroniseUp = 40,
    ResynchroniseDown = 41,
    SaveAndInitialise = 99,
};

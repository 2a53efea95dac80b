#pragma once

// What a radio can be asked to do, as data: the panel, the DTMF actions and the server ask
// "can it?" of these instead of "which model is it?".
struct Capabilities
{
    // The window's panel that drives it: the transceiver panel (bands, VFO/MEM, power, scan,
    // TRANSMIT; the space bar keys it) or the channel panel (Up/Down steps, channel list).
    enum class Panel { Transceiver, Channels };

    Panel panel = Panel::Transceiver;
    int bands = 1;                    // bands an operation can target (A, and B when 2)
    bool vfoMemoryModes = false;      // per-band VFO and memory modes, band selection
    bool memories = false;            // memories the operator and DTMF codes recall
    int powerSteps = 0;               // positions of the power setting; 0: none
    bool scanOnCommand = false;       // the radio scans when told to
    bool stepping = false;            // channel stepping by Up/Down pulses
    bool initialisesOnCommand = true; // INIT by a DTMF code reads the radio again
    bool answers = true;              // it replies, so it can be found silent
    bool comMenuPort = false;         // it uses the serial port the COM menu chooses
};

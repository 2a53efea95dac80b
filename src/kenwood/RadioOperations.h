#pragma once

#include <functional>

// What the transceiver panel, the DTMF actions and the server ask of the radio behind the panel.
// The Kenwood command set and Hamlib each implement it; callers never know which one they hold.
// Bands are 0 for A and 1 for B. Each operation keeps the panel and the station state in step
// with the radio, now or once the radio has answered.
class RadioOperations
{
public:
    virtual ~RadioOperations() = default;

    virtual void selectBand(int band) = 0;   // SpeedButtonTXAClick / SpeedButtonTXBClick
    virtual void vfoMode(int band) = 0;      // SpeedButtonVFOAClick / SpeedButtonVFOBClick
    virtual void memoryMode(int band) = 0;   // SpeedButtonMEMAClick / SpeedButtonMEMBClick
    virtual void powerChanged(int band) = 0; // TrackBarPWRAChange / TrackBarPWRBChange
    virtual void scanToggled(int band) = 0;  // after the scan button's click flipped it
    virtual void transmitToggled() = 0;      // after the TRANSMIT button's click flipped it

    // Works out CurrentFrequency from the radio, then runs `done` (at once or later, always
    // once, in the order of the requests).
    virtual void updateFrequency(std::function<void()> done) = 0;
};

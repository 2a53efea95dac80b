#pragma once

#include "kenwood/KenwoodModel.h"

#include <QString>

// The command texts sent to the transceiver, without their carriage return. Several of them are
// also the text an echo test looks for in the reply. Bands are 0 for A and 1 for B.
namespace Kenwood {

// Three-digit channel number: 1 -> "001", 42 -> "042"; from 1000 on the digits as they are.
QString memoryNumberText(int channel);

// "MR 0,0,nnn" (TM-D700) or "ME nnn": reads one memory record.
QString memoryReadCommand(int channel, Model model);

// "BC 0,0" / "BC 1,1": makes the band the control and transmit band.
QString bandSelectCommand(int band);

// "FO 0" / "FO 1" (TM-D710, TM-V71) or "VR " + the VFO range character (TM-D700).
QString vfoReadCommand(int band, QStringView vfoRange, Model model);

// "VMC b" / "VM b": asks which mode the band is in.
QString modeQueryCommand(int band, Model model);

// "VMC b,0" / "VM b,0": VFO mode.
QString vfoModeCommand(int band, Model model);

// "VMC b,2" / "VM b,1": memory mode.
QString memoryModeCommand(int band, Model model);

// "MC b,nnn" / "MR b,nnn": puts the band on a memory channel.
QString selectMemoryCommand(int band, QStringView channel, Model model);

// "MC b" / "MR b": asks which memory channel the band is on.
QString channelQueryCommand(int band, Model model);

// "PC b": asks the power; "PC b,p" sets it (0 high, 1 medium, 2 low).
QString powerQueryCommand(int band);
QString powerSetCommand(int band, int level);

} // namespace Kenwood

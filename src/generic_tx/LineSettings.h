#pragma once

#include "generic_tx/PinLogic.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// What carries the generic transmitter's lines.
enum class LinesKind { ParallelPort, UsbAudio, GpioChip };

// Where each line is wired: a GPIO number of the USB audio interface (1..8) or a line of the
// GPIO chip for the outputs, and for the squelch one of the interface's button inputs (its HID
// bit) or a chip line. -1: not wired.
struct LineMap
{
    std::array<int, 4> outputs{-1, -1, -1, -1}; // indexed by TxLine
    int squelch = -1;
};

// LINES=, LINESDEVICE=, LINESMAP= of the configuration file.
struct LineSettings
{
    LinesKind kind = LinesKind::ParallelPort;
    QString device;
    QString map;
};

namespace LineConfig {
// USB audio interface buttons as the HID input report's first byte gives them.
constexpr int VolumeUp = 0x01, VolumeDown = 0x02, PlayMute = 0x04, RecordMute = 0x08;

std::optional<LinesKind> kindFromText(const QString &text);
QString kindText(LinesKind kind);
// "1,2,4,3,VOLDN" for a USB audio interface (PTT on GPIO 3, squelch on volume-down); a GPIO
// chip's lines depend on the board, so it has none.
QString defaultMap(LinesKind kind);
// UP,DOWN,RESET,PTT,SQUELCH; "-" for a line that is not wired. Nothing when the text does not fit
// the kind (a pin out of range, a pin used twice, a word that names no input).
std::optional<LineMap> parseMap(LinesKind kind, const QString &text);
// The squelch-open level when the configuration gives none: 0 V on a USB audio interface, whose
// button inputs rest pulled up and which a receiver's squelch output pulls to ground; +5 V
// elsewhere.
LinePolarity defaultSquelchOpenLevel(LinesKind kind);
// The input reports only a press once released (the mute buttons), not the level a squelch needs.
bool squelchReportsPressesOnly(LinesKind kind, const LineMap &map);
// A device path: absolute, printable, without blanks.
std::optional<QString> deviceSetting(const QString &text);

// Applies one key; false when the key is not one of these. A bad value leaves the setting as it
// was.
bool apply(LineSettings &settings, const QString &key, const QString &value);
// The lines to save; none for the parallel port with nothing else chosen, so that today's files
// stay as they are.
QStringList lines(const LineSettings &settings);
} // namespace LineConfig

#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

class ParallelPort;

// The generic transmitter's output lines, all bits of the parallel port's control register.
enum class TxLine { Up, Down, Reset, Ptt };

// Positive: the line rests at 0 V and is active at +5 V ("pos.", and "+5v" for PTT and for the
// squelch-open level). Negative: the reverse ("neg.", "0v").
enum class LinePolarity { Positive, Negative };

// Bit operations on the control register for each line and polarity, taking into account that
// the port hardware inverts UP, DOWN and PTT (a set bit gives 0 V) but not RESET.
namespace PinLogic {
constexpr quint16 StatusOffset = 1;
constexpr quint16 ControlOffset = 2;
constexpr quint8 SquelchMask = 0x80;

// Order in which the lines are brought to rest.
constexpr std::array<TxLine, 4> IdleOrder{TxLine::Up, TxLine::Down, TxLine::Reset, TxLine::Ptt};

quint8 mask(TxLine line);
// The level of a line: "pos." and "+5v" are active at +5 V, "neg." and "0v" at 0 V.
bool levelHigh(LinePolarity polarity, bool active);
// Whether a set bit drives the line's pin to +5 V.
bool setBitGivesHigh(TxLine line);
// The control value with only the line's bit changed; every other bit stays as read.
quint8 applyLevel(quint8 control, TxLine line, bool high);
quint8 apply(quint8 control, TxLine line, LinePolarity polarity, bool active);
// Squelch from the status register: open when pin 11 is at the configured open level. The
// hardware sets status bit 7 while pin 11 is at 0 V.
bool squelchOpen(quint8 status, LinePolarity openLevel);
// Squelch from the level of its input, on whatever lines carry it.
bool squelchOpenAt(bool inputHigh, LinePolarity openLevel);
// The last operation worked when the driver's status text says so.
bool succeeded(const QString &driverState);

// Read-modify-write of the control register at base + 2; returns the value written.
quint8 writeLevel(ParallelPort &port, quint16 base, TxLine line, LinePolarity polarity,
                  bool active);
// Rest levels of UP, DOWN, RESET and PTT, in that order; polarities indexed by TxLine.
void writeIdleLevels(ParallelPort &port, quint16 base,
                     const std::array<LinePolarity, 4> &polarities);
} // namespace PinLogic

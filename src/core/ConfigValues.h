#pragma once

#include <QString>
#include <optional>

// Value rules of the configuration file, kept free of widgets.
namespace ConfigValues {

// The configuration file's first line.
constexpr const char *Header = "[IvrelaneTMD7x0]";

// A decimal integer with an optional sign and nothing else; out-of-range values are not integers.
std::optional<int> parseInteger(const QString &text);

struct KeyValue
{
    QString key; // up to and including the first "="
    QString value;
};

// Splits a line at its first "="; none when the line has no "=" or starts with it.
std::optional<KeyValue> splitLine(const QString &line);

// Channel key "MEMnnn=" with nnn an integer from 1 to 40; returns the channel number.
std::optional<int> channelKeyNumber(const QString &key);

// COM=: a port of the list, a device of /dev by its short name (ttyUSB0) or a device given by its
// full path (a link in /dev/serial/by-id), kept as written even while its adapter is not plugged
// in. None for an empty value or a Windows port name (COM3, from a file brought over), which
// names nothing here.
std::optional<QString> serialPortName(const QString &value);

// Four upper-case hexadecimal digits of a port address ("0378").
QString hexAddress(int address);

// Three-digit channel number.
QString channelNumberText(int channel);

} // namespace ConfigValues

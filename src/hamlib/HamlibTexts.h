#pragma once

#include "core/LanguageTexts.h"

#include <QString>
#include <optional>

// Texts of the Hamlib model: frequencies and memory entries in the forms the panel and the
// server use, and the port setting. Pure functions, no Hamlib call.
namespace HamlibTexts {

// Hertz to "xxx.yyyyyy" (145225000 -> "145.225000"); zero, negatives and 1000 MHz or more
// (which the form cannot hold) give "000.000000".
QString frequencyText(qint64 hertz);

// "shift=0", "shift=+0.600" or "shift=-7.600": the memory list's shift text from a repeater
// direction (+1, -1, 0) and an offset in hertz.
QString shiftText(int direction, qint64 offsetHz);

// "001=145.225000 shift=-0.600", then " " and the name when the channel has one.
QString memoryEntry(int channel, qint64 hertz, const QString &shift, const QString &name);

// "host:port" of a rigctld (a name or an IPv4 address and a port 1..65535), as opposed to a
// serial device. Nothing when `text` is not of that form.
struct NetworkAddress
{
    QString host;
    int port = 0;

    QString text() const { return host + QLatin1Char(':') + QString::number(port); }
};
std::optional<NetworkAddress> networkAddress(const QString &text);

// A rigctld's address: "host:port", or a host alone, which rigctld's own port 4532 completes.
std::optional<NetworkAddress> rigctldAddress(const QString &text);

// The device Hamlib opens for a serial port setting: a short name ("ttyUSB0") lives in /dev; a
// path or a host:port stays as written.
QString devicePath(const QString &port);

// The status line's word for a serial port of the settings that this machine does not have:
// "Port ttyUSB9 absent", "Port ttyUSB9 missing".
QString missingPort(Language language, const QString &port);

} // namespace HamlibTexts

#pragma once

#include <QStringList>

// Names of the machine's serial ports, sorted: the ports Qt knows, plus the virtual ports, which
// are symbolic links in `deviceDirectory` that point at a pseudo-terminal (socat's pty,link=...).
// Ports found in /dev are named without the folder (ttyUSB0); others by their full path, as are
// the links in `deviceDirectory`/serial/by-id, which keep naming the same adapter when it is
// plugged back or the ports are numbered anew.
QStringList listSerialPorts(const QString &deviceDirectory = QStringLiteral("/dev"));

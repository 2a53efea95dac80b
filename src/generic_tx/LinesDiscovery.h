#pragma once

#include <QList>
#include <QString>

// The devices the setup window offers for the generic transmitter's lines.
namespace LinesDiscovery {

struct Device
{
    QString path;        // what LINESDEVICE= holds
    QString description; // what the list shows beside it
};

// C-Media's USB vendor number: the CM108/CM119 family of USB audio interfaces.
constexpr unsigned CMediaVendor = 0x0d8c;

// The USB audio interfaces of the CM108/CM119 family among the hidraw devices of `sysRoot`
// (laid out as /sys/class/hidraw), by the USB vendor in each device's uevent; their device is
// the same name in `devRoot`.
QList<Device> usbAudioInterfaces(const QString &sysRoot = QStringLiteral("/sys/class/hidraw"),
                                 const QString &devRoot = QStringLiteral("/dev"));

// The GPIO chips of `devRoot`, by name and label.
QList<Device> gpioChips(const QString &devRoot = QStringLiteral("/dev"));

} // namespace LinesDiscovery

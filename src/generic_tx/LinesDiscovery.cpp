#include "generic_tx/LinesDiscovery.h"

#include "generic_tx/GpioChipLines.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// hidraw0 before hidraw10.
void sortByNumber(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
}

} // namespace

namespace LinesDiscovery {

QList<Device> usbAudioInterfaces(const QString &sysRoot, const QString &devRoot)
{
    QList<Device> found;
    QStringList names = QDir(sysRoot).entryList({QStringLiteral("hidraw*")},
                                                QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    sortByNumber(names);
    for (const QString &name : names) {
        QFile uevent(QDir(sysRoot).filePath(name + QStringLiteral("/device/uevent")));
        if (!uevent.open(QIODevice::ReadOnly))
            continue;
        // HID_ID=0003:00000D8C:0000013C (bus, vendor, product); HID_NAME=C-Media ...
        unsigned vendor = 0, product = 0;
        QString productName;
        for (const QByteArray &raw : uevent.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QLatin1String("HID_ID="))) {
                const QStringList parts = line.mid(7).split(QLatin1Char(':'));
                if (parts.size() == 3) {
                    vendor = parts.at(1).toUInt(nullptr, 16);
                    product = parts.at(2).toUInt(nullptr, 16);
                }
            } else if (line.startsWith(QLatin1String("HID_NAME="))) {
                productName = line.mid(9);
            }
        }
        if (vendor != CMediaVendor)
            continue;
        const QString ids = QStringLiteral("%1:%2")
                                .arg(vendor, 4, 16, QLatin1Char('0'))
                                .arg(product, 4, 16, QLatin1Char('0'));
        found << Device{QDir(devRoot).filePath(name),
                        productName.isEmpty()
                            ? ids
                            : productName + QStringLiteral(" (") + ids + QLatin1Char(')')};
    }
    return found;
}

QList<Device> gpioChips(const QString &devRoot)
{
    QList<Device> found;
    for (const GpioChipLines::Chip &chip : GpioChipLines::chips(devRoot)) {
        found << Device{
            chip.path,
            QStringLiteral("%1 [%2], %3 lines").arg(chip.name, chip.label).arg(chip.lines)};
    }
    return found;
}

} // namespace LinesDiscovery

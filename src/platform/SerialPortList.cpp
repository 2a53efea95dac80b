#include "platform/SerialPortList.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

QStringList listSerialPorts(const QString &deviceDirectory)
{
    const bool systemDevices = QDir::cleanPath(deviceDirectory) == QLatin1String("/dev");
    QStringList names;
    if (systemDevices) {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            names << info.portName();
    }
    const QDir dir(deviceDirectory);
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (!entry.isSymLink())
            continue;
        const QString target = entry.symLinkTarget();
        if (!target.startsWith(QLatin1String("/dev/pts/")) || !QFileInfo::exists(target))
            continue;
        names << (systemDevices ? entry.fileName() : entry.absoluteFilePath());
    }
    // Names that survive unplugging and re-numbering, by their full path.
    const QDir byId(dir.filePath(QStringLiteral("serial/by-id")));
    for (const QFileInfo &entry :
         byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (entry.isSymLink() && QFileInfo::exists(entry.symLinkTarget()))
            names << entry.absoluteFilePath();
    }
    names.removeDuplicates();
    names.sort();
    return names;
}

#include "service/CheckCommand.h"

#include "core/ConfigValues.h"
#include "generic_tx/LinesDiscovery.h"
#include "platform/InstanceLock.h"
#include "platform/ParportProcInfo.h"
#include "platform/SerialPortList.h"
#include "service/ConfigCheck.h"
#include "service/RadioProbe.h"
#include "service/StationConfiguration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void print(const QString &text)
{
    std::printf("%s\n", qPrintable(text));
}

// A device this user may not open is marked: the station, run as the same user, could not
// either.
QString withAccess(const QString &name, const QString &device)
{
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0)
        return name;
    return name + QStringLiteral(" (no permission)");
}

QString listed(const QStringList &names)
{
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

void printDevices()
{
    print(QStringLiteral("Devices present:"));
    QStringList serial;
    for (const QString &port : listSerialPorts()) {
        const QString device =
            port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
        serial << withAccess(port, device);
    }
    print(QStringLiteral("  serial ports:   ") + listed(serial));

    QStringList hidraw;
    const QList<LinesDiscovery::Device> interfaces = LinesDiscovery::usbAudioInterfaces();
    const QStringList all = QDir(QStringLiteral("/dev"))
                                .entryList({QStringLiteral("hidraw*")}, QDir::System, QDir::Name);
    for (const QString &name : all) {
        const QString device = QStringLiteral("/dev/") + name;
        QString shown = device;
        for (const LinesDiscovery::Device &found : interfaces) {
            if (found.path == device)
                shown += QStringLiteral(" [") + found.description + QLatin1Char(']');
        }
        hidraw << withAccess(shown, device);
    }
    print(QStringLiteral("  hidraw:         ") + listed(hidraw));

    QStringList chips;
    for (const LinesDiscovery::Device &chip : LinesDiscovery::gpioChips())
        chips << withAccess(chip.path + QStringLiteral(" [") + chip.description + QLatin1Char(']'),
                            chip.path);
    print(QStringLiteral("  GPIO chips:     ") + listed(chips));

    QStringList parallel;
    const ParportProcInfo parports;
    for (const int number : parports.portNumbers()) {
        const QString device = QStringLiteral("/dev/parport%1").arg(number);
        const std::optional<quint16> base = parports.baseAddress(number);
        parallel << withAccess(
            device +
                (base ? QStringLiteral(" at ") + ConfigValues::hexAddress(*base) + QLatin1Char('h')
                      : QString()),
            device);
    }
    print(QStringLiteral("  parallel ports: ") + listed(parallel));
}

void printVerdicts(const QStringList &lines)
{
    for (const ConfigCheck::Verdict &v : ConfigCheck::judge(lines)) {
        print(QStringLiteral("  line %1  %2  %3")
                  .arg(v.lineNumber, 3)
                  .arg(v.text, -40)
                  .arg(v.taken ? QStringLiteral("taken") : QStringLiteral("IGNORED: ") + v.why));
    }
}

int notReady(const QString &why)
{
    std::fflush(stdout);
    std::fprintf(stderr, "Ivrelane: the station would not reach its radio: %s\n", qPrintable(why));
    return 1;
}

} // namespace

namespace CheckCommand {

int run(const QString &directory)
{
    const QString where = QDir::toNativeSeparators(directory);
    if (!QFileInfo(directory).isDir())
        return notReady(QStringLiteral("no folder %1").arg(where));
    // The radio belongs to a copy running in the folder, and a copy started meanwhile would
    // find its port taken: the folder is held for the length of the check.
    InstanceLock lock(directory);
    const bool held = lock.acquire();

    const QString name = StationConfiguration::fileIn(directory);
    QStringList lines;
    if (name.isEmpty()) {
        printDevices();
        if (::access(QFile::encodeName(directory).constData(), R_OK | X_OK) != 0)
            return notReady(QStringLiteral("cannot read %1: %2")
                                .arg(where, QString::fromLocal8Bit(std::strerror(errno))));
        return notReady(QStringLiteral("no configuration (Ivrelane.ini) in %1").arg(where));
    }
    const QString path = QDir(directory).filePath(name);
    if (!StationConfiguration::read(directory, &lines)) {
        printDevices();
        const int error = ::access(QFile::encodeName(path).constData(), R_OK) == 0 ? EIO : errno;
        return notReady(
            QStringLiteral("cannot read %1: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error))));
    }
    print(QStringLiteral("Configuration %1:").arg(QDir::toNativeSeparators(path)));
    printVerdicts(lines);
    printDevices();

    const StationConfiguration configuration = StationConfiguration::fromLines(lines);
    if (!held)
        return notReady(QStringLiteral("%1: it has the radio (ivrelane --status tells whether it "
                                       "answers)")
                            .arg(lock.refusal()));
    const RadioProbe::Answer answer = RadioProbe::ask(configuration);
    print(QStringLiteral("Radio: ") + answer.text);
    if (!answer.reached)
        return notReady(answer.text);
    print(QStringLiteral("The station in %1 would start and reach its radio.").arg(where));
    return 0;
}

} // namespace CheckCommand

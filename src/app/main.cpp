#include "app/Station.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFiles.h"
#include "platform/ServiceManager.h"
#include "platform/UnixSignalWatcher.h"
#include "service/CheckCommand.h"
#include "service/CommandLine.h"
#include "service/ResetCommand.h"
#include "service/StatusCommand.h"
#include "service/StatusReport.h"
#include "service/WebPasswordCommand.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <csignal>
#include <cstdio>

namespace {

// Exit code of arguments that cannot be obeyed; nothing was touched.
constexpr int BadArguments = 2;

int refuseArguments(const QString &why)
{
    std::fprintf(stderr, "Ivrelane: %s\n", qPrintable(why));
    return BadArguments;
}

// The names Qt files the program's settings and lock under.
void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Ivrelane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Ivrelane"));
}

QString usualFolder()
{
    return ProgramFiles::locate(QCoreApplication::applicationDirPath()).directory;
}

// --reset, --status, --check and --help: short commands without the station or a window.
int runCommand(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameApplication();
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    if (!line.error.isEmpty())
        return refuseArguments(line.error);
    const QString folder = line.folder.isEmpty() ? usualFolder() : line.folder;
    switch (line.action) {
    case CommandLine::Action::Reset:
        return ResetCommand::run(folder);
    case CommandLine::Action::Status:
        return StatusCommand::run(folder);
    case CommandLine::Action::Check:
        return CheckCommand::run(folder);
    case CommandLine::Action::WebPassword:
        return WebPasswordCommand::run(folder);
    case CommandLine::Action::Help:
    case CommandLine::Action::Run:
        break;
    }
    std::printf("%s", qPrintable(CommandLine::usage()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything else, so that a request to end is handled the same way at every moment.
    // Every signal whose default action ends the program is one, so none of them leaves the radio
    // keyed: SIGHUP comes from a dropped login that started the program, SIGQUIT from Ctrl+\,
    // SIGUSR1/SIGUSR2 from a script. A write to a closed pipe or socket is an error to handle
    // where it happens, not a reason to die.
    UnixSignalWatcher::installEarly({SIGTERM, SIGINT}, {SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2});
    UnixSignalWatcher::ignore({SIGPIPE});
    if (CommandLine::asksForCommand(argc, argv))
        return runCommand(argc, argv);
    // A station can run headless, its log and files being its face: without a display the
    // program runs offscreen instead of stopping at Qt's "could not connect to display".
    const bool headless = qEnvironmentVariableIsEmpty("DISPLAY") &&
                          qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                          qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ProgramFiles::provideRuntimeDirectory();
    QApplication app(argc, argv);
    nameApplication();

    // Qt has taken the options that are its own (-platform, -style...).
    const CommandLine line = CommandLine::parse(QApplication::arguments().mid(1));
    if (!line.error.isEmpty())
        return refuseArguments(line.error);
    ProgramFiles::Location location;
    if (line.folder.isEmpty()) {
        location = ProgramFiles::locate(QApplication::applicationDirPath());
    } else {
        QString reason;
        if (!makeFolder(line.folder, &reason))
            return refuseArguments(QStringLiteral("cannot create the folder %1: %2")
                                       .arg(QDir::toNativeSeparators(line.folder), reason));
        location = {line.folder, ProgramFiles::isWritable(line.folder)};
    }
    const QString directory = location.directory;
    InstanceLock lock(directory);
    if (!lock.acquire()) {
        std::fprintf(stderr, "%s\n", qPrintable(lock.refusal()));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QApplication::applicationName(), lock.refusal());
        return 1;
    }
    if (headless)
        std::fprintf(stderr,
                     "Ivrelane: no display ($DISPLAY, $WAYLAND_DISPLAY), running without "
                     "a window; log and configuration in %s\n",
                     qPrintable(QDir::toNativeSeparators(directory)));
    if (!location.writable)
        std::fprintf(stderr,
                     "Ivrelane: %s cannot be written: running on the configuration there, "
                     "settings will not be saved\n",
                     qPrintable(QDir::toNativeSeparators(directory)));
    MessageBoxNotifier notifier;
    Station station(directory, notifier);
    station.webAddressOnCommandLine = line.web;
    notifier.setParent(station.windows().Form1.get());

    // Under a service manager the journal keeps what standard error says: each log line goes
    // there too. The manager learns when start-up is done, and gets the watchdog's heartbeat
    // from the event loop from then on.
    ServiceManager service;
    if (ServiceManager::runsAsService()) {
        station.log.echo = [](const QString &logLine) {
            std::fprintf(stderr, "%s\n", qPrintable(logLine));
            std::fflush(stderr);
        };
    }
    QObject::connect(&station, &Station::startupFinished, &service, &ServiceManager::ready);
    // What the station does, in one line, whenever that changes: `systemctl status` shows it.
    QObject::connect(station.status.get(), &StatusReport::summaryChanged, &service,
                     &ServiceManager::status, Qt::QueuedConnection);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &service, &ServiceManager::stopping);

    // Those signals end the program the way "Quitter" does once start-up has begun: they
    // reach it through the event loop, after the step that reads the configuration. Before
    // that there is nothing to save, and they end it at once.
    UnixSignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignalWatcher::received, &station,
                     &Station::MenuQuitterClick);
    QObject::connect(&station, &Station::startupBegun, &signalWatcher,
                     &UnixSignalWatcher::startDelivering);

    station.windows().Form1->show();
    return app.exec();
}

#include "app/InstanceLock.h"
#include "app/ProgramFiles.h"
#include "app/Station.h"
#include "platform/UnixSignalWatcher.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QMessageBox>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ivrelane"));
    QApplication::setOrganizationName(QStringLiteral("Ivrelane"));

    const QString directory = ProgramFiles::chooseDirectory(QApplication::applicationDirPath());
    InstanceLock lock(directory);
    if (!lock.acquire()) {
        std::fprintf(stderr, "%s\n", qPrintable(lock.refusal()));
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QMessageBox::critical(nullptr, QApplication::applicationName(), lock.refusal());
        return 1;
    }
    MessageBoxNotifier notifier;
    Station station(directory, notifier);
    notifier.setParent(station.Form1.get());

    // SIGTERM and SIGINT end the program the way "Quitter" does.
    UnixSignalWatcher signalWatcher({SIGTERM, SIGINT});
    QObject::connect(&signalWatcher, &UnixSignalWatcher::received, &station,
                     &Station::MenuQuitterClick);

    station.Form1->show();
    return app.exec();
}

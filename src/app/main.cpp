#include "app/ProgramFiles.h"
#include "app/Station.h"
#include "platform/UnixSignalWatcher.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/UnitTMD700.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ivrelane"));
    QApplication::setOrganizationName(QStringLiteral("Ivrelane"));

    const QString directory = ProgramFiles::chooseDirectory(QApplication::applicationDirPath());
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

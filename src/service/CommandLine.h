#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct CommandLine
{
    enum class Action {
        Run,         // the station, with its window when there is a display
        Reset,       // put the configured radio to receive and exit
        Status,      // print what the running copy last wrote of its state and exit
        Check,       // what the station would make of its configuration and radio, changing nothing
        WebPassword, // set the web page's password (WEBPASSWORD=) and exit
        Help,
    };

    Action action = Action::Run;
    // The folder of the configuration, log, lock and status given by --folder, made absolute;
    // empty for the usual place.
    QString folder;
    // The web page's ADDRESS:PORT given by --web, before the configuration's WEB=.
    QString web;
    // Why the arguments were refused, in one line; empty when they were not.
    QString error;

    // Reads the arguments that follow the program's name: --folder DIR (or --folder=DIR),
    // --reset, --status, --check, --web-password, --web ADDRESS:PORT, --help.
    static CommandLine parse(const QStringList &arguments);
    // Whether the arguments ask for one of the commands that run without the station.
    static bool asksForCommand(int argc, char *argv[]);

    static QString usage();
};

// Creates `folder` and its parents when missing; false with the system's reason otherwise.
bool makeFolder(const QString &folder, QString *reason);

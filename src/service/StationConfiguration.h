#pragma once

#include "generic_tx/GenericReset.h"
#include "generic_tx/LineSettings.h"
#include "platform/LinkSettings.h"

#include <QString>
#include <QStringList>

// What the short commands (--reset, --check) need of a folder's configuration: the radio it
// names and how it is reached, read with the same rules as at start-up.
struct StationConfiguration
{
    QString model;
    SerialPortSettings serial;
    HamlibSettings hamlib;
    GenericReset::Lines lines; // the parallel port's address and the outputs' polarities
    LineSettings otherLines;

    static StationConfiguration fromLines(const QStringList &configuration);
    // The file the station would read in `directory` ("Ivrelane.ini", else the earlier
    // version's); its name, or empty when there is none.
    static QString fileIn(const QString &directory);
    // Reads `directory`'s configuration file; false when it has none or it cannot be read.
    static bool read(const QString &directory, QStringList *lines);
};

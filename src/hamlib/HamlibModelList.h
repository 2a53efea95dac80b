#pragma once

#include <QList>
#include <QString>

struct HamlibSettings;

// Hamlib's list of the radios it drives, read from its own descriptions (no radio is asked).
struct HamlibModel
{
    int number = 0;
    QString maker;
    QString model;

    // "Kenwood TM-D710 (2034)", as the settings window lists it.
    QString label() const;
};

namespace HamlibModelList {

// Every model, sorted by maker then model; read once.
const QList<HamlibModel> &all();

// The model of that number, if Hamlib has it.
const HamlibModel *find(int number);

// Whether `label` holds every word of `search`, in any order and case, hyphens and blanks
// left aside: "tmd710" and "TM-D710" both find "Kenwood TM-D710(G) (2034)".
bool matches(const QString &label, const QString &search);

// Whether the model talks through a serial line and `port` names no device of this machine
// (a USB adapter unplugged, a name mistyped). Hamlib's dummy radios have no port at all.
bool portMissing(int number, const QString &port);

// Whether the settings name a model and, unless the model has no port (Hamlib's dummy
// radios), its port.
bool settingsComplete(const HamlibSettings &settings);

} // namespace HamlibModelList

#pragma once

#include <QString>

struct HamlibSettings;

namespace HamlibReset {

// Opens the Hamlib radio and puts it to receive. Empty when it was done; otherwise why not, in
// one line.
QString toReceive(const HamlibSettings &settings);

} // namespace HamlibReset

#pragma once

#include <QString>

// `ivrelane --check`: for a station set up by hand, what it would make of the folder's
// configuration (each key taken, each ignored and why), the devices present, and whether the
// configured radio answers, asked without keying or changing anything. 0 when the station would
// start and reach its radio, 1 otherwise.
namespace CheckCommand {

int run(const QString &directory);

} // namespace CheckCommand

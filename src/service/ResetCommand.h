#pragma once

#include <QString>

// `ivrelane --reset`: reads the folder's configuration, opens the radio it names and puts it to
// receive (a Kenwood's scan stopped too, the generic transmitter's lines at rest), without the
// window and without writing the configuration or the log. Refused while a copy runs in the
// folder: that copy holds the radio.
namespace ResetCommand {

// 0 when done, 1 when not, with one line on standard error saying why.
int run(const QString &directory);

} // namespace ResetCommand

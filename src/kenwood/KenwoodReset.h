#pragma once

#include <QCoroTask>
#include <QString>

struct SerialPortSettings;

// Back to receive without the station: what a service manager runs after the program stopped,
// however it stopped, so that a crash never leaves the transmitter keyed.
namespace KenwoodReset {

// Opens the configured port, sends "RX" and, once the radio has answered, "SC 0" (the scan
// stopped, as at quit). Empty when the radio answered; otherwise why not, in one line.
QCoro::Task<QString> toReceive(SerialPortSettings settings);

} // namespace KenwoodReset

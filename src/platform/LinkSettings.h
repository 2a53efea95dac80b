#pragma once

#include <QString>

// Settings held by the serial port component; the serial link reads them at each exchange.
struct SerialPortSettings
{
    QString portName;
    int readIntervalTimeout = 25; // ms between two characters
    int readTotalMultiplier = 25; // ms per expected character
    int readTotalConstant = 1;    // ms added to the total
};

// Settings held by the TCP client component; they apply at the next connection.
struct TcpClientSettings
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 10901;
    // Automatic reconnection: the first try after the link went down, doubling up to the last.
    int retryFirstDelayMs = 1000;
    int retryMaxDelayMs = 30'000;
    // Only a connection that stayed up this long starts the tries from the first delay again:
    // a server that accepts and drops at once is not tried every second.
    int retryResetAfterMs = 30'000;
    // A loss logged the same way less than this long before is not logged again.
    int lossLogRepeatMs = 60'000;
};

// Settings of the Hamlib model: Hamlib's model number (2 reaches a rigctld), the serial port
// (a name in /dev, a full path) or the rigctld's host:port, and the serial speed (0: the
// model's own).
struct HamlibSettings
{
    int model = 0;
    QString port;
    int speed = 0;
};

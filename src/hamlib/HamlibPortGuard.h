#pragma once

#include <QByteArray>
#include <QMutex>

// The port Hamlib holds, as the window's side may reach it without waiting for the worker: a
// call to a radio whose replies are lost lasts seconds (each command waits for Hamlib's time-out,
// then again for its retries), and an unkey queued behind it would leave the radio transmitting
// that long, or for good at quit. The worker publishes the port's descriptor while Hamlib has it
// open and withdraws it before Hamlib closes it, so the descriptor used here is always that port.
class HamlibPortGuard
{
public:
    // The worker: Hamlib opened the port on `fd`; `unkey` is the radio's own unkey command as
    // it goes on the line, empty when it is not known.
    void publish(int fd, const QByteArray &unkey);
    // The worker: Hamlib is about to close the port.
    void withdraw();

    // Writes the radio's unkey on the port at once, between two of Hamlib's writes; false when
    // the port is not open or the radio's unkey is not known.
    bool unkeyNow();
    // After unkeyNow(), at the link's end: whatever the call under way still sends goes nowhere
    // and its reads end at once, so nothing follows the unkey on the line.
    void cutOff();

private:
    QMutex m_mutex;
    int m_fd = -1;
    QByteArray m_unkey;
    bool m_cut = false;
};

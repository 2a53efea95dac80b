#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// The kernel's side of a hidraw device: each opening makes a new socket pair (one report per
// message, as hidraw gives them) and keeps the far end, where the test reads the output reports
// and writes the input reports.
class HidrawPeer
{
public:
    ~HidrawPeer() { unplug(); }

    // What the program's opener returns: its end, or -1 with errno set.
    int open();
    // The interface goes away: the program reads the end of the device.
    void unplug();
    // The reports sent since the last call.
    QList<QByteArray> reports();
    // An input report with these buttons pressed (byte 0).
    bool press(quint8 buttons);
    // The program closed its end; what it sent before has been read.
    bool closed() const;

    // The next openings fail.
    bool refuse = false;

private:
    int m_peer = -1;
};

#pragma once

#include "generic_tx/ControlLines.h"
#include "generic_tx/LineSettings.h"

#include <functional>

class QSocketNotifier;

// The lines on the GPIO pins of a USB audio interface of the CM108/CM119 family, through its
// hidraw device. Outputs are set by a 5-byte output report (0, 0, data bits, direction bits,
// 0); a report that named only one pin would turn the others back into inputs, so every report
// carries the level and direction of every wired output. The squelch comes from the buttons of
// the input reports (byte 0), which the interface sends when one changes. The button pins rest
// pulled up inside the chip; a set bit means the pin is pulled to 0 V (the button "pressed"),
// for every button: VOLUP and VOLDN report the level as it is, the mute buttons only a press
// once released.
//
// Only open, read and write are used: a device that does not answer the hidraw information
// call still serves.
class Cm108Lines : public ControlLines
{
    Q_OBJECT
public:
    // Opens the device: a file descriptor, or -1 with errno set.
    using Opener = std::function<int(const QString &device)>;

    Cm108Lines(const QString &device, const LineMap &map, Opener opener = {},
               QObject *parent = nullptr);
    ~Cm108Lines() override;

    bool present() const override { return !m_device.isEmpty(); }
    bool open(const Levels &rest) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    bool setLevel(TxLine line, bool high) override;
    std::optional<bool> squelchHigh() override;
    QString failure() const override { return m_failure; }
    QString deviceName() const override { return m_device; }

    static int openDevice(const QString &device);

private:
    void readInputReports();
    // The levels and directions of every wired output; false (failure() says why) when the
    // device refused them.
    bool writeReport();
    // The device has gone: closed here, said once.
    void fail(const QString &reason);

    QString m_device;
    LineMap m_map;
    Opener m_opener;
    int m_fd = -1;
    bool m_socket = false;
    QSocketNotifier *m_input = nullptr;
    quint8 m_data = 0;
    quint8 m_direction = 0;
    quint8 m_buttons = 0;
    QString m_failure;
};

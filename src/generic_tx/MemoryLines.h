#pragma once

#include "generic_tx/ControlLines.h"

#include <QList>

// Lines held in memory, for tests: every level written is recorded, the squelch input is set by
// the test, and the device can be refused or unplugged.
class MemoryLines : public ControlLines
{
    Q_OBJECT
public:
    struct Write
    {
        TxLine line;
        bool high;
        bool operator==(const Write &) const = default;
    };

    explicit MemoryLines(const QString &device = QStringLiteral("/dev/memory-lines"),
                         QObject *parent = nullptr);

    bool present() const override { return !m_device.isEmpty(); }
    bool open(const Levels &rest) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool setLevel(TxLine line, bool high) override;
    std::optional<bool> squelchHigh() override;
    QString failure() const override { return m_failure; }
    QString deviceName() const override { return m_device; }

    // What opening wrote, then every level since, in order.
    QList<Write> writes;
    int opens = 0;
    // How many writes came before the last close of open lines.
    int writesBeforeClose = -1;
    std::optional<bool> squelchInput;
    // The next openings fail.
    bool refuseOpen = false;
    // The device goes: closed, and said as a real one would.
    void unplug();

private:
    QString m_device;
    bool m_open = false;
    QString m_failure;
};

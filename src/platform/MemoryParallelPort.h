#pragma once

#include "platform/ParallelPort.h"

#include <QElapsedTimer>
#include <QList>
#include <array>

// A parallel port held in memory, for running the transmitter logic without hardware: one port
// of three registers at a chosen base, a status register whose squelch bit a test sets, and a
// record of every write with a monotonic time stamp.
class MemoryParallelPort : public ParallelPort
{
public:
    struct Write
    {
        quint16 port = 0;
        quint8 value = 0;
        qint64 elapsedNs = 0; // since the port was made, on a monotonic clock
        bool reachedRegister = false;
    };

    static constexpr quint8 SquelchBit = 0x80;

    // The port sits at base and is reported as LPT1; base 0 makes a machine without a port.
    explicit MemoryParallelPort(quint16 base = 0x378);

    quint8 Inport(quint16 port) override;
    void Outport(quint16 port, quint8 value) override;
    QString GetLastState() const override;
    void EnablePorts(quint16 first, quint16 last) override;
    void DisablePorts(quint16 first, quint16 last) override;
    quint16 GetLPTPortAddress(int n) override;

    quint16 base() const { return m_base; }
    quint8 data() const { return m_data; }
    quint8 status() const { return m_status; }
    quint8 control() const { return m_control; }
    void setStatus(quint8 value) { m_status = value; }
    // Status bit 7 is set while connector pin 11 is at 0 V.
    void setSquelchBit(bool set);
    void setControl(quint8 value) { m_control = value; }
    // Makes the following writes fail, as a port that the system refuses to us would.
    void setWritesFail(bool fail) { m_writesFail = fail; }
    // Addresses reported for LPT1..LPT3.
    void setLptAddresses(const std::array<quint16, 3> &addresses) { m_lptAddresses = addresses; }

    const QList<Write> &writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }
    bool enabled() const { return m_enabled; }
    int enableCount() const { return m_enableCount; }
    int disableCount() const { return m_disableCount; }

private:
    bool holds(quint16 port) const;

    quint16 m_base;
    quint8 m_data = 0;
    quint8 m_status = SquelchBit;
    quint8 m_control = 0;
    bool m_writesFail = false;
    bool m_enabled = false;
    int m_enableCount = 0;
    int m_disableCount = 0;
    std::array<quint16, 3> m_lptAddresses;
    QString m_lastState;
    QList<Write> m_writes;
    QElapsedTimer m_clock;
};

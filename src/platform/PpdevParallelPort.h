#pragma once

#include "platform/ParallelPort.h"
#include "platform/ParportProcInfo.h"

#include <QHash>

// Linux backend: a port address is mapped to the /dev/parportN whose base address (from the
// kernel's parport records) is at most two below it, and its registers are reached through
// the ppdev ioctls, which give and take the register values of the pin table. A device is
// opened and claimed at its first use (or by EnablePorts) and held until DisablePorts, so the
// lines keep their levels between operations. The kernel loads its default control value (0Ch)
// into the port when a device is first claimed: the lines' rest levels must be written right
// after the first access, as the activation of the generic model does.
class PpdevParallelPort : public ParallelPort
{
public:
    explicit PpdevParallelPort(const QString &procRoot = QStringLiteral("/proc"),
                               const QString &devRoot = QStringLiteral("/dev"));
    ~PpdevParallelPort() override;

    PpdevParallelPort(const PpdevParallelPort &) = delete;
    PpdevParallelPort &operator=(const PpdevParallelPort &) = delete;

    quint8 Inport(quint16 port) override;
    void Outport(quint16 port, quint8 value) override;
    QString GetLastState() const override;
    void EnablePorts(quint16 first, quint16 last) override;
    void DisablePorts(quint16 first, quint16 last) override;
    quint16 GetLPTPortAddress(int n) override;

private:
    // Claimed device whose registers hold address, with the register's offset from its base;
    // -1 (and the reason in m_lastState) when there is none.
    int deviceFor(quint16 address, int &offset);
    int openDevice(quint16 base);
    void closeDevice(quint16 base);

    ParportProcInfo m_proc;
    QString m_devRoot;
    QString m_lastState;
    QHash<quint16, int> m_devices; // base address -> claimed file descriptor
    // The port last asked for by EnablePorts; a register of it that cannot be reached is
    // reported under this base, the address the operator chose.
    quint16 m_wantedBase = 0;
};

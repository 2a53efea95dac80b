#pragma once

#include <QString>
#include <QtGlobal>

// Access to the parallel port's byte registers by I/O address, in the manner of a port I/O
// driver: the transmitter logic addresses base+1 (status) and base+2 (control) directly.
// Register values are those of the connector's pin table, hardware inversions included.
class ParallelPort
{
public:
    virtual ~ParallelPort() = default;

    // Value of the register at an I/O address; 0xFF (a floating bus) when it cannot be read.
    virtual quint8 Inport(quint16 port) = 0;
    virtual void Outport(quint16 port, quint8 value) = 0;
    // Text describing the last operation; it contains "succes" when that operation worked.
    virtual QString GetLastState() const = 0;
    // Grants access to the ports of the range; with first == last the whole port at that base.
    virtual void EnablePorts(quint16 first, quint16 last) = 0;
    virtual void DisablePorts(quint16 first, quint16 last) = 0;
    // Base address of LPTn (n = 1..3), 0 when there is no such port.
    virtual quint16 GetLPTPortAddress(int n) = 0;
};

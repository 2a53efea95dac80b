#pragma once

#include <QString>

class EventLog;
class RigLink;

// Says in the log why the serial port did not open, once per failure: the status line only says
// that it failed. For a missing permission it also says what the operator can do about it.
class PortOpenReport
{
public:
    explicit PortOpenReport(EventLog &log) : m_log(log) {}

    // The device a port name stands for: a short name is one of /dev.
    static QString devicePath(const QString &portName);

    void failed(const QString &portName, const RigLink &link);
    // The port opened, or another is chosen: its next failure is news again.
    void clear() { m_logged.clear(); }

private:
    EventLog &m_log;
    QString m_logged;
};

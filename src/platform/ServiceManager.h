#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

// Talks to the service manager that started the program (systemd's notify protocol: datagrams
// on the socket named by NOTIFY_SOCKET). Without NOTIFY_SOCKET every call does nothing.
class ServiceManager : public QObject
{
    Q_OBJECT
public:
    explicit ServiceManager(QObject *parent = nullptr);

    // Started by a service manager rather than from a terminal or a desktop: its log lines
    // then also go to standard error, which the manager's journal keeps.
    static bool runsAsService();

    bool notifies() const { return !m_socketPath.isEmpty(); }
    // "READY=1", and from then on "WATCHDOG=1" every half of WATCHDOG_USEC, from the event
    // loop: a program whose loop hangs stops sending it and the manager restarts it.
    void ready();
    void stopping();
    // "STATUS=": one line that the manager shows as the service's state (`systemctl status`).
    void status(const QString &text);
    // The heartbeat period; 0 without a watchdog.
    int heartbeatMs() const { return m_heartbeat.interval(); }

    // One datagram; false when it could not be sent.
    bool send(const QByteArray &message);

private:
    QByteArray m_socketPath;
    QTimer m_heartbeat;
};

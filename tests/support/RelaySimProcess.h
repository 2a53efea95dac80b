#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// tools/relaysim as a child process for tests whose station runs in the same event loop: its
// output is collected as it comes, lines are fed to its standard input. Ended when the object
// goes.
class RelaySimProcess : public QObject
{
    Q_OBJECT
public:
    RelaySimProcess();
    ~RelaySimProcess() override;

    // Starts relaysim on a free loopback port; 0 when it did not start.
    quint16 start();
    quint16 port() const { return m_port; }

    // One input line: relaysim sends it with CR LF once a station is connected.
    void sendLine(const QByteArray &line);

    // Waits until a station is connected.
    bool waitForStation(int timeoutMs = 30'000);
    // Waits for the count-th line the station sent and returns it without tag and time stamp;
    // empty when it did not come.
    QString waitForReceived(int count, int timeoutMs = 10'000);
    // Lines from the station so far, without tag and time stamp.
    QStringList received() const;
    QStringList output() const { return m_lines; }

private:
    void collect();

    QProcess m_process;
    QByteArray m_partial;
    QStringList m_lines;
    quint16 m_port = 0;
};

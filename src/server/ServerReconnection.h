#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

struct TcpClientSettings;

// Brings the server link back by itself when the operator has asked for it: after the link went
// down for any reason but the Disconnect button (the server closed or reset it, a connect failed
// or timed out, the server was not there yet), a new try follows after the first delay, then
// after twice as long each time, up to the longest delay. The delays start from the first one
// again on Connect, and when a link that came up had stayed up long enough before it dropped.
// Disconnect stops the tries until the next Connect.
class ServerReconnection : public QObject
{
    Q_OBJECT
public:
    // `enabled` is read at each loss (the operator's check box); `tryConnect` starts one attempt.
    ServerReconnection(const TcpClientSettings &settings, std::function<bool()> enabled,
                       std::function<void()> tryConnect, QObject *parent = nullptr);

    void connectAsked();
    void disconnectAsked();
    // The link came up; true when it was one of the tries.
    bool linkUp();
    // An attempt failed or the link dropped; true when a new try is planned.
    bool linkDown();

    bool isWaiting() const { return m_timer.isActive(); }
    // The wait before the try planned last.
    int lastDelayMs() const { return m_lastDelayMs; }

private:
    const TcpClientSettings &m_settings;
    std::function<bool()> m_enabled;
    std::function<void()> m_tryConnect;
    QTimer m_timer;
    int m_failures = 0; // since the link was asked for or last stayed up long enough
    QElapsedTimer m_upSince;
    int m_lastDelayMs = 0;
    bool m_wanted = false;
    bool m_retrying = false;
};

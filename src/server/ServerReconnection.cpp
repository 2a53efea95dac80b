#include "server/ServerReconnection.h"

#include "platform/LinkSettings.h"

ServerReconnection::ServerReconnection(const TcpClientSettings &settings,
                                       std::function<bool()> enabled,
                                       std::function<void()> tryConnect, QObject *parent)
    : QObject(parent), m_settings(settings), m_enabled(std::move(enabled)),
      m_tryConnect(std::move(tryConnect))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_retrying = true;
        m_tryConnect();
    });
}

void ServerReconnection::connectAsked()
{
    m_wanted = true;
    m_retrying = false;
    m_timer.stop();
    m_nextDelayMs = m_settings.retryFirstDelayMs;
}

void ServerReconnection::disconnectAsked()
{
    m_wanted = false;
    m_retrying = false;
    m_timer.stop();
}

bool ServerReconnection::linkUp()
{
    const bool retried = m_retrying;
    m_retrying = false;
    m_timer.stop();
    m_nextDelayMs = m_settings.retryFirstDelayMs;
    return retried;
}

bool ServerReconnection::linkDown()
{
    m_retrying = false;
    if (!m_wanted || !m_enabled())
        return false;
    if (!m_timer.isActive()) {
        m_timer.start(m_nextDelayMs);
        m_nextDelayMs = qMin(m_nextDelayMs * 2, m_settings.retryMaxDelayMs);
    }
    return true;
}

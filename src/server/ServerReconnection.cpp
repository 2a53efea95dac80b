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
    m_failures = 0;
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
    m_upSince.start();
    return retried;
}

bool ServerReconnection::linkDown()
{
    m_retrying = false;
    if (m_upSince.isValid() && m_upSince.elapsed() >= m_settings.retryResetAfterMs)
        m_failures = 0;
    m_upSince.invalidate();
    if (!m_wanted || !m_enabled())
        return false;
    if (!m_timer.isActive()) {
        // The settings are read here, so a change applies from the next try on.
        qint64 delay = m_settings.retryFirstDelayMs;
        for (int i = 0; i < m_failures && delay < m_settings.retryMaxDelayMs; ++i)
            delay *= 2;
        m_lastDelayMs = int(qMin<qint64>(delay, m_settings.retryMaxDelayMs));
        ++m_failures;
        m_timer.start(m_lastDelayMs);
    }
    return true;
}

#include "server/LinkEventLog.h"

#include "core/EventLog.h"
#include "platform/LinkSettings.h"

LinkEventLog::LinkEventLog(EventLog &log, const TcpClientSettings &settings)
    : m_log(log), m_settings(settings)
{
}

void LinkEventLog::connectAsked()
{
    if (!m_lossHidden)
        m_shown = Shown::Nothing;
}

void LinkEventLog::lost(const QString &text, bool always)
{
    if (!always && text == m_lastLoss && m_lastLossLogged.isValid() &&
        m_lastLossLogged.elapsed() < m_settings.lossLogRepeatMs) {
        m_lossHidden = true;
        return;
    }
    write(text);
}

void LinkEventLog::connected()
{
    if (!m_lossHidden && m_shown != Shown::Up)
        m_log.append(QStringLiteral("Server connected"));
    if (!m_lossHidden)
        m_shown = Shown::Up;
}

void LinkEventLog::failed(const QString &reason)
{
    if (m_lossHidden) {
        if (m_lastLossLogged.elapsed() >= m_settings.lossLogRepeatMs)
            write(m_lastLoss);
        return;
    }
    if (m_shown == Shown::Down)
        return;
    m_log.append(QStringLiteral("Server connection failed: ") + reason);
    m_shown = Shown::Down;
}

void LinkEventLog::write(const QString &text)
{
    m_log.append(text);
    m_lastLoss = text;
    m_lastLossLogged.start();
    m_lossHidden = false;
    m_shown = Shown::Down;
}

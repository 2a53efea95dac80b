#include "web/WebSessions.h"

#include "web/WebPassword.h"

#include <QList>
#include <QRandomGenerator>

QByteArray WebSessions::open()
{
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if (it->hasExpired())
            it = m_sessions.erase(it);
        else
            ++it;
    }
    if (m_sessions.size() >= MaxSessions) {
        auto oldest = m_sessions.begin();
        for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it) {
            if (it->deadline() < oldest->deadline())
                oldest = it;
        }
        m_sessions.erase(oldest);
    }
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    const QByteArray token =
        QByteArray(reinterpret_cast<const char *>(words), sizeof(words)).toHex();
    m_sessions.insert(token, QDeadlineTimer(IdleLifetimeMs));
    return token;
}

void WebSessions::close(const QByteArray &token)
{
    m_sessions.remove(token);
}

QByteArray WebSessions::tokenOf(const QByteArray &cookieHeader)
{
    const QByteArray name = QByteArray(CookieName) + '=';
    for (const QByteArray &part : cookieHeader.split(';')) {
        const QByteArray cookie = part.trimmed();
        if (cookie.startsWith(name))
            return cookie.mid(name.size());
    }
    return {};
}

QByteArray WebSessions::find(const QByteArray &cookieHeader)
{
    const QByteArray token = tokenOf(cookieHeader);
    if (token.isEmpty())
        return {};
    // Compared whole against each, so the time taken says nothing of a near miss.
    QByteArray found;
    for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it) {
        if (WebPassword::equalInConstantTime(it.key(), token) && !it->hasExpired())
            found = it.key();
    }
    if (!found.isEmpty())
        m_sessions[found] = QDeadlineTimer(IdleLifetimeMs);
    return found;
}

qint64 WebSessions::pauseLeftMs() const
{
    return m_pauseMs == 0 ? 0 : m_pause.remainingTime();
}

void WebSessions::loginFailed()
{
    m_pauseMs = m_pauseMs == 0 ? FirstPauseMs : qMin(m_pauseMs * 2, MaxPauseMs);
    m_pause = QDeadlineTimer(m_pauseMs);
}

void WebSessions::loginSucceeded()
{
    m_pauseMs = 0;
}

#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>

// The operator's logins: a random token per session, kept in an HttpOnly cookie, forgotten after
// a day without use; and the pause after a wrong password, doubling with each one in a row, so
// that guessing costs minutes per try rather than milliseconds.
class WebSessions
{
public:
    static constexpr const char *CookieName = "ivrelane_session";
    static constexpr int MaxSessions = 16;
    static constexpr qint64 IdleLifetimeMs = 24LL * 3600 * 1000;
    static constexpr int FirstPauseMs = 1000;
    static constexpr int MaxPauseMs = 60'000;

    // A new session's token (the oldest session goes when there are too many).
    QByteArray open();
    void close(const QByteArray &token);
    // The token of the request's Cookie header when it is a live session; empty otherwise.
    QByteArray find(const QByteArray &cookieHeader);

    // Milliseconds until a login may be tried again; 0 when it may now.
    qint64 pauseLeftMs() const;
    void loginFailed();
    void loginSucceeded();

    static QByteArray tokenOf(const QByteArray &cookieHeader);

private:
    QHash<QByteArray, QDeadlineTimer> m_sessions;
    QDeadlineTimer m_pause;
    int m_pauseMs = 0;
};

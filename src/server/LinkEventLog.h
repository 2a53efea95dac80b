#pragma once

#include <QElapsedTimer>
#include <QString>

class EventLog;
struct TcpClientSettings;

// Writes the server link's changes of state to the event log, once per change: the link came
// up, an established link dropped, or an attempt failed while the log still showed the link up
// or nothing yet. A server that stays unreachable therefore logs one failure, not one per try.
// A server that drops every connection at once must not flood the log and push its history
// out either: a loss logged the same way less than TcpClientSettings::lossLogRepeatMs before is
// not logged again, nor is the return that follows it. A loss left unlogged while the link stays
// down is logged once the time has passed, so the log never ends on a return that did not last.
class LinkEventLog
{
public:
    LinkEventLog(EventLog &log, const TcpClientSettings &settings);

    // The operator asked for the link: whatever comes of it is news again.
    void connectAsked();
    // An established link dropped. A release of the transmitter is always logged.
    void lost(const QString &text, bool always = false);
    // The link came up.
    void connected();
    // An attempt failed for `reason` (the system's words): the link is still down.
    void failed(const QString &reason);

private:
    enum class Shown { Nothing, Up, Down };

    void write(const QString &text);

    EventLog &m_log;
    const TcpClientSettings &m_settings;
    QString m_lastLoss;
    QElapsedTimer m_lastLossLogged;
    bool m_lossHidden = false;
    // What the log last said of the link.
    Shown m_shown = Shown::Nothing;
};

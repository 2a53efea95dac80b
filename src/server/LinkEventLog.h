#pragma once

#include <QElapsedTimer>
#include <QString>

class EventLog;
struct TcpClientSettings;

// Writes the server link's losses and returns to the event log without letting a server that
// drops every connection at once flood it and push its history out: a loss logged the same way
// less than TcpClientSettings::lossLogRepeatMs before is not logged again, nor is the return
// that follows it. A loss left unlogged while the link stays down is logged once the time has
// passed, so the log never ends on a return that did not last.
class LinkEventLog
{
public:
    LinkEventLog(EventLog &log, const TcpClientSettings &settings);

    // An established link dropped. A release of the transmitter is always logged.
    void lost(const QString &text, bool always = false);
    // A try brought the link back.
    void connected();
    // A try failed: the link is still down.
    void stillDown();

private:
    void write(const QString &text);

    EventLog &m_log;
    const TcpClientSettings &m_settings;
    QString m_lastLoss;
    QElapsedTimer m_lastLossLogged;
    bool m_lossHidden = false;
};

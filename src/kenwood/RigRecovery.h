#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class RigLink;

// Watches a radio that stopped answering: while it is silent it is asked its model every
// PollPeriodMs, and the first complete reply to any command (the poll's or another's) tells that
// it answers again. A station left unattended must not stay deaf because one reply came late.
class RigRecovery : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 2000;

    // `mayAsk` says whether a poll may go out now (a Kenwood model in use, its port open, no
    // initialisation under way).
    RigRecovery(RigLink &link, std::function<bool()> mayAsk, QObject *parent = nullptr);

    // Forgets the silence: the port is closed or another model takes over.
    void stop();

signals:
    // Emitted from the event loop, after the exchange that brought the reply is over.
    void answersAgain();

private:
    void replyMissing();
    void replyReceived();
    void poll();

    RigLink &m_link;
    std::function<bool()> m_mayAsk;
    QTimer m_timer;
    bool m_silent = false;
};

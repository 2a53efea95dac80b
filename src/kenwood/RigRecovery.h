#pragma once

#include <QCoroTask>
#include <QObject>
#include <QTimer>
#include <functional>

class RigLink;

// Watches a radio that stopped answering, or that answers as another model: it is asked its model
// every PollPeriodMs, whatever else is asked of it (an exchange already waiting for the radio
// counts as that poll). A silent radio answers again with its first complete reply to any
// command; one of another model once its model reply names the model configured. A station left
// unattended must not stay deaf because one reply came late or garbled.
class RigRecovery : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollPeriodMs = 2000;

    // `mayAsk` says whether a poll may go out now (the radio in use, its port open, no pause
    // before an initialisation); `modelMatches` whether a model reply names the model configured.
    RigRecovery(RigLink &link, std::function<bool()> mayAsk,
                std::function<bool(const QString &)> modelMatches, QObject *parent = nullptr);

    // The radio is counted as not answering from now on (an initialisation that failed).
    void watchSilence();
    // The radio answers as another model: polled until the model configured answers.
    void watchModel();
    // Forgets the watch: the port is closed, an initialisation starts, another model takes over.
    void stop();
    bool isWatching() const { return m_watch != Watch::None; }

signals:
    // The radio stopped answering (a reply went missing while nothing was watched).
    void silenceBegan();
    // Emitted from the event loop, after the exchange that brought the reply is over.
    void answersAgain();

private:
    enum class Watch { None, Silence, Model };

    void start(Watch watch);
    void replyMissing();
    void replyReceived();
    void poll();
    QCoro::Task<> askModel();
    void answered();

    RigLink &m_link;
    std::function<bool()> m_mayAsk;
    std::function<bool(const QString &)> m_modelMatches;
    QTimer m_timer;
    Watch m_watch = Watch::None;
    bool m_asking = false;
};

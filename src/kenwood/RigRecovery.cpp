#include "kenwood/RigRecovery.h"

#include "kenwood/RigLink.h"

#include <QPointer>

RigRecovery::RigRecovery(RigLink &link, std::function<bool()> mayAsk,
                         std::function<bool(const QString &)> modelMatches, QObject *parent)
    : QObject(parent), m_link(link), m_mayAsk(std::move(mayAsk)),
      m_modelMatches(std::move(modelMatches))
{
    m_timer.setInterval(PollPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &RigRecovery::poll);
    connect(&m_link, &RigLink::replyMissing, this, &RigRecovery::replyMissing);
    connect(&m_link, &RigLink::replyReceived, this, &RigRecovery::replyReceived);
}

void RigRecovery::watchSilence()
{
    start(Watch::Silence);
}

void RigRecovery::watchModel()
{
    start(Watch::Model);
}

void RigRecovery::start(Watch watch)
{
    m_watch = watch;
    if (!m_timer.isActive())
        m_timer.start();
}

void RigRecovery::stop()
{
    m_watch = Watch::None;
    m_timer.stop();
}

void RigRecovery::replyMissing()
{
    if (m_watch == Watch::None) {
        start(Watch::Silence);
        emit silenceBegan();
    } else if (m_watch == Watch::Model) {
        // Another model that falls silent is a silent radio: whatever answers next is looked at.
        m_watch = Watch::Silence;
    }
}

void RigRecovery::replyReceived()
{
    if (m_watch == Watch::Silence)
        answered();
}

void RigRecovery::answered()
{
    stop();
    QMetaObject::invokeMethod(this, &RigRecovery::answersAgain, Qt::QueuedConnection);
}

// Not while an exchange waits for the radio: that one is the question, and its reply (or its
// silence) the answer. Nor after the link's turns, where a poll would only add to the wait.
void RigRecovery::poll()
{
    if (m_asking || m_link.isBusy() || !m_mayAsk())
        return;
    askModel();
}

QCoro::Task<> RigRecovery::askModel()
{
    m_asking = true;
    const QPointer<RigRecovery> alive(this);
    const QString reply = co_await m_link.exchange(QStringLiteral("ID"));
    if (!alive)
        co_return;
    m_asking = false;
    if (m_watch == Watch::Model && m_modelMatches(reply))
        answered();
}

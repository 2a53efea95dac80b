#include "kenwood/RigRecovery.h"

#include "kenwood/RigLink.h"

RigRecovery::RigRecovery(RigLink &link, std::function<bool()> mayAsk, QObject *parent)
    : QObject(parent), m_link(link), m_mayAsk(std::move(mayAsk))
{
    m_timer.setInterval(PollPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &RigRecovery::poll);
    connect(&m_link, &RigLink::replyMissing, this, &RigRecovery::replyMissing);
    connect(&m_link, &RigLink::replyReceived, this, &RigRecovery::replyReceived);
}

void RigRecovery::stop()
{
    m_silent = false;
    m_timer.stop();
}

void RigRecovery::replyMissing()
{
    if (m_silent)
        return;
    m_silent = true;
    m_timer.start();
}

void RigRecovery::replyReceived()
{
    if (!m_silent)
        return;
    stop();
    QMetaObject::invokeMethod(this, &RigRecovery::answersAgain, Qt::QueuedConnection);
}

void RigRecovery::poll()
{
    if (m_link.isBusy() || !m_mayAsk())
        return;
    // Nobody waits for the answer: the link reports it.
    m_link.exchange(QStringLiteral("ID"));
}

#include "kenwood/MemoryRefresh.h"

#include "kenwood/KenwoodReplies.h"
#include "kenwood/MemoryListReader.h"
#include "kenwood/RigLink.h"
#include "radio/RadioRequests.h"
#include "radio/RadioState.h"

#include <QPointer>

MemoryRefresh::MemoryRefresh(RigLink &link, RadioRequests &requests, RadioState &radio,
                             QObject *parent)
    : QObject(parent), m_link(link), m_requests(requests), m_radio(radio)
{
}

void MemoryRefresh::start(Kenwood::Model model, int count)
{
    stop();
    m_model = model;
    m_count = count;
    m_next = 1;
    m_replies.clear();
    m_running = true;
    submitSlice();
}

void MemoryRefresh::stop()
{
    ++m_generation;
    m_running = false;
    m_replies.clear();
}

void MemoryRefresh::submitSlice()
{
    const int generation = m_generation;
    // A slice the queue has no room for ends the read: the list on show stays.
    m_requests.submit([this, generation] { return readSlice(generation); }, [this] { stop(); });
}

QCoro::Task<> MemoryRefresh::readSlice(int generation)
{
    if (generation != m_generation)
        co_return;
    const QPointer<MemoryRefresh> alive(this);
    const int last = qMin(m_count, m_next + ChannelsPerRequest - 1);
    // Into a text of its own: a read started anew meanwhile must not take this slice's replies.
    QString replies;
    const bool answered = co_await readMemoryRecords(m_link, m_model, m_next, last, replies);
    if (!alive || generation != m_generation)
        co_return;
    if (!answered) {
        stop();
        co_return;
    }
    m_replies += replies;
    m_next = last + 1;
    if (m_next <= m_count) {
        submitSlice();
        co_return;
    }
    m_running = false;
    // The channel on show stays chosen when the list did not change under it.
    m_radio.updateMemories(Kenwood::memoryListFromReplies(m_replies, m_model));
    m_replies.clear();
}

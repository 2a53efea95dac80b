#include "radio/RadioRequests.h"

#include <algorithm>
#include <utility>

RadioRequests::RadioRequests(QObject *parent) : QObject(parent) {}

void RadioRequests::submit(Request request, std::function<void()> dropped)
{
    enqueue(std::move(request), false, dropped);
}

void RadioRequests::submitKey(Request request)
{
    enqueue(std::move(request), true);
}

void RadioRequests::submitUnkey(Request request)
{
    if (m_closed)
        return;
    m_waiting.removeIf([](const Waiting &waiting) { return waiting.keys; });
    runAtOnce(std::move(request));
}

bool RadioRequests::close(Request last)
{
    if (m_closed)
        return false;
    m_closed = true;
    m_waiting.clear();
    runAtOnce(std::move(last));
    return true;
}

void RadioRequests::enqueue(Request request, bool keys, const std::function<void()> &dropped)
{
    if (m_closed)
        return;
    if (isFull()) {
        ++m_dropped;
        ++m_burst;
        if (dropped)
            dropped();
        return;
    }
    m_waiting.enqueue({std::move(request), keys});
    if (!m_running)
        runWaiting();
}

// With nothing under way it is an ordinary request, so that the next ones wait for it.
void RadioRequests::runAtOnce(Request request)
{
    if (m_running) {
        runBeside(std::move(request));
        return;
    }
    m_waiting.enqueue({std::move(request), false});
    runWaiting();
}

QCoro::Task<> RadioRequests::runWaiting()
{
    m_running = true;
    while (!m_waiting.isEmpty()) {
        const Request request = m_waiting.dequeue().request;
        if (m_waiting.size() <= MaxWaiting / 2)
            reportBurst();
        co_await request();
    }
    m_running = false;
    reportBurst();
    emit idle();
}

void RadioRequests::reportBurst()
{
    if (m_burst > 0)
        emit burstDropped(std::exchange(m_burst, 0));
}

QCoro::Task<> RadioRequests::runBeside(Request request)
{
    co_await request();
}

#include "radio/RadioRequests.h"

#include <algorithm>

RadioRequests::RadioRequests(QObject *parent) : QObject(parent) {}

void RadioRequests::submit(Request request)
{
    enqueue(std::move(request), false);
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

void RadioRequests::enqueue(Request request, bool keys)
{
    if (m_closed)
        return;
    if (m_waiting.size() >= MaxWaiting) {
        ++m_dropped;
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
        co_await request();
    }
    m_running = false;
    emit idle();
}

QCoro::Task<> RadioRequests::runBeside(Request request)
{
    co_await request();
}

#pragma once

#include <QCoroTask>
#include <QObject>
#include <QQueue>
#include <functional>

// What is asked of the radio (a server message, a DTMF report, a click on the panel, INIT, the
// transmit time-out, the quit) runs one request at a time, each to its end, in the order the
// requests came; the window stays live meanwhile. An unkey does not wait: it runs at once beside
// the request under way (its exchange follows the one in flight) and cancels the keyings that
// wait, so a transmitter is never keyed after a later request to let it go.
class RadioRequests : public QObject
{
    Q_OBJECT
public:
    using Request = std::function<QCoro::Task<>()>;
    // Beyond this many waiting requests, more are dropped (a flood behind a silent radio).
    static constexpr int MaxWaiting = 256;

    explicit RadioRequests(QObject *parent = nullptr);

    // Runs `request` now when nothing runs (up to its first wait, before this returns), or after
    // those that came before it. When the queue is full it is dropped and `dropped` runs at once
    // (a question must still get its answer).
    void submit(Request request, std::function<void()> dropped = {});
    // The same for a request that keys the transmitter.
    void submitKey(Request request);
    void submitUnkey(Request request);
    // The last request: those waiting are dropped, nothing more is taken, and `last` runs at
    // once as an unkey does. False when the requests were closed already.
    bool close(Request last);

    bool isIdle() const { return !m_running && m_waiting.isEmpty(); }
    bool isClosed() const { return m_closed; }
    // A request submitted now would be dropped.
    bool isFull() const { return m_waiting.size() >= MaxWaiting; }
    int waitingCount() const { return int(m_waiting.size()); }
    int droppedCount() const { return m_dropped; }

signals:
    // The last request that waited is over.
    void idle();
    // `count` requests were dropped since the queue last had room: said once the burst is over
    // (the queue half empty again, or idle), not for each request.
    void burstDropped(int count);

private:
    struct Waiting
    {
        Request request;
        bool keys = false;
    };

    void enqueue(Request request, bool keys, const std::function<void()> &dropped = {});
    void reportBurst();
    void runAtOnce(Request request);
    QCoro::Task<> runWaiting();
    static QCoro::Task<> runBeside(Request request);

    QQueue<Waiting> m_waiting;
    bool m_running = false;
    bool m_closed = false;
    int m_dropped = 0;
    int m_burst = 0; // dropped and not yet reported
};

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QRandomGenerator>

class ServerPeer;

// The relay server's traffic for a soak: TRANSMIT_R and RECEIVE_R in turn, overs and gaps of
// random lengths, and FREQUENCY requests at random intervals, sent to the station connected to a
// ServerPeer, each with the time it went (milliseconds since the epoch, the clock of the
// simulators' logs). The station's answers are matched to the requests in order. A message that
// finds no station connected waits for one.
class ServerTraffic : public QObject
{
public:
    struct Message
    {
        qint64 at;
        bool transmit;
    };
    struct Request
    {
        qint64 at;
        qint64 answeredAt = -1;
        QByteArray answer;
        bool lost = false; // asked on a connection dropped before the answer came
    };
    struct Pace
    {
        int overMs[2] = {1000, 5000};
        int gapMs[2] = {500, 3000};
        int askEveryMs[2] = {2000, 8000};
    };

    ServerTraffic(ServerPeer &server, quint32 seed, const Pace &pace);

    void start();
    // Sends nothing more, but the RECEIVE of an over under way (when a station is connected).
    void stop();
    // Matches the lines the station sent so far to the requests.
    void takeAnswers();
    // Before the server drops the station: the requests it has not answered are lost.
    void dropping();

    const QList<Message> &messages() const { return m_messages; }
    const QList<Request> &requests() const { return m_requests; }
    // Lines from the station that answered no request.
    int unaskedLines() const { return m_unasked; }
    // One line per message and per request, with its time and its answer.
    QByteArray transcript() const;

private:
    int between(const int (&range)[2]);
    void sendNextKeying();
    void askFrequency();

    ServerPeer &m_server;
    QRandomGenerator m_random;
    Pace m_pace;
    bool m_running = false;
    bool m_over = false;
    QList<Message> m_messages;
    QList<Request> m_requests;
    qsizetype m_nextAnswer = 0;
    qsizetype m_readOffset = 0;
    int m_unasked = 0;
};

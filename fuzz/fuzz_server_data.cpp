// Bytes from the relay server over a real loopback connection, handled by the station's own
// server wiring. The frequency and DTMF handlers record instead of reaching a radio.
#include "FuzzStation.h"

#include "app/ServerWiring.h"
#include "app/Station.h"
#include "platform/MemoryParallelPort.h"
#include "ui/TrafficDisplay.h"
#include "ui/UnitTMD700.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Waits with the event loop running; false when the deadline passed first.
template <typename Done> bool spinUntil(Done done, int milliseconds = 5000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

class LoopbackServer
{
public:
    LoopbackServer()
        : m_station(
              FuzzStation::instance({QStringLiteral("MODEL=TX16UD"), QStringLiteral("DELAYPIN14=1"),
                                     QStringLiteral("DELAYPIN1=1"), QStringLiteral("DELAYPIN16=1"),
                                     QStringLiteral("TEMPOTX16=10"), QStringLiteral("LPT378=888"),
                                     QStringLiteral("CHANNEL=BOTH")})
                  .station())
    {
        if (!m_listener.listen(QHostAddress::LocalHost, 0))
            std::abort();
        m_station.IdTCPClient.host = QStringLiteral("127.0.0.1");
        m_station.IdTCPClient.port = m_listener.serverPort();
        ServerDispatcher &dispatcher = m_station.server->session().dispatcher();
        dispatcher.reportFrequencyToServer = [this]() -> QCoro::Task<> {
            ++frequencyReports;
            co_return;
        };
        dispatcher.receiveDtmf = [this](const QString &characters) -> QCoro::Task<> {
            if (characters == m_sentinel)
                m_sentinelSeen = true;
            co_return;
        };
    }

    // Sends one input and waits until a marker line sent after it has been handled, so the
    // next input starts on a quiet connection.
    void deliver(const QByteArray &bytes)
    {
        connectIfNeeded();
        ++m_count;
        m_sentinel = QStringLiteral("*#%1#*").arg(m_count);
        m_sentinelSeen = false;
        m_peer->write(bytes);
        m_peer->write("\r\n" + m_sentinel.toLatin1() + "\r\n");
        m_peer->flush();
        spinUntil([this] { return m_sentinelSeen; });
    }

    long long frequencyReports = 0;

private:
    void connectIfNeeded()
    {
        if (m_peer && m_peer->state() == QAbstractSocket::ConnectedState &&
            m_station.state.ServerConnected)
            return;
        if (m_peer)
            m_peer->deleteLater();
        m_peer = nullptr;
        m_station.server->ButtonDisconnectClick();
        m_station.server->ButtonConnectClick();
        if (!spinUntil([this] { return m_listener.hasPendingConnections(); }))
            std::abort();
        m_peer = m_listener.nextPendingConnection();
        if (!spinUntil([this] { return m_station.state.ServerConnected; }))
            std::abort();
    }

    Station &m_station;
    QTcpServer m_listener;
    QTcpSocket *m_peer = nullptr;
    QString m_sentinel;
    bool m_sentinelSeen = false;
    long long m_count = 0;
};

} // namespace

static LoopbackServer *server = nullptr;

// The station is started and connected before the first input, so that does not count as
// coverage of the inputs.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    server = new LoopbackServer;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size)
{
    FuzzStation &fuzz = FuzzStation::instance();
    Station &station = fuzz.station();
    fuzz.parallelPort().clearWrites();
    server->deliver(fuzzBytes(data, size));
    if (station.windows().Form1->ui.EditTXdata->text().size() > TrafficDisplay::Capacity)
        __builtin_trap();
    return 0;
}

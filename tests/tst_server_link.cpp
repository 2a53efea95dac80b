#include "app/GenericTxWiring.h"
#include "app/ServerWiring.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/GenericTxRadio.h"
#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "radio/RadioState.h"
#include "server/ServerLink.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "ui/MessageBoxNotifier.h"
#include "ui/TrafficDisplay.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QCoroTask>
#include <QDir>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

namespace {

const QString Connected = QStringLiteral("Serveur connecté");
const QString NotConnected = QStringLiteral("Serveur non connecté");
// The wait of an unfinished line's end, shortened so that the tests need not wait 300 ms for it.
constexpr int TailWaitMs = 30;

// A station on the generic transmitter (in-memory parallel port) whose configuration points at
// a loopback server of the test's own. The DTMF and frequency handlers are replaced by recorders
// so that these tests see what the link hands on, whatever the radio subsystems do with it.
class LinkedStation
{
public:
    explicit LinkedStation(const QStringList &extra = {},
                           const QString &model = QStringLiteral("TX16UD"),
                           Notifier *boxes = nullptr)
        : port(std::make_shared<MemoryParallelPort>(0x378))
    {
        ParallelPortFactory::installTestPort(port);
        fixture.boxes = boxes;
        Station &s = fixture.start(
            QStringList{QStringLiteral("MODEL=") + model, QStringLiteral("WARNING=Y"),
                        QStringLiteral("LPT378=888"), QStringLiteral("IPSERVER=127.0.0.1"),
                        QStringLiteral("PORT=%1").arg(server.port())} +
            extra);
        s.server->session().setLineTailWaitMs(TailWaitMs);
        ServerDispatcher &dispatcher = s.server->session().dispatcher();
        ownReceiveDtmf = dispatcher.receiveDtmf;
        ownReportFrequency = dispatcher.reportFrequencyToServer;
        dispatcher.receiveDtmf = [this](const QString &chars) -> QCoro::Task<> {
            dtmf << chars + QLatin1Char('|') + station().state.DtmfLastChars;
            co_return;
        };
        dispatcher.reportFrequencyToServer = [this]() -> QCoro::Task<> {
            ++reports;
            station().server->session().sendToServer(station().state.CurrentFrequency +
                                                     QStringLiteral("\r\n"));
            co_return;
        };
    }
    ~LinkedStation() { ParallelPortFactory::installTestPort(nullptr); }

    Station &station() { return fixture.station(); }
    Ui::TForm1 &main() { return station().windows().Form1->ui; }
    Ui::TFormIP &dialog() { return station().windows().FormIP->ui; }
    const ServerLink &link() { return station().server->session().link(); }
    bool keyed() { return station().radios.current()->state().keyed(); }

    // Sends one chunk and waits until the station has taken it (it goes to the traffic line
    // before its messages are carried out, in the same handler). An unfinished last line is
    // handled once no continuation has come for a while: that wait is included.
    bool deliver(const QByteArray &chunk)
    {
        fixture.clearTraffic();
        server.send(chunk);
        if (!fixture.waitForTraffic(QString::fromLatin1(chunk), 5000))
            return false;
        if (!chunk.endsWith("\r\n"))
            QTest::qWait(3 * TailWaitMs);
        return true;
    }

    std::shared_ptr<MemoryParallelPort> port;
    ServerPeer server;
    StationFixture fixture;
    // The station's own, before the recorders replaced them.
    std::function<QCoro::Task<>(const QString &)> ownReceiveDtmf;
    std::function<QCoro::Task<>()> ownReportFrequency;
    void restoreOwnHandlers()
    {
        ServerDispatcher &dispatcher = station().server->session().dispatcher();
        dispatcher.receiveDtmf = ownReceiveDtmf;
        dispatcher.reportFrequencyToServer = ownReportFrequency;
    }
    QStringList dtmf; // "handed|DtmfLastChars" per hand-over
    int reports = 0;
};

bool isRed(QLineEdit *line)
{
    return line->styleSheet().contains(QStringLiteral("color: rgb(255, 0, 0)"));
}

bool isGreen(QLineEdit *line)
{
    return line->styleSheet().contains(QStringLiteral("color: rgb(0, 128, 0)"));
}

} // namespace

class TestServerLink : public QObject
{
    Q_OBJECT

private slots:
    void connectsAtStartOnlyWhenAsked();
    void connectWhileConnectedDoesNothing();
    void failedConnectionsAreSilent_data();
    void failedConnectionsAreSilent();
    void serverClosingTurnsStatusRedWithoutReconnecting();
    void disconnectButtonAndQuitting();
    void transmitAndReceive_data();
    void transmitAndReceive();
    void dtmfHandOver_data();
    void dtmfHandOver();
    void frequencyRequest();
    void genericStepsOnlyOnGenericModel();
    void messageArrivingDuringRadioWaitIsHandledAfter();
    void lineSplitAcrossReadsIsHandledWhole_data();
    void lineSplitAcrossReadsIsHandledWhole();
    void slowExchangeLeavesTheNextTailItsWait();
    void openMessageBoxHoldsNothingBack();
    void reconnectsAfterADropAndAfterALateStart();
    void noTriesAfterDisconnectAndBoundedBackoff();
    void serverLossReleasesTheTransmitterItKeyed_data();
    void serverLossReleasesTheTransmitterItKeyed();
    void serverDroppingAtOnceIsTriedLessAndLoggedOnce();
    void longStreamWithoutLineEndsStaysBounded();
};

void TestServerLink::connectsAtStartOnlyWhenAsked()
{
    LinkedStation manual;
    QVERIFY(!manual.link().isConnecting());
    QVERIFY(!manual.station().state.ServerConnected);
    QCOMPARE(manual.main().StaticTextIPConnect->text(), NotConnected);

    LinkedStation automatic({QStringLiteral("CONNECT=1")});
    QVERIFY(automatic.server.waitForClient());
    QTRY_VERIFY(automatic.station().state.ServerConnected);
    const StationState &state = automatic.station().state;
    QCOMPARE(state.ServerStatus, 1);
    QCOMPARE(automatic.main().StaticTextIPConnect->text(), Connected);
    QVERIFY(isGreen(automatic.main().StaticTextIPConnect));
    QVERIFY(automatic.station().server->session().pollTimer().isActive());
    QCOMPARE(automatic.station().server->session().pollTimer().interval(), 500);
    QCOMPARE(manual.server.connections(), 0);
}

void TestServerLink::connectWhileConnectedDoesNothing()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    s.dialog().ButtonConnect->click();
    QVERIFY(!s.link().isConnecting());
    // A round trip proves the first connection still carries the traffic.
    QVERIFY(s.deliver("FREQUENCY\r\n"));
    QCOMPARE(s.server.waitForLines(1), QList<QByteArray>{"145.225000"});
    QCOMPARE(s.server.connections(), 1);
}

void TestServerLink::failedConnectionsAreSilent_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("portShift");  // added to a port nobody listens on, or to the peer's
    QTest::addColumn<QString>("reason"); // how the logged reason starts

    QTest::newRow("refused") << QStringLiteral("127.0.0.1") << 0
                             << QStringLiteral("Connection refused");
    QTest::newRow("address part above 255") << QStringLiteral("300.0.0.1") << 0 << QString();
    QTest::newRow("empty host") << QString() << 0 << QStringLiteral("no server address");
    // 16 bits of the peer's port plus 65536: must not wrap round onto the peer.
    QTest::newRow("port above 65535")
        << QStringLiteral("127.0.0.1") << 65536 << QStringLiteral("port ");
    QTest::newRow("port 0") << QStringLiteral("127.0.0.1") << -1
                            << QStringLiteral("port 0 out of range");
}

void TestServerLink::failedConnectionsAreSilent()
{
    QFETCH(QString, host);
    QFETCH(int, portShift);
    LinkedStation s;
    int port = 0;
    if (portShift == 65536) {
        port = s.server.port() + 65536;
    } else if (portShift == -1) {
        port = 0;
    } else {
        QTcpServer closed; // a port that was free a moment ago and is closed again
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    }
    s.station().IdTCPClient.host = host;
    s.station().IdTCPClient.port = port;
    s.dialog().ButtonConnect->click();
    QTRY_VERIFY_WITH_TIMEOUT(!s.link().isConnecting(), 5000);
    QVERIFY(!s.link().isConnected());
    QVERIFY(!s.station().state.ServerConnected);
    QCOMPARE(s.station().state.ServerStatus, 0);
    QCOMPARE(s.main().StaticTextIPConnect->text(), NotConnected);
    QVERIFY(isRed(s.main().StaticTextIPConnect));
    QVERIFY(!s.station().server->session().pollTimer().isActive());
    QCOMPARE(s.fixture.notifier.messages, QStringList());
    QCOMPARE(s.fixture.notifier.beeps, 0);
    QCOMPARE(s.server.connections(), 0);
    // Silent to the operator, but the log says why, once per Connect.
    const auto failures = [&s] {
        return s.station().log.lines().filter(QStringLiteral(" Server connection failed: "));
    };
    QCOMPARE(failures().size(), 1);
    QFETCH(QString, reason);
    QVERIFY2(failures().first().contains(QStringLiteral("failed: ") + reason),
             qPrintable(failures().first()));
    s.dialog().ButtonConnect->click();
    QTRY_VERIFY_WITH_TIMEOUT(!s.link().isConnecting() && failures().size() == 2, 5000);
}

void TestServerLink::serverClosingTurnsStatusRedWithoutReconnecting()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    s.main().StaticTextDTMF->setText(QStringLiteral("123"));

    s.server.closeClient();
    QTRY_VERIFY(!s.station().state.ServerConnected);
    QCOMPARE(s.station().state.ServerStatus, 0);
    QCOMPARE(s.main().StaticTextIPConnect->text(), NotConnected);
    QVERIFY(isRed(s.main().StaticTextIPConnect));
    QCOMPARE(s.main().StaticTextDTMF->text(), QString());
    QVERIFY(!s.station().server->session().pollTimer().isActive());
    QVERIFY(!s.link().isConnecting());
    QVERIFY(
        !s.station().server->session().isReconnecting()); // reconnection is off unless asked for
    const auto logged = [&s](const QString &text) {
        return s.station().log.lines().filter(QRegularExpression(" " + text + "$")).size();
    };
    QCOMPARE(logged(QStringLiteral("Server connected")), 1);
    QCOMPARE(logged(QStringLiteral("Server connection lost")), 1);

    // The next Connect is the operator's.
    s.dialog().ButtonConnect->click();
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QCOMPARE(s.server.connections(), 2);
    QCOMPARE(logged(QStringLiteral("Server connected")), 2);
}

void TestServerLink::disconnectButtonAndQuitting()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    s.dialog().ButtonDisconnect->click();
    QVERIFY(!s.station().state.ServerConnected);
    QVERIFY(!s.station().server->session().pollTimer().isActive());
    QCOMPARE(s.main().StaticTextIPConnect->text(), NotConnected);
    QVERIFY(s.server.waitForClientGone());
    // The operator's own Disconnect is no loss.
    QCOMPARE(s.station().log.lines().filter(QStringLiteral("Server connection lost")).size(), 0);

    s.dialog().ButtonConnect->click();
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    s.station().MenuQuitterClick();
    QVERIFY(!s.station().state.ServerConnected);
    QVERIFY(s.server.waitForClientGone());
    QCOMPARE(s.fixture.terminations, 1);
}

void TestServerLink::transmitAndReceive_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<bool>("transmittingBefore");
    QTest::addColumn<bool>("transmittingAfter");
    QTest::addColumn<int>("presses");

    QTest::newRow("R on RIGHT keys")
        << QByteArray("TRANSMIT_R\r\n") << "RIGHT" << false << true << 1;
    QTest::newRow("L on RIGHT ignored")
        << QByteArray("TRANSMIT_L\r\n") << "RIGHT" << false << false << 0;
    QTest::newRow("L on LEFT keys") << QByteArray("TRANSMIT_L\r\n") << "LEFT" << false << true << 1;
    QTest::newRow("R on BOTH keys") << QByteArray("TRANSMIT_R\r\n") << "BOTH" << false << true << 1;
    QTest::newRow("L on BOTH keys") << QByteArray("TRANSMIT_L\r\n") << "BOTH" << false << true << 1;
    QTest::newRow("R on LEFT ignored")
        << QByteArray("TRANSMIT_R\r\n") << "LEFT" << false << false << 0;
    QTest::newRow("receive R unkeys")
        << QByteArray("RECEIVE_R\r\n") << "RIGHT" << true << false << 1;
    QTest::newRow("receive L on RIGHT ignored")
        << QByteArray("RECEIVE_L\r\n") << "RIGHT" << true << true << 0;
    QTest::newRow("transmit while transmitting")
        << QByteArray("TRANSMIT_R\r\n") << "RIGHT" << true << true << 0;
    QTest::newRow("receive while receiving")
        << QByteArray("RECEIVE_R\r\n") << "RIGHT" << false << false << 0;
    QTest::newRow("no line end still acts")
        << QByteArray("TRANSMIT_R") << "RIGHT" << false << true << 1;
    QTest::newRow("receive then transmit in one read keys")
        << QByteArray("RECEIVE_L\r\nTRANSMIT_L\r\n") << "LEFT" << false << true << 1;
    QTest::newRow("transmit then receive in one read ends unkeyed")
        << QByteArray("TRANSMIT_L\r\nRECEIVE_L\r\n") << "LEFT" << false << false << 2;
    QTest::newRow("frequency wins within a line")
        << QByteArray("TRANSMIT_R FREQUENCY\r\n") << "RIGHT" << false << false << 0;
    QTest::newRow("lower case ignored")
        << QByteArray("transmit_r\r\n") << "RIGHT" << false << false << 0;
}

void TestServerLink::transmitAndReceive()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QString, channel);
    QFETCH(bool, transmittingBefore);
    QFETCH(bool, transmittingAfter);
    QFETCH(int, presses);

    LinkedStation s({QStringLiteral("CONNECT=1"), QStringLiteral("CHANNEL=") + channel});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QAbstractButton *transmit = s.main().SpeedButtonTX16TX;
    if (transmittingBefore)
        transmit->click();
    QCOMPARE(s.keyed(), transmittingBefore);

    // Each change of the keying, as the panel's toggle shows it.
    QSignalSpy pressed(&s.station().genericTx->radio().state(), &RadioState::keyedChanged);
    QVERIFY(s.deliver(chunk));
    QCOMPARE(s.keyed(), transmittingAfter);
    QCOMPARE(pressed.count(), presses);
}

void TestServerLink::dtmfHandOver_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<QStringList>("handed");

    QTest::newRow("digits") << QByteArray("1234\r\n") << QStringList{"1234|1234"};
    QTest::newRow("hash") << QByteArray("12#\r\n") << QStringList{"12#|12#"};
    QTest::newRow("letters and star") << QByteArray("*AbD\r\n") << QStringList{"*AbD|*AbD"};
    QTest::newRow("lone LF after one digit") << QByteArray("1\n") << QStringList{};
    QTest::newRow("lone LF after two digits") << QByteArray("12\n") << QStringList{"1|1"};
    QTest::newRow("two lines in one read") << QByteArray("1\r\n2\r\n") << QStringList{"1|1", "2|2"};
    QTest::newRow("exactly two characters") << QByteArray("12") << QStringList{};
    QTest::newRow("bare line end") << QByteArray("\r\n") << QStringList{};
    QTest::newRow("not a DTMF character") << QByteArray("12E\r\n") << QStringList{};
    QTest::newRow("lower-case keyword") << QByteArray("frequency\r\n") << QStringList{};
    QTest::newRow("keyword line then DTMF line")
        << QByteArray("SMETER\r\n55\r\n") << QStringList{"55|55"};
    QTest::newRow("keyword in the same line") << QByteArray("ZZZZZ55\r\n") << QStringList{};
}

void TestServerLink::dtmfHandOver()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QStringList, handed);

    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QVERIFY(s.deliver(chunk));
    QCOMPARE(s.dtmf, handed);
    QCOMPARE(s.reports, 0);
    QCOMPARE(s.server.received(), QByteArray());
}

void TestServerLink::frequencyRequest()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    QVERIFY(s.deliver("frequency\r\n"));
    QCOMPARE(s.reports, 0);

    s.station().state.CurrentFrequency = QStringLiteral("145.500000");
    QVERIFY(s.deliver("FREQUENCY\r\n"));
    QCOMPARE(s.reports, 1);
    QCOMPARE(s.server.waitForLines(1), QList<QByteArray>{"145.500000"});
    QLineEdit *status = s.main().StaticTextIPConnect;
    QVERIFY2(status->text().startsWith(QStringLiteral("F=145.500000/")),
             qPrintable(status->text()));
    // The time of day follows, with hours, minutes and seconds.
    QVERIFY2(status->text().count(QLatin1Char(':')) >= 2, qPrintable(status->text()));
    QVERIFY(isGreen(status)); // the colour stays that of the connection

    // Two requests in one read get two answers.
    QVERIFY(s.deliver("FREQUENCY\r\nFREQUENCY\r\n"));
    QCOMPARE(s.server.waitForLines(3).size(), 3);

    // The answer goes nowhere once disconnected, and nothing fails.
    s.dialog().ButtonDisconnect->click();
    s.station().server->session().sendToServer(QStringLiteral("145.500000\r\n"));
    QCOMPARE(s.server.received().count("\r\n"), 3);
}

void TestServerLink::genericStepsOnlyOnGenericModel()
{
    for (const QString &model : {QStringLiteral("TX16UD"), QStringLiteral("TMD710")}) {
        LinkedStation s({QStringLiteral("CONNECT=1")}, model);
        if (model != QLatin1String("TX16UD"))
            s.dialog().ButtonConnect->click(); // a Kenwood connects after its port opened
        QVERIFY(s.server.waitForClient());
        QTRY_VERIFY(s.station().state.ServerConnected);
        QSignalSpy steps(&s.station().genericTx->stepper(), &ChannelStepper::arrowPressed);
        const int channel = s.station().state.Tx16Channel;
        QVERIFY(s.deliver("GENERIC_U\r\n"));
        QVERIFY(s.deliver("GENERIC_D\r\n"));
        if (model == QLatin1String("TX16UD")) {
            QCOMPARE(steps.count(), 2);
            QCOMPARE(steps.at(0).at(0).toBool(), true);
            QCOMPARE(steps.at(1).at(0).toBool(), false);
            // The step up was taken, the step down fell in its lock-out: the panel's arrows and
            // channel display show the next channel.
            QCOMPARE(s.station().state.Tx16Channel, channel + 1);
            QCOMPARE(s.main().LCD99TX->channel(), channel + 1);
            QCOMPARE(s.main().UpDownTX->position(), channel + 1);
        } else {
            QCOMPARE(steps.count(), 0);
        }
    }
}

void TestServerLink::messageArrivingDuringRadioWaitIsHandledAfter()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    // The frequency request waits for the radio with the event loop running, as a serial
    // exchange does; a DTMF line arrives meanwhile, is read, and waits for its turn, however
    // often the link is polled meanwhile.
    s.station().server->session().setPollPeriodMs(20);
    QSignalSpy polls(&s.station().server->session().pollTimer(), &QTimer::timeout);
    QStringList order;
    bool polledTwice = false;
    s.station().server->session().dispatcher().reportFrequencyToServer = [&]() -> QCoro::Task<> {
        order << QStringLiteral("radio wait begins");
        s.server.send("1234\r\n");
        const bool arrived =
            QTest::qWaitFor([&] { return s.station().requests.waitingCount() > 0; }, 5000);
        const qsizetype polled = polls.count();
        polledTwice = QTest::qWaitFor([&] { return polls.count() >= polled + 2; }, 5000);
        order << QStringLiteral("radio wait ends, data waiting: %1").arg(arrived);
        s.station().server->session().sendToServer(QStringLiteral("145.225000\r\n"));
        co_return;
    };
    s.station().server->session().dispatcher().receiveDtmf =
        [&](const QString &chars) -> QCoro::Task<> {
        order << chars;
        co_return;
    };

    s.server.send("FREQUENCY\r\n");
    QTRY_COMPARE(order.size(), 3);
    QCOMPARE(order, (QStringList{"radio wait begins", "radio wait ends, data waiting: 1", "1234"}));
    QVERIFY(polledTwice);
    QCOMPARE(s.server.waitForLines(1), QList<QByteArray>{"145.225000"});
}

void TestServerLink::lineSplitAcrossReadsIsHandledWhole_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces"); // each sent once the last was read
    QTest::addColumn<int>("reports");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<QStringList>("handed");
    QTest::newRow("FREQ|UENCY") << QList<QByteArray>{"FREQ", "UENCY\r\n"} << 1 << false
                                << QStringList{};
    QTest::newRow("TRANSMIT_|R") << QList<QByteArray>{"TRANSMIT_", "R\r\n"} << 0 << true
                                 << QStringList{};
    QTest::newRow("12|30 15") << QList<QByteArray>{"12", "30\r\n15\r\n"} << 0 << false
                              << QStringList{"1230|1230", "15|15"};
    QTest::newRow("CR|LF") << QList<QByteArray>{"1234\r", "\n"} << 0 << false
                           << QStringList{"1234|1234"};
    QTest::newRow("no continuation")
        << QList<QByteArray>{"TRANSMIT_R"} << 0 << true << QStringList{};
}

void TestServerLink::lineSplitAcrossReadsIsHandledWhole()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(int, reports);
    QFETCH(bool, keyed);
    QFETCH(QStringList, handed);
    LinkedStation s({QStringLiteral("CONNECT=1")});
    // The whole wait: the next piece surely comes within it.
    s.station().server->session().setLineTailWaitMs(ServerSession::LineTailWaitMs);
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    for (const QByteArray &piece : pieces) {
        s.fixture.clearTraffic();
        s.server.send(piece);
        QVERIFY(s.fixture.waitForTraffic(QString::fromLatin1(piece)));
    }
    // A tail is never handled before its wait is over.
    if (!pieces.constLast().endsWith("\r\n"))
        QVERIFY(!s.keyed());
    // Each row expects at least one of these to change; a line taken in two halves never
    // makes it.
    QTRY_COMPARE(s.reports, reports);
    QTRY_COMPARE(s.keyed(), keyed);
    QTRY_COMPARE(s.dtmf, handed);
}

// A read that ends one split line and starts another, and whose line waits for a slow radio: the
// new tail gets its whole wait after that exchange, not what was left of the old tail's.
void TestServerLink::slowExchangeLeavesTheNextTailItsWait()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    constexpr int Tail = 90;
    s.station().server->session().setLineTailWaitMs(Tail);
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    s.station().server->session().dispatcher().reportFrequencyToServer = [&]() -> QCoro::Task<> {
        ++s.reports;
        // A radio answering slowly, the event loop running: longer than a tail's wait.
        QTest::qWait(Tail + 10);
        s.station().server->session().sendToServer(QStringLiteral("145.225000\r\n"));
        s.server.send("R\r\n");
        co_return;
    };
    s.server.send("FREQ");
    QVERIFY(s.fixture.waitForTraffic(QStringLiteral("FREQ")));
    s.server.send("UENCY\r\nTRANSMIT_");
    QTRY_COMPARE(s.reports, 1);
    QTRY_VERIFY(s.keyed());
}

// The desktop's own boxes: a failed save's box, opened while a server line is handled, stays on
// screen while the following lines unkey the transmitter and answer a frequency request.
void TestServerLink::openMessageBoxHoldsNothingBack()
{
    MessageBoxNotifier boxes;
    LinkedStation s({QStringLiteral("CONNECT=1"),
                     QStringLiteral("DTMF_CODE=99 : action 99= Initialisation/Sauvegarde")},
                    QStringLiteral("TX16UD"), &boxes);
    boxes.setParent(s.station().windows().Form1.get());
    s.restoreOwnHandlers();
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QVERIFY(QDir(s.fixture.dir.path()).mkdir(QStringLiteral("Ivrelane.~in"))); // the save fails

    QVERIFY(s.deliver("TRANSMIT_R\r\n"));
    QVERIFY(s.keyed());
    s.server.send("99\r\n");
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())));
    QCOMPARE(box->text(), QStringLiteral("Erreur création fichier .ini"));

    s.server.send("RECEIVE_R\r\nFREQUENCY\r\n");
    QTRY_VERIFY(!s.keyed());
    QCOMPARE(s.server.waitForLines(1).size(), 1);
    QVERIFY(box->isVisible());
    // The same fault again raises the open box rather than piling up a second one.
    s.server.send("99\r\n");
    QVERIFY(s.fixture.waitForTraffic(QStringLiteral("99\r\n")));
    QTest::qWait(100);
    QCOMPARE(s.station().windows().Form1->findChildren<QMessageBox *>().size(), 1);
    box->close();
}

// RECONNECT=1, with the delays shortened through the settings the program reads them from.
void TestServerLink::reconnectsAfterADropAndAfterALateStart()
{
    const QStringList reconnect{QStringLiteral("CONNECT=1"), QStringLiteral("RECONNECT=1")};
    auto shorten = [](Station &station) {
        station.IdTCPClient.retryFirstDelayMs = 100;
        station.IdTCPClient.retryMaxDelayMs = 400;
    };
    auto logged = [](Station &station, const char *text) {
        return station.log.lines()
            .filter(QRegularExpression(QStringLiteral(" %1$").arg(text)))
            .size();
    };
    {
        LinkedStation s(reconnect);
        shorten(s.station());
        QVERIFY(s.server.waitForClient());
        QTRY_VERIFY(s.station().state.ServerConnected);
        QCOMPARE(logged(s.station(), "Server connected"), 1);
        s.server.closeClient();
        QTRY_COMPARE(s.server.connections(), 2);
        QTRY_VERIFY(s.station().state.ServerConnected);
        QCOMPARE(logged(s.station(), "Server connection lost"), 1);
        QCOMPARE(logged(s.station(), "Server connected"), 2);
        QVERIFY(s.station().server->session().pollTimer().isActive());
        QVERIFY(s.deliver("FREQUENCY\r\n"));
        QCOMPARE(s.server.waitForLines(1).size(), 1);
        QVERIFY(s.station().windows().FormIP->ui.CheckBoxReconnect->isChecked());
    }
    // The server starts after the station, on the port the station was told.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    LinkedStation s(reconnect + QStringList{QStringLiteral("PORT=%1").arg(port)});
    shorten(s.station());
    // Tried three times at least: the failure is logged once, with the system's reason.
    QTRY_VERIFY(s.station().server->session().reconnection().lastDelayMs() >= 400);
    QVERIFY(!s.station().state.ServerConnected);
    QCOMPARE(logged(s.station(), "Server connection failed: Connection refused"), 1);
    ServerPeer late(port);
    QVERIFY(late.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QCOMPARE(s.main().StaticTextIPConnect->text(), Connected);
    QCOMPARE(logged(s.station(), "Server connected"), 1);
    QCOMPARE(logged(s.station(), "Server connection lost"), 0); // it was never up before
    QCOMPARE(s.station().log.lines().filter(QStringLiteral("Server connection failed")).size(), 1);
}

void TestServerLink::noTriesAfterDisconnectAndBoundedBackoff()
{
    LinkedStation s({QStringLiteral("CONNECT=1"), QStringLiteral("RECONNECT=1")});
    s.station().IdTCPClient.retryFirstDelayMs = 10;
    s.station().IdTCPClient.retryMaxDelayMs = 40;
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    s.dialog().ButtonDisconnect->click();
    QTest::qWait(100); // ten first delays
    QCOMPARE(s.server.connections(), 1);
    QVERIFY(!s.station().server->session().isReconnecting());

    // Nobody listens any more: each failed try doubles the wait, up to the longest.
    s.station().IdTCPClient.port = 1; // refused at once
    QList<int> delays;
    connect(&s.station().server->session().link(), &ServerLink::attemptFailed, this, [&] {
        QTimer::singleShot(
            0, [&] { delays << s.station().server->session().reconnection().lastDelayMs(); });
    });
    s.dialog().ButtonConnect->click();
    QTRY_VERIFY_WITH_TIMEOUT(delays.size() >= 7, 10'000);
    QCOMPARE(delays.mid(0, 7), (QList<int>{10, 20, 40, 40, 40, 40, 40}));
    s.dialog().ButtonDisconnect->click();
    const int tries = int(delays.size());
    QTest::qWait(100); // more than twice the longest delay
    QCOMPARE(delays.size(), tries);
}

void TestServerLink::serverLossReleasesTheTransmitterItKeyed_data()
{
    QTest::addColumn<QString>("keying");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("released");
    QTest::newRow("server keyed, server closes") << "server"
                                                 << "close" << true;
    QTest::newRow("server keyed, connection reset") << "server"
                                                    << "reset" << true;
    QTest::newRow("server keyed, reconnecting") << "server"
                                                << "reconnect" << true;
    QTest::newRow("server keyed, Disconnect button") << "server"
                                                     << "button" << false;
    QTest::newRow("operator keyed") << "operator"
                                    << "close" << false;
    QTest::newRow("server keyed, operator took over") << "taken over"
                                                      << "close" << false;
    QTest::newRow("server keyed then RECEIVE") << "server then receive"
                                               << "close" << false;
}

// The server that keyed the transmitter goes away: nobody is left to send RECEIVE, so the
// transmitter is released at once, on the control lines too, and the log says why. A keying that
// is not the server's, or an end the operator asked for, leaves the transmitter alone.
void TestServerLink::serverLossReleasesTheTransmitterItKeyed()
{
    QFETCH(QString, keying);
    QFETCH(QString, ending);
    QFETCH(bool, released);
    constexpr quint8 Ptt = 0x08; // control register bit of connector pin 17
    QStringList extra{QStringLiteral("CONNECT=1"), QStringLiteral("CHANNEL=RIGHT")};
    if (ending == QLatin1String("reconnect"))
        extra << QStringLiteral("RECONNECT=1");
    LinkedStation s(extra);
    s.restoreOwnHandlers();
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QAbstractButton *transmit = s.main().SpeedButtonTX16TX;
    const quint8 unkeyed = s.port->control() & Ptt;

    if (keying == QLatin1String("operator")) {
        transmit->click();
    } else {
        QVERIFY(s.deliver("TRANSMIT_R\r\n"));
        if (keying == QLatin1String("taken over")) {
            transmit->click();
            transmit->click();
        } else if (keying == QLatin1String("server then receive")) {
            QVERIFY(s.deliver("RECEIVE_R\r\n"));
            transmit->click();
        }
    }
    QVERIFY(s.keyed());
    QVERIFY((s.port->control() & Ptt) != unkeyed);

    if (ending == QLatin1String("button")) {
        s.dialog().ButtonDisconnect->click();
    } else {
        if (ending == QLatin1String("reset"))
            s.server.resetClient();
        else
            s.server.closeClient();
    }
    QTRY_VERIFY(!s.station().state.ServerConnected);
    if (released) {
        QTRY_VERIFY(!s.keyed());
        QCOMPARE(s.port->control() & Ptt, unkeyed);
        const QStringList &lines = s.station().log.lines();
        QCOMPARE(
            lines.filter(QStringLiteral(" Server connection lost: transmitter released")).size(),
            1);
        // One line for the one loss.
        QCOMPARE(
            lines.filter(QRegularExpression(QStringLiteral(" Server connection lost$"))).size(), 0);
    } else {
        // A release would have been asked for with the loss: it would be done by now.
        QTRY_VERIFY(s.station().requests.isIdle());
        QVERIFY(s.keyed());
        QVERIFY((s.port->control() & Ptt) != unkeyed);
        QCOMPARE(s.station().log.lines().filter(QStringLiteral("transmitter released")).size(), 0);
        transmit->click();
    }
    if (ending == QLatin1String("reconnect")) {
        // Released once: the next connection and its loss find nothing to release.
        QTRY_VERIFY(s.station().state.ServerConnected);
        s.server.closeClient();
        QTRY_VERIFY(!s.station().state.ServerConnected);
        QCOMPARE(s.station().log.lines().filter(QStringLiteral("transmitter released")).size(), 1);
    }
}

// A server that accepts and drops each connection at once: the tries still wait longer and
// longer, since no connection stays up, and the log says so once instead of twice a try. A
// connection that stays up starts the delays from the first one again.
void TestServerLink::serverDroppingAtOnceIsTriedLessAndLoggedOnce()
{
    LinkedStation s({QStringLiteral("CONNECT=1"), QStringLiteral("RECONNECT=1")});
    TcpClientSettings &settings = s.station().IdTCPClient;
    settings.retryFirstDelayMs = 20;
    settings.retryMaxDelayMs = 160;
    settings.retryResetAfterMs = 3000;
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    auto logged = [&](const char *text) {
        return s.station()
            .log.lines()
            .filter(QRegularExpression(QStringLiteral(" %1$").arg(text)))
            .size();
    };
    QList<int> delays;
    connect(&s.station().server->session().link(), &ServerLink::disconnected, this, [&] {
        QTimer::singleShot(
            0, [&] { delays << s.station().server->session().reconnection().lastDelayMs(); });
    });

    s.server.setCloseAtOnce(true);
    s.server.closeClient();
    QTRY_VERIFY_WITH_TIMEOUT(delays.size() >= 7, 10'000);
    QCOMPARE(delays.mid(0, 7), (QList<int>{20, 40, 80, 160, 160, 160, 160}));
    QCOMPARE(logged("Server connection lost"), 1);
    QCOMPARE(logged("Server connected"), 2); // at start, and the first return

    // Once the time between two identical lines has passed, the next loss is logged again.
    settings.lossLogRepeatMs = 0;
    const int before = logged("Server connection lost");
    QTRY_VERIFY(logged("Server connection lost") > before);

    // A connection that stays up long enough: the next loss is tried again after the first delay.
    settings.lossLogRepeatMs = 60'000;
    s.server.setCloseAtOnce(false);
    QTRY_VERIFY_WITH_TIMEOUT(s.station().state.ServerConnected, 5000);
    settings.retryResetAfterMs = 50;
    QTest::qWait(2 * settings.retryResetAfterMs);
    QVERIFY(s.station().state.ServerConnected);
    delays.clear();
    s.server.closeClient();
    QTRY_VERIFY(!delays.isEmpty());
    QCOMPARE(delays.first(), 20);
    QTRY_VERIFY(s.station().state.ServerConnected);
    settings.retryResetAfterMs = 3000;

    // The server goes for good after a loss left unlogged: the log does not end on a return that
    // did not last; the loss is logged once its time has come.
    settings.lossLogRepeatMs = 0;
    const int lost = logged("Server connection lost");
    s.server.closeClient();
    QTRY_VERIFY(logged("Server connection lost") > lost);
    QTRY_VERIFY(s.station().state.ServerConnected);
    QVERIFY(s.station().log.lines().last().endsWith(QStringLiteral(" Server connected")));
    settings.lossLogRepeatMs = 60'000;
    settings.port = 1; // refused from now on
    const int lossesLogged = logged("Server connection lost");
    QList<int> failures;
    connect(&s.station().server->session().link(), &ServerLink::attemptFailed, this,
            [&] { failures << 1; });
    s.server.closeClient();
    QTRY_VERIFY(failures.size() >= 2);
    QCOMPARE(logged("Server connection lost"), lossesLogged);
    QVERIFY(s.station().log.lines().last().endsWith(QStringLiteral(" Server connected")));
    settings.lossLogRepeatMs = 0;
    QTRY_VERIFY(s.station().log.lines().last().endsWith(QStringLiteral(" Server connection lost")));
}

void TestServerLink::longStreamWithoutLineEndsStaysBounded()
{
    LinkedStation s({QStringLiteral("CONNECT=1")});
    QVERIFY(s.server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    QByteArray flood(10 * 1024 * 1024, 'x');
    flood.append("END");
    s.server.send(flood);
    QVERIFY(s.fixture.waitForTraffic(QStringLiteral("xEND"), 60000));
    QVERIFY(s.main().EditTXdata->text().size() <= TrafficDisplay::Capacity);
    QCOMPARE(s.dtmf, QStringList());

    // The link is still in working order afterwards, once the flood's unfinished end has had
    // its wait for a line end.
    QTest::qWait(3 * TailWaitMs);
    QVERIFY(s.deliver("1234\r\n"));
    QCOMPARE(s.dtmf, QStringList{"1234|1234"});
    QVERIFY(s.station().state.ServerConnected);
}

QTEST_MAIN(TestServerLink)
#include "tst_server_link.moc"

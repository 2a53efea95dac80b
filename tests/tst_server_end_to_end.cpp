#include "app/GenericTxWiring.h"
#include "app/KenwoodWiring.h"
#include "app/ServerWiring.h"
#include "app/Station.h"
#include "generic_tx/GenericTxRadio.h"
#include "radio/RadioState.h"
#include "service/StatusReport.h"
#include "support/GenericTxFixture.h"
#include "support/RelaySimProcess.h"
#include "support/RigSimStation.h"
#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/UnitTMD700.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

constexpr int InitTimeoutMs = 30'000;

const QString Code1230 = QStringLiteral("1230 : action 07= Mémoire Nnn sur TXA (Kenwood)");

// The texts of the log lines from `from` on, without their time stamps.
QStringList loggedSince(const Station &station, qsizetype from)
{
    QStringList texts;
    const QStringList &lines = station.log.lines();
    for (qsizetype i = from; i < lines.size(); ++i) {
        for (const char *word : {" Code ", " MEM "}) {
            const qsizetype at = lines.at(i).indexOf(QLatin1String(word));
            if (at >= 0) {
                texts << lines.at(i).mid(at + 1);
                break;
            }
        }
    }
    return texts;
}

// relaysim -> the station -> rigsim on a /dev-style link, everything real: the station connects
// to relaysim by itself once its radio is initialised.
struct Road : RigSimStation
{
    RelaySimProcess server;

    Station &start(const QString &model, const QStringList &rigArguments = {},
                   const QStringList &configuration = {})
    {
        if (server.start() == 0)
            qFatal("relaysim did not start");
        return RigSimStation::start(
            model, QStringList{"--model", model, "--memories", "20"} + rigArguments,
            StationFixture::serverLines(server.port()) + QStringList{"DTMF_CODE=" + Code1230} +
                configuration);
    }

    Ui::TForm1 &main() { return station().windows().Form1->ui; }
    const RadioState &radio() { return station().radios.current()->state(); }

    // Sends a line and waits until the station has taken it: it goes to the traffic line, which
    // the radio's replies to it may follow.
    bool deliver(const QByteArray &line)
    {
        fixture.clearTraffic();
        server.sendLine(line);
        return fixture.waitForTraffic(QString::fromLatin1(line) + QStringLiteral("\r\n"));
    }
};

} // namespace

class TestServerEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void dtmfCodeSelectsMemoryThenFrequencyIsAnswered();
    void transmitAndReceiveReachTheRadio();
    void serverGoneUnkeysTheRadio();
    void statusCountsKeyingsAndReconnections();
    void transmitQueuedBehindASlowRadioEndsUnkeyedWhenTheServerGoes();
    void radioNotAnsweringIsNotKeyed();
    void requestsRunWholeAndInOrderBehindASlowRadio();
    void frequencyWhileScanning();
    void strayAndLateRepliesNeverShiftTheAnswers_data();
    void strayAndLateRepliesNeverShiftTheAnswers();
    void failedPortMakesNoAutomaticConnection();
    void genericTransmitterObeysTheServer();
};

void TestServerEndToEnd::dtmfCodeSelectsMemoryThenFrequencyIsAnswered()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"));
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    QCOMPARE(station.state.RigStatus, 3); // connected only after the initialisation
    const qsizetype logStart = station.log.lines().size();

    road.server.sendLine("1230");
    road.server.sendLine("15");
    QVERIFY2(road.radioReceived(QStringLiteral("MR 0,015")), qPrintable(road.rig.logText()));
    QTRY_COMPARE(loggedSince(station, logStart),
                 (QStringList{QStringLiteral("Code ") + Code1230, QStringLiteral("MEM A=015")}));
    QVERIFY(road.server.received().isEmpty()); // nothing is acknowledged

    road.server.sendLine("FREQUENCY");
    // Channel 015 of the simulated radio: the fifth pattern entry one round up.
    QCOMPARE(road.server.waitForReceived(1), QStringLiteral("145.442500"));
    QVERIFY(road.radio().band(0).memoryText.startsWith(QStringLiteral("015=145.442500")));
    QTRY_VERIFY(
        road.main().StaticTextIPConnect->text().startsWith(QStringLiteral("F=145.442500/")));

    // Memory 012, chosen in one DTMF report this time, is answered the same way.
    road.server.sendLine("123012");
    QVERIFY(road.radioReceived(QStringLiteral("MR 0,012")));
    road.server.sendLine("FREQUENCY");
    QCOMPARE(road.server.waitForReceived(2), QStringLiteral("145.512500"));
    QVERIFY(road.radio().band(0).memoryText.startsWith(QStringLiteral("012=145.512500")));
}

void TestServerEndToEnd::transmitAndReceiveReachTheRadio()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"), {}, {QStringLiteral("CHANNEL=RIGHT")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);

    QVERIFY(road.deliver("TRANSMIT_L")); // the other channel's message: ignored
    QVERIFY(road.deliver("TRANSMIT_R"));
    QVERIFY(road.radioReceived(QStringLiteral("TX")));
    QVERIFY(road.radio().keyed());
    QVERIFY(road.deliver("RECEIVE_R"));
    QVERIFY(road.radioReceived(QStringLiteral("RX"), 2)); // the first at start-up
    QVERIFY(!road.radio().keyed());
    QCOMPARE(road.rig.receivedCommands().count(QStringLiteral("TX")), 1);

    // Transmit then receive in one read ends unkeyed, on the radio as on the panel.
    road.server.sendLine(QByteArrayLiteral("raw TRANSMIT_R\\r\\nRECEIVE_R\\r\\n"));
    QVERIFY(road.radioReceived(QStringLiteral("RX"), 3)); // the first at start-up
    QVERIFY(!road.radio().keyed());
    const QStringList commands = road.rig.receivedCommands();
    QCOMPARE(commands.mid(commands.size() - 2), (QStringList{"TX", "RX"}));

    QVERIFY(road.deliver("GENERIC_U")); // not for a Kenwood
    QCOMPARE(road.rig.receivedCommands(), commands);
}

// The server goes away while its TRANSMIT keeps the radio keyed: nobody is left to send RECEIVE,
// so the radio is sent RX at once rather than at the transmit time-out, and the log says why.
void TestServerEndToEnd::serverGoneUnkeysTheRadio()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"), {}, {QStringLiteral("CHANNEL=RIGHT")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    QVERIFY(road.deliver("TRANSMIT_R"));
    QVERIFY(road.radioReceived(QStringLiteral("TX")));
    const int unkeys = int(road.rig.receivedCommands().count(QStringLiteral("RX")));

    road.server.sendLine("@close");
    QVERIFY2(road.radioReceived(QStringLiteral("RX"), unkeys + 1), qPrintable(road.rig.logText()));
    QVERIFY(!road.radio().keyed());
    QTRY_VERIFY(!station.state.ServerConnected);
    QCOMPARE(station.log.lines()
                 .filter(QStringLiteral(" Server connection lost: transmitter released"))
                 .size(),
             1);
}

// The status file counts what happened since start: two keyings by the server, the loss of the
// server's link and its automatic reconnection; the file on disk follows within seconds.
void TestServerEndToEnd::statusCountsKeyingsAndReconnections()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"), {},
                                  {QStringLiteral("CHANNEL=RIGHT"), QStringLiteral("RECONNECT=1")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(road.deliver("TRANSMIT_R"));
        QVERIFY(road.radioReceived(QStringLiteral("TX"), i + 1));
        QVERIFY(road.deliver("RECEIVE_R"));
        QVERIFY(road.radioReceived(QStringLiteral("RX"), i + 2)); // the first at start-up
    }
    road.server.sendLine("@close");
    QTRY_VERIFY(!station.state.ServerConnected);
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY_WITH_TIMEOUT(station.state.ServerConnected, 10'000);

    const QJsonObject counters = station.status->snapshot().value("counters").toObject();
    QCOMPARE(counters.value("keyings").toInt(), 2);
    QCOMPARE(counters.value("serverReconnections").toInt(), 1);
    QCOMPARE(counters.value("transmitTimeouts").toInt(), 0);
    QCOMPARE(counters.value("radioFaults").toInt(), 0);
    const QString file = QDir(station.directory()).filePath(StatusReport::FileName);
    QTRY_VERIFY_WITH_TIMEOUT(TestFiles::readBytes(file).contains("\"serverReconnections\": 1"),
                             5000);
    const QJsonObject written = QJsonDocument::fromJson(TestFiles::readBytes(file)).object();
    QCOMPARE(written.value("model").toString(), QStringLiteral("TMD710"));
    QCOMPARE(written.value("keyed").toBool(), false);
    QCOMPARE(written.value("counters").toObject().value("keyings").toInt(), 2);
    QVERIFY(written.value("server").toObject().value("connected").toBool());
}

// A TRANSMIT queued behind a slow exchange when the server goes: whether it is carried out
// before the loss is noticed (and then released) or after (and then refused), the radio ends
// unkeyed, since nobody is left to send RECEIVE.
void TestServerEndToEnd::transmitQueuedBehindASlowRadioEndsUnkeyedWhenTheServerGoes()
{
    Road road;
    Station &station =
        road.start(QStringLiteral("TMD710"), {"--control"}, {QStringLiteral("CHANNEL=RIGHT")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    const int scans = int(road.rig.receivedCommands().count(QStringLiteral("SC")));
    road.rig.order("late SC 2000");
    road.server.sendLine("FREQUENCY");
    QVERIFY(road.radioReceived(QStringLiteral("SC"), scans + 1));
    road.server.sendLine("TRANSMIT_R");
    road.server.sendLine("@close");
    QTRY_VERIFY_WITH_TIMEOUT(!station.state.ServerConnected, 10'000);
    QTRY_VERIFY_WITH_TIMEOUT(road.rig.logText().contains(QLatin1String(" > SC 0")), 10'000);
    // Whatever was read from the gone link has been carried out.
    QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle() && !station.kenwood->link().isBusy(),
                             10'000);
    QVERIFY(!road.radio().keyed());
    const QStringList commands = road.rig.receivedCommands();
    QVERIFY2(commands.lastIndexOf(QStringLiteral("TX")) <
                 commands.lastIndexOf(QStringLiteral("RX")),
             qPrintable(road.rig.logText().right(400)));
}

void TestServerEndToEnd::radioNotAnsweringIsNotKeyed()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"), {"--id", "TM-D700"});
    // The model check fails, the radio counts as not answering, and the link still comes up.
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    QVERIFY(!station.state.RigAnswering);
    const QStringList before = road.rig.receivedCommands();
    QVERIFY(road.deliver("TRANSMIT_R"));
    QCOMPARE(road.rig.receivedCommands(), before);
    // A radio the program cannot trust may be keyed unknown to it: RECEIVE still unkeys it.
    QVERIFY(road.deliver("RECEIVE_R"));
    QVERIFY(road.radioReceived(QStringLiteral("RX"), 2));
    QCOMPARE(road.rig.receivedCommands(), before + QStringList{QStringLiteral("RX")});
}

// The radio is slow and holds a reply back further while server messages, DTMF codes and clicks
// come: each request runs whole, in the order it came, and a RECEIVE goes right after the exchange
// in flight, the keying that waited behind it dropped.
void TestServerEndToEnd::requestsRunWholeAndInOrderBehindASlowRadio()
{
    Road road;
    Station &station =
        road.start(QStringLiteral("TMD710"),
                   {QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("--control")},
                   {QStringLiteral("CHANNEL=RIGHT")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    QTRY_VERIFY(station.requests.isIdle());
    Ui::TForm1 &ui = road.main();
    const qsizetype logStart = station.log.lines().size();
    auto sentSince = [&road](qsizetype from) { return road.rig.receivedCommands().mid(from); };

    // Band B's memory mode waits for its first reply; a DTMF code, a click and FREQUENCY come.
    qsizetype from = road.rig.receivedCommands().size();
    road.rig.order("late VM 1,1 1000");
    ui.SpeedButtonMEMB->click();
    QVERIFY(QTest::qWaitFor([&] { return sentSince(from).contains(QStringLiteral("VM 1,1")); }));
    QVERIFY(road.deliver("123012"));
    ui.SpeedButtonVFOB->click();
    QVERIFY(road.deliver("FREQUENCY"));
    // The frequency of memory 012: FREQUENCY ran after the code.
    QCOMPARE(road.server.waitForReceived(1), QStringLiteral("145.512500"));
    QTRY_VERIFY(station.requests.isIdle());
    QCOMPARE(sentSince(from),
             (QStringList{"VM 1,1", "MR 1,003", "VM 0,1", "MR 0,012", "VM 1,0", "SC", "MR 0"}));

    // Keyed by the server; a DTMF code waits for its first reply, a TRANSMIT and FREQUENCY wait
    // behind it, then RECEIVE comes.
    QVERIFY(road.deliver("TRANSMIT_R"));
    QVERIFY(QTest::qWaitFor([&] { return sentSince(from).contains(QStringLiteral("TX")); }));
    from = road.rig.receivedCommands().size();
    road.rig.order("late VM 0,1 1000");
    road.server.sendLine("123015"); // runs at once, and clears the traffic line as it starts
    QVERIFY(QTest::qWaitFor([&] { return sentSince(from).contains(QStringLiteral("VM 0,1")); }));
    QVERIFY(road.deliver("TRANSMIT_R"));
    QVERIFY(road.deliver("FREQUENCY"));
    QVERIFY(road.deliver("RECEIVE_R"));
    QCOMPARE(road.server.waitForReceived(2), QStringLiteral("145.442500"));
    QTRY_VERIFY(station.requests.isIdle());
    QCOMPARE(sentSince(from), (QStringList{"VM 0,1", "RX", "MR 0,015", "SC", "MR 0"}));
    QVERIFY(!road.radio().keyed());
    QCOMPARE(loggedSince(station, logStart),
             (QStringList{QStringLiteral("Code ") + Code1230, QStringLiteral("MEM A=012"),
                          QStringLiteral("Code ") + Code1230, QStringLiteral("MEM A=015")}));

    // Keyed again, and a code held up mid-way when the operator quits: the quit goes right
    // after the exchange in flight, unkeys, stops the scan and ends the program; the rest of
    // the code never reaches the radio.
    from = road.rig.receivedCommands().size();
    QVERIFY(road.deliver("TRANSMIT_R"));
    QVERIFY(QTest::qWaitFor([&] { return sentSince(from).contains(QStringLiteral("TX")); }));
    from = road.rig.receivedCommands().size();
    road.rig.order("late VM 0,1 1000");
    road.server.sendLine("123012");
    QVERIFY(QTest::qWaitFor([&] { return sentSince(from).contains(QStringLiteral("VM 0,1")); }));
    station.MenuQuitterClick();
    QTRY_COMPARE(road.fixture.terminations, 1);
    QCOMPARE(sentSince(from), (QStringList{"VM 0,1", "RX", "SC 0"}));
}

void TestServerEndToEnd::frequencyWhileScanning()
{
    Road road;
    Station &station = road.start(QStringLiteral("TMD700"));
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    road.main().SpeedButtonMEMA->click();
    // The scan toggle is there once the band is on its memory, as for an operator.
    QTRY_VERIFY(road.main().SpeedButtonScanA->isEnabled());
    road.main().SpeedButtonScanA->click();
    QVERIFY(road.radioReceived(QStringLiteral("SC 1")));
    road.server.sendLine("FREQUENCY");
    QCOMPARE(road.server.waitForReceived(1), QStringLiteral("999.999999"));
}

void TestServerEndToEnd::strayAndLateRepliesNeverShiftTheAnswers_data()
{
    QTest::addColumn<bool>("memoryMode");
    QTest::newRow("VFO") << false;
    QTest::newRow("memory 015") << true;
}

// A line the radio sends unasked, and a scan query answered 0.3 s after its exchange gave up
// while the next request's query is on the wire: neither shifts replies onto later commands.
void TestServerEndToEnd::strayAndLateRepliesNeverShiftTheAnswers()
{
    QFETCH(bool, memoryMode);
    Road road;
    Station &station = road.start(QStringLiteral("TMD710"), {QStringLiteral("--control")});
    QVERIFY(road.server.waitForStation(InitTimeoutMs));
    QTRY_VERIFY(station.state.ServerConnected);
    if (memoryMode) {
        road.server.sendLine("123015");
        QVERIFY(road.radioReceived(QStringLiteral("MR 0,015")));
    } else {
        road.main().SpeedButtonVFOA->click();
    }
    const QString right = memoryMode ? QStringLiteral("145.442500") : QStringLiteral("145.225000");
    int answers = 0;
    auto fiveAnsweredRight = [&] {
        for (int i = 0; i < 5; ++i) {
            road.server.sendLine("FREQUENCY");
            const QString answer = road.server.waitForReceived(++answers);
            if (answer != right) {
                qWarning("answer %d: %s\n%s", answers, qPrintable(answer),
                         qPrintable(road.rig.logText()));
                return false;
            }
        }
        return true;
    };
    QVERIFY(fiveAnsweredRight());

    road.rig.order("send BY 0,1");
    QVERIFY(QTest::qWaitFor([&] { return road.rig.logText().contains("(unasked)"); }, 5000));
    QTest::qWait(50);
    QVERIFY(fiveAnsweredRight());

    road.rig.order("late SC 3300");
    road.server.sendLine(QByteArrayLiteral("raw FREQUENCY\\r\\nFREQUENCY\\r\\n"));
    // The first request's scan query timed out: the scan state is unknown.
    QCOMPARE(road.server.waitForReceived(++answers, 15'000), QStringLiteral("999.999999"));
    QCOMPARE(road.server.waitForReceived(++answers, 15'000), right);
    QVERIFY(fiveAnsweredRight());
}

void TestServerEndToEnd::failedPortMakesNoAutomaticConnection()
{
    RelaySimProcess server;
    QVERIFY(server.start() != 0);
    StationFixture fixture;
    Station &station =
        fixture.start(QStringList{"MODEL=TMD710", "COM=" + fixture.path("dev/absent")} +
                      StationFixture::serverLines(server.port()));
    QCOMPARE(station.state.PortStatus, 0);
    // The connection at start hangs on the port-opened timer, which never started.
    QVERIFY(!station.kenwood->radio().initialisationDue());
    QVERIFY(!station.server->session().link().isConnecting());
    QVERIFY(!station.state.ServerConnected);
}

void TestServerEndToEnd::genericTransmitterObeysTheServer()
{
    constexpr quint8 Ptt = 0x08; // control register bit of connector pin 17
    RelaySimProcess server;
    QVERIFY(server.start() != 0);
    GenericTxFixture generic(StationFixture::serverLines(server.port()) +
                             QStringList{"CHANNEL=RIGHT", "MEM003=145.500000 [Relais]"});
    const RadioState &radio = generic.station().genericTx->radio().state();
    QVERIFY(server.waitForStation());
    QTRY_VERIFY(generic.state().ServerConnected);
    QVERIFY(generic.waitUntilQuiet());
    const quint8 unkeyed = generic.port->control() & Ptt;

    auto deliver = [&](const QByteArray &line) {
        generic.fixture.clearTraffic();
        server.sendLine(line);
        return generic.fixture.waitForTraffic(QString::fromLatin1(line) + QStringLiteral("\r\n")) &&
               generic.waitUntilQuiet();
    };

    QVERIFY(deliver("GENERIC_U"));
    QVERIFY(deliver("GENERIC_U"));
    QCOMPARE(radio.currentMemoryText(), QStringLiteral("003=145.500000 [Relais]"));
    server.sendLine("FREQUENCY");
    QCOMPARE(server.waitForReceived(1), QStringLiteral("145.500000"));

    QVERIFY(deliver("TRANSMIT_R"));
    QVERIFY(radio.keyed());
    QVERIFY((generic.port->control() & Ptt) != unkeyed);
    QVERIFY(deliver("TRANSMIT_R")); // already keyed: stays keyed
    QVERIFY((generic.port->control() & Ptt) != unkeyed);
    QVERIFY(deliver("RECEIVE_R"));
    QVERIFY(!radio.keyed());
    QCOMPARE(generic.port->control() & Ptt, unkeyed);

    Ui::TForm1 &ui = generic.main();
    ui.SpeedButtonTX16SC->click();
    QVERIFY(radio.band(0).scanning);
    server.sendLine("FREQUENCY");
    QCOMPARE(server.waitForReceived(2), QStringLiteral("999.999999"));
    ui.SpeedButtonTX16SC->click();
    QVERIFY(generic.waitUntilQuiet());
}

QTEST_MAIN(TestServerEndToEnd)
#include "tst_server_end_to_end.moc"

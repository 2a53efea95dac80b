#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "server/ServerAddress.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "ui/UnitFreq.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString FormatError = QStringLiteral("Erreur format !");

// A station on the generic model (in-memory parallel port), for the server settings window.
class DialogStation
{
public:
    explicit DialogStation(const QStringList &lines = {})
    {
        ParallelPortFactory::installTestPort(std::make_shared<MemoryParallelPort>(0x378));
        fixture.writeConfiguration(
            QStringList{QStringLiteral("WARNING=Y"), QStringLiteral("LPT378=888")} + lines);
        fixture.start();
    }
    ~DialogStation() { ParallelPortFactory::installTestPort(nullptr); }

    Station &station() { return fixture.station(); }
    Ui::TFormIP &ui() { return station().windows().FormIP->ui; }
    TcpClientSettings &settings() { return station().IdTCPClient; }
    void open() { station().windows().Form1->ui.MenuTCPclient->trigger(); }
    void type(const QStringList &parts, const QString &port)
    {
        ui().EditIP1->setText(parts.at(0));
        ui().EditIP2->setText(parts.at(1));
        ui().EditIP3->setText(parts.at(2));
        ui().EditIP4->setText(parts.at(3));
        ui().EditPort->setText(port);
    }
    QStringList shownParts()
    {
        return {ui().EditIP1->text(), ui().EditIP2->text(), ui().EditIP3->text(),
                ui().EditIP4->text()};
    }

    StationFixture fixture;
};

} // namespace

class TestServerDialog : public QObject
{
    Q_OBJECT

private slots:
    void splitsHostAtPoints_data();
    void splitsHostAtPoints();
    void parsesTypedEndpoint_data();
    void parsesTypedEndpoint();
    void showFillsTheEdits();
    void closeAppliesOrRefuses_data();
    void closeAppliesOrRefuses();
    void hostNameWithoutPointsShowsWholeAndIsRefused();
    void captionsFollowTheLanguage();
    void newAddressAppliesAfterClosing();
    void channelChoiceIsLive();
    void frequencySimulationWindow();
};

void TestServerDialog::splitsHostAtPoints_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("dotted quad") << "127.0.0.1" << QStringList{"127", "0", "0", "1"};
    QTest::newRow("no point") << "relayhost" << QStringList{"", "", "", "relayhost"};
    QTest::newRow("one point") << "a.b" << QStringList{"a", "", "", "b"};
    QTest::newRow("five parts") << "1.2.3.4.5" << QStringList{"1", "2", "3", "4.5"};
    QTest::newRow("empty") << "" << QStringList{"", "", "", ""};
    QTest::newRow("empty parts") << "..." << QStringList{"", "", "", ""};
}

void TestServerDialog::splitsHostAtPoints()
{
    QFETCH(QString, host);
    QFETCH(QStringList, parts);
    QCOMPARE(ServerAddress::splitHost(host), parts);
}

void TestServerDialog::parsesTypedEndpoint_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("portValue");

    QTest::newRow("private address")
        << QStringList{"192", "168", "1", "20"} << "10901" << true << "192.168.1.20" << 10901;
    QTest::newRow("no range check")
        << QStringList{"300", "0", "0", "1"} << "70000" << true << "300.0.0.1" << 70000;
    QTest::newRow("kept as typed")
        << QStringList{"010", "0", "0", "1"} << "80" << true << "010.0.0.1" << 80;
    QTest::newRow("empty part") << QStringList{"192", "168", "1", ""} << "10901" << false << ""
                                << 0;
    QTest::newRow("letters in port")
        << QStringList{"127", "0", "0", "1"} << "10a01" << false << "" << 0;
    QTest::newRow("empty port") << QStringList{"127", "0", "0", "1"} << "" << false << "" << 0;
    QTest::newRow("letters in part")
        << QStringList{"abc", "0", "0", "1"} << "1" << false << "" << 0;
    QTest::newRow("port beyond int")
        << QStringList{"127", "0", "0", "1"} << "99999999999" << false << "" << 0;
}

void TestServerDialog::parsesTypedEndpoint()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, port);
    QFETCH(bool, accepted);
    QFETCH(QString, host);
    QFETCH(int, portValue);

    const auto endpoint = ServerAddress::parse(parts, port);
    QCOMPARE(endpoint.has_value(), accepted);
    if (accepted) {
        QCOMPARE(endpoint->host, host);
        QCOMPARE(endpoint->port, portValue);
    }
}

void TestServerDialog::showFillsTheEdits()
{
    DialogStation s;
    s.ui().LabelErreur->setText(FormatError);
    s.open();
    QVERIFY(s.station().windows().FormIP->isVisible());
    QCOMPARE(s.station().windows().FormIP->windowTitle(), QStringLiteral("TCPIP Configuration"));
    QCOMPARE(s.shownParts(), (QStringList{"127", "0", "0", "1"}));
    QCOMPARE(s.ui().EditPort->text(), QStringLiteral("10901"));
    QCOMPARE(s.ui().LabelErreur->text(), QString());
}

void TestServerDialog::closeAppliesOrRefuses_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("portValue");

    QTest::newRow("joined") << QStringList{"192", "168", "1", "20"} << "10901" << true
                            << "192.168.1.20" << 10901;
    QTest::newRow("300 accepted") << QStringList{"300", "1", "1", "1"} << "2000" << true
                                  << "300.1.1.1" << 2000;
    QTest::newRow("empty fourth part")
        << QStringList{"192", "168", "1", ""} << "10902" << false << "127.0.0.1" << 10901;
    QTest::newRow("letters in port")
        << QStringList{"192", "168", "1", "20"} << "port" << false << "127.0.0.1" << 10901;
}

void TestServerDialog::closeAppliesOrRefuses()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, port);
    QFETCH(bool, closes);
    QFETCH(QString, host);
    QFETCH(int, portValue);

    DialogStation s;
    s.open();
    s.type(parts, port);
    // The transmit time-out shown is the one in force, and applies with the other fields.
    QCOMPARE(s.ui().SpinEditTxTimeout->value(), 300);
    s.ui().SpinEditTxTimeout->setValue(90);
    QCOMPARE(s.station().windows().FormIP->close(), closes);
    QCOMPARE(s.station().state.TxTimeoutSeconds, closes ? 90 : 300);
    QCOMPARE(s.station().windows().FormIP->isVisible(), !closes);
    QCOMPARE(s.settings().host, host);
    QCOMPARE(s.settings().port, portValue);
    QCOMPARE(s.fixture.notifier.beeps, closes ? 0 : 1);
    QCOMPARE(s.ui().LabelErreur->text(), closes ? QString() : FormatError);
    if (!closes) {
        QCOMPARE(s.shownParts(), parts); // the edits stay as typed
        QCOMPARE(s.ui().EditPort->text(), port);
    }
}

void TestServerDialog::hostNameWithoutPointsShowsWholeAndIsRefused()
{
    DialogStation s({QStringLiteral("IPSERVER=relayhost")});
    QCOMPARE(s.settings().host, QStringLiteral("relayhost"));
    s.open();
    QCOMPARE(s.shownParts(), (QStringList{"", "", "", "relayhost"}));
    QVERIFY(!s.station().windows().FormIP->close());
    QCOMPARE(s.ui().LabelErreur->text(), FormatError);
    QCOMPARE(s.settings().host, QStringLiteral("relayhost"));

    // Typing still stops at three characters in a part.
    s.ui().EditIP1->clear();
    s.ui().EditIP1->setFocus();
    QTest::keyClicks(s.ui().EditIP1, QStringLiteral("12345"));
    QCOMPARE(s.ui().EditIP1->text(), QStringLiteral("123"));

    s.type({"10", "0", "0", "7"}, QStringLiteral("10901"));
    QVERIFY(s.station().windows().FormIP->close());
    QCOMPARE(s.settings().host, QStringLiteral("10.0.0.7"));

    // The message is cleared at the next showing.
    s.open();
    QCOMPARE(s.ui().LabelErreur->text(), QString());
}

void TestServerDialog::captionsFollowTheLanguage()
{
    DialogStation s({QStringLiteral("LANGUAGE=E")});
    s.open();
    QCOMPARE(s.ui().LabelIP->text(), QStringLiteral("Server IP"));
    QCOMPARE(s.ui().ButtonConnect->text(), QStringLiteral("Connect IP"));
    QCOMPARE(s.ui().LabelTxTimeout->text(), QStringLiteral("Transmit time-out (s)"));
    QCOMPARE(s.ui().CheckBoxReconnect->text(), QStringLiteral("Reconnect automatically"));
    QCOMPARE(s.ui().GroupBoxTXRXchannel->title(), QStringLiteral("PC / TM-D7 Interface"));
    s.type({"1", "2", "3", ""}, QStringLiteral("1"));
    QVERIFY(!s.station().windows().FormIP->close());
    QCOMPARE(s.ui().LabelErreur->text(), FormatError); // the same text in both languages

    // The language switch presses the hidden button.
    s.station().state.language = Language::French;
    s.ui().Buttonlangue->click();
    QCOMPARE(s.ui().LabelIP->text(), QStringLiteral("IP Serveur"));
    QCOMPARE(s.ui().CheckBoxConnect->text(), QStringLiteral("Se connecter au démarrage"));
    QCOMPARE(s.ui().LabelTxTimeout->text(), QStringLiteral("Durée max. d'émission (s)"));
    QCOMPARE(s.ui().CheckBoxReconnect->text(), QStringLiteral("Reconnexion automatique"));
}

void TestServerDialog::newAddressAppliesAfterClosing()
{
    ServerPeer first;
    ServerPeer second;
    DialogStation s({QStringLiteral("PORT=%1").arg(first.port())});
    s.open();
    s.type({"127", "0", "0", "1"}, QString::number(second.port()));
    // Enter in an edit presses no button; a restored window keeps what was typed.
    QSignalSpy pressed(s.ui().ButtonConnect, &QAbstractButton::clicked);
    for (QLineEdit *edit : {s.ui().EditIP4, s.ui().EditPort}) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
    }
    QCOMPARE(pressed.count(), 0);
    s.station().windows().FormIP->showMinimized();
    s.station().windows().FormIP->showNormal();
    QCOMPARE(s.ui().EditPort->text(), QString::number(second.port()));
    s.ui().ButtonConnect->click();
    QVERIFY(first.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);

    QVERIFY(s.station().windows().FormIP->close());
    QVERIFY(first.hasClient()); // an open connection is not touched
    s.ui().ButtonDisconnect->click();
    s.ui().ButtonConnect->click();
    QVERIFY(second.waitForClient());
    QCOMPARE(first.connections(), 1);
}

void TestServerDialog::channelChoiceIsLive()
{
    ServerPeer server;
    DialogStation s({QStringLiteral("PORT=%1").arg(server.port()), QStringLiteral("CONNECT=1")});
    QVERIFY(server.waitForClient());
    QTRY_VERIFY(s.station().state.ServerConnected);
    QAbstractButton *transmit = s.station().windows().Form1->ui.SpeedButtonTX16TX;
    QLineEdit *traffic = s.station().windows().Form1->ui.EditTXdata;

    s.open();
    QVERIFY(s.ui().RadioButtonRight->isChecked());
    server.send("TRANSMIT_L\r\n");
    QTRY_VERIFY(traffic->text().endsWith(QStringLiteral("TRANSMIT_L\r\n")));
    QVERIFY(!transmit->isChecked());

    s.ui().RadioButtonLeft->click(); // the window stays open
    traffic->clear();
    server.send("TRANSMIT_L\r\n");
    QTRY_VERIFY(traffic->text().endsWith(QStringLiteral("TRANSMIT_L\r\n")));
    QVERIFY(transmit->isChecked());
    QVERIFY(s.station().windows().FormIP->isVisible());
}

void TestServerDialog::frequencySimulationWindow()
{
    DialogStation s;
    TFormSimuFreq &simu = *s.station().windows().FormSimuFreq;
    QVERIFY(!simu.isVisible());
    QCOMPARE(s.station().windows().Form1->ui.menusimuFreq->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+Alt+F")));
    s.station().windows().Form1->ui.menusimuFreq->trigger();
    QVERIFY(simu.isVisible());
    QCOMPARE(simu.windowTitle(), QStringLiteral("Simulation Freq"));
    QCOMPARE(simu.ui.EditFreq->text(), QStringLiteral("145.225000"));

    simu.ui.EditFreq->clear();
    simu.ui.EditFreq->setFocus();
    QTest::keyClicks(simu.ui.EditFreq, QStringLiteral("430.0500001234"));
    QCOMPARE(simu.ui.EditFreq->text(), QStringLiteral("430.050000"));
    QCOMPARE(s.station().state.CurrentFrequency, QStringLiteral("145.225000"));
    simu.ui.ButtonFreq->click();
    QCOMPARE(s.station().state.CurrentFrequency, QStringLiteral("430.050000"));
}

QTEST_MAIN(TestServerDialog)
#include "tst_server_dialog.moc"

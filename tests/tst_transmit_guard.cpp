#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "radio/Radio.h"
#include "radio/RadioState.h"
#include "support/GenericTxFixture.h"
#include "support/RigSimStation.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "ui/UnitTMD700.h"

#include <QAbstractButton>
#include <QCoroTask>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

// Random sequences of everything that keys or unkeys a radio: the server's transmit and receive
// messages (alone or two in one read), the TRANSMIT toggles, the space bar, scans, RESET, list
// and memory selections, INIT, a radio that stops answering for a moment, and quitting. After
// each step, whenever the last request was "receive", the radio must not be keyed; after
// quitting it is never keyed. Each sequence prints its seed; IVRELANE_GUARD_SEED replays one.
class TestTransmitGuard : public QObject
{
    Q_OBJECT

    static constexpr int BoundMs = 30'000; // bounds a hang; never a measurement

    static QList<quint32> seeds(int count, quint32 base)
    {
        const QByteArray chosen = qgetenv("IVRELANE_GUARD_SEED");
        if (!chosen.isEmpty())
            return {chosen.toUInt()};
        QList<quint32> list;
        for (int i = 0; i < count; ++i)
            list << base + quint32(i) * 7919u;
        return list;
    }

    // A FREQUENCY request answered means every earlier message of the server has been handled.
    struct ServerSync
    {
        ServerPeer &peer;
        int answers = 0;
        bool send(const QByteArray &bytes)
        {
            peer.send(bytes + "FREQUENCY\r\n");
            ++answers;
            return peer.waitForLines(answers, BoundMs).size() == answers;
        }
    };

    static QByteArray transmitMessage(QRandomGenerator &r)
    {
        return r.bounded(2) ? QByteArrayLiteral("TRANSMIT_L\r\n")
                            : QByteArrayLiteral("TRANSMIT_R\r\n");
    }
    static QByteArray receiveMessage(QRandomGenerator &r)
    {
        return r.bounded(2) ? QByteArrayLiteral("RECEIVE_L\r\n")
                            : QByteArrayLiteral("RECEIVE_R\r\n");
    }

private slots:
    void genericTransmitterNeverLeftKeyed_data();
    void genericTransmitterNeverLeftKeyed();
    void kenwoodNeverLeftKeyed_data();
    void kenwoodNeverLeftKeyed();
    void transmitTimeOutUnkeys_data();
    void transmitTimeOutUnkeys();
};

void TestTransmitGuard::genericTransmitterNeverLeftKeyed_data()
{
    QTest::addColumn<bool>("keyedAtZeroVolt");
    QTest::newRow("PTT active at +5 V") << false;
    QTest::newRow("PTT active at 0 V") << true;
}

void TestTransmitGuard::genericTransmitterNeverLeftKeyed()
{
    QFETCH(bool, keyedAtZeroVolt);
    int steps = 0;
    for (const quint32 seed : seeds(12, keyedAtZeroVolt ? 1000u : 2000u)) {
        qInfo("generic sequence, seed %u", seed);
        QRandomGenerator r(seed);
        ServerPeer peer;
        QStringList configuration{QStringLiteral("CONNECT=1"), QStringLiteral("CHANNEL=BOTH"),
                                  QStringLiteral("IPSERVER=127.0.0.1"),
                                  QStringLiteral("PORT=%1").arg(peer.port())};
        if (keyedAtZeroVolt)
            configuration << QStringLiteral("PIN17=1");
        GenericTxFixture g(configuration);
        QVERIFY(peer.waitForClient(BoundMs));
        ServerSync server{peer};
        Ui::TForm1 &ui = g.main();
        // The PTT line is bit 3 of the control register; the port inverts it.
        auto keyed = [&g, keyedAtZeroVolt] {
            return bool(g.port->control() & 0x08) == keyedAtZeroVolt;
        };
        bool receiveAsked = true;
        QString trail;
        for (int step = 0; step < 50; ++step, ++steps) {
            const int op = r.bounded(9);
            trail += QString::number(op);
            switch (op) {
            case 0:
                QVERIFY(server.send(transmitMessage(r)));
                receiveAsked = false;
                break;
            case 1:
                QVERIFY(server.send(receiveMessage(r)));
                receiveAsked = true;
                break;
            case 2: { // two messages in one read: the later one wins
                const bool receiveLast = r.bounded(2);
                QVERIFY(server.send(receiveLast ? transmitMessage(r) + receiveMessage(r)
                                                : receiveMessage(r) + transmitMessage(r)));
                receiveAsked = receiveLast;
                break;
            }
            case 3:
                receiveAsked = ui.SpeedButtonTX16TX->isChecked();
                ui.SpeedButtonTX16TX->click();
                break;
            case 4:
                if (!ui.SpeedButtonTX16SC->isChecked())
                    receiveAsked = true; // starting a scan ends transmission
                ui.SpeedButtonTX16SC->click();
                break;
            case 5:
                ui.ButtonReset->click();
                receiveAsked = true;
                break;
            case 6: {
                const int index = r.bounded(ui.ComboBoxTXMEM->count());
                ui.ComboBoxTXMEM->setCurrentIndex(index);
                emit ui.ComboBoxTXMEM->activated(index);
                receiveAsked = true;
                break;
            }
            case 7:
                QVERIFY(server.send(r.bounded(2) ? QByteArrayLiteral("GENERIC_U\r\n")
                                                 : QByteArrayLiteral("GENERIC_D\r\n")));
                break;
            default:
                QVERIFY(server.send(QByteArrayLiteral("SMETER\r\n")));
                break;
            }
            const QByteArray where =
                QStringLiteral("seed %1, steps %2").arg(seed).arg(trail).toLatin1();
            QVERIFY2(!(receiveAsked && keyed()), where.constData());
            QVERIFY2(keyed() == ui.SpeedButtonTX16TX->isChecked(), where.constData());
            QVERIFY2(keyed() == !receiveAsked, where.constData());
        }
        g.station().MenuQuitterClick();
        QCOMPARE(g.fixture.terminations, 1);
        QVERIFY2(!keyed(), qPrintable(QStringLiteral("seed %1 after quitting").arg(seed)));
    }
    qInfo("generic: %d steps checked", steps);
}

void TestTransmitGuard::kenwoodNeverLeftKeyed_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("TM-D710") << QStringLiteral("TMD710");
    QTest::newRow("TM-D700") << QStringLiteral("TMD700");
}

void TestTransmitGuard::kenwoodNeverLeftKeyed()
{
    QFETCH(QString, model);
    int steps = 0;
    int hiccups = 0;
    for (const quint32 seed : seeds(4, model == QLatin1String("TMD700") ? 3000u : 4000u)) {
        qInfo("%s sequence, seed %u", qPrintable(model), seed);
        QRandomGenerator r(seed);
        ServerPeer peer;
        RigSimStation kenwood;
        Station &station = kenwood.start(
            model,
            {QStringLiteral("--model"), model, QStringLiteral("--memories"), QStringLiteral("5")},
            QStringList{QStringLiteral("NUMBERMEM=5"), QStringLiteral("WARNING=Y"),
                        QStringLiteral("CHANNEL=BOTH")} +
                StationFixture::serverLines(peer.port()));
        RigSimProcess &radio = kenwood.rig;
        Ui::TForm1 &ui = station.windows().Form1->ui;
        const RadioState &panel = station.kenwood->radio().state();
        auto initialised = [&station, &panel] {
            return station.state.RigStatus == 3 && panel.panelEnabled() &&
                   !station.kenwood->radio().initialisationDue();
        };
        QTRY_VERIFY_WITH_TIMEOUT(initialised(), BoundMs);
        QVERIFY(peer.waitForClient(BoundMs));
        ServerSync server{peer};
        // What the radio itself was last told.
        auto keyed = [&radio] {
            const QStringList commands = radio.receivedCommands();
            for (qsizetype i = commands.size() - 1; i >= 0; --i) {
                if (commands[i] == QLatin1String("TX"))
                    return true;
                if (commands[i] == QLatin1String("RX"))
                    return false;
            }
            return false;
        };
        bool receiveAsked = true;
        QString trail;
        for (int step = 0; step < 30; ++step, ++steps) {
            const int op = r.bounded(10);
            trail += QString::number(op);
            switch (op) {
            case 0:
                QVERIFY(server.send(transmitMessage(r)));
                receiveAsked = false;
                break;
            case 1:
                QVERIFY(server.send(receiveMessage(r)));
                receiveAsked = true;
                break;
            case 2:
                receiveAsked = panel.keyed();
                ui.SpeedButtonTX->click();
                break;
            case 3:
                if (station.state.RigAnswering || ui.SpeedButtonTX->isChecked())
                    receiveAsked = panel.keyed();
                station.FormKeyPress(QLatin1Char(' '));
                break;
            case 4:
                (r.bounded(2) ? ui.SpeedButtonScanA : ui.SpeedButtonScanB)->click();
                break;
            case 5:
                ui.SpeedButtonInit->click();
                // INIT runs after what was asked before it.
                QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle() && initialised(), BoundMs);
                receiveAsked = true; // the initialisation hands the radio back to receive
                break;
            case 6:
                if (ui.ComboBoxMEM->count() > 0)
                    ui.ComboBoxMEM->setCurrentIndex(r.bounded(ui.ComboBoxMEM->count()));
                (r.bounded(2) ? ui.SpeedButtonMEMA : ui.SpeedButtonMEMB)->click();
                break;
            case 7:
                (r.bounded(2) ? ui.SpeedButtonTXA : ui.SpeedButtonTXB)->click();
                break;
            case 8:
                // The radio stops answering for longer than an exchange waits: the next
                // command times out and the station takes the radio for silent.
                if (hiccups < 8 && r.bounded(3) == 0) {
                    ++hiccups;
                    ::kill(pid_t(radio.processId()), SIGSTOP);
                    QCoro::waitFor(station.kenwood->link().exchange(QStringLiteral("ID")));
                    ::kill(pid_t(radio.processId()), SIGCONT);
                    QVERIFY(!station.state.RigAnswering);
                }
                break;
            default:
                QVERIFY(server.send(QByteArrayLiteral("ZZZZZ\r\n")));
                break;
            }
            if (receiveAsked) {
                // Once the station has nothing more to send, the radio's last word is an unkey.
                // A keying written before the unkey may not have reached the radio's log yet, and
                // the radio may still be working through commands held up by a pause.
                QTRY_VERIFY_WITH_TIMEOUT(
                    station.requests.isIdle() && !station.kenwood->link().isBusy(), BoundMs);
                (void)QTest::qWaitFor([&keyed] { return !keyed(); }, BoundMs);
                QVERIFY2(!keyed(),
                         qPrintable(QStringLiteral("seed %1, steps %2, radio: %3")
                                        .arg(seed)
                                        .arg(trail)
                                        .arg(radio.receivedCommands()
                                                 .mid(radio.receivedCommands().size() - 12)
                                                 .join(QLatin1Char(' ')))));
            }
        }
        station.MenuQuitterClick();
        // Over once the release's exchanges are, the one in flight first.
        QTRY_COMPARE_WITH_TIMEOUT(kenwood.fixture.terminations, 1, BoundMs);
        QTRY_VERIFY2_WITH_TIMEOUT(
            !keyed(), qPrintable(QStringLiteral("seed %1 after quitting: %2").arg(seed).arg(trail)),
            BoundMs);
    }
    qInfo("%s: %d steps checked, %d pauses of the radio", qPrintable(model), steps, hiccups);
}

void TestTransmitGuard::transmitTimeOutUnkeys_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("generic") << QStringLiteral("TX16UD");
    QTest::newRow("TM-D710") << QStringLiteral("TMD710");
}

// TXTIMEOUT=2: two seconds after the server keyed the radio, the station unkeys it by itself,
// logs it and says so; the next request keys it again for a new period.
void TestTransmitGuard::transmitTimeOutUnkeys()
{
    QFETCH(QString, model);
    const bool generic = model == QLatin1String("TX16UD");
    ServerPeer peer;
    const QStringList server =
        QStringList{QStringLiteral("TXTIMEOUT=2"), QStringLiteral("CHANNEL=BOTH")} +
        StationFixture::serverLines(peer.port());
    std::unique_ptr<GenericTxFixture> genericStation;
    RigSimStation kenwood;
    RigSimProcess &radio = kenwood.rig;
    Station *station = nullptr;
    if (generic) {
        genericStation = std::make_unique<GenericTxFixture>(server);
        station = &genericStation->station();
    } else {
        station = &kenwood.start(QStringLiteral("TMD710"),
                                 {QStringLiteral("--memories"), QStringLiteral("3")},
                                 server + QStringList{QStringLiteral("NUMBERMEM=3")});
        QTRY_VERIFY_WITH_TIMEOUT(station->state.RigStatus == 3, BoundMs);
    }
    const RadioState &radioState = station->radios.current()->state();
    QVERIFY(peer.waitForClient(BoundMs));
    QElapsedTimer keyedFor;
    qint64 unkeyedAfterMs = -1;
    connect(&radioState, &RadioState::keyedChanged, this, [&](bool keyed) {
        if (keyed)
            keyedFor.start();
        else
            unkeyedAfterMs = keyedFor.elapsed();
    });

    const auto lockedOutLines = [station] {
        return station->log.lines()
            .filter(QRegularExpression(QStringLiteral(" TX locked out until RECEIVE$")))
            .size();
    };
    for (int period = 0; period < 2; ++period) {
        unkeyedAfterMs = -1;
        if (period == 1) {
            // A server stuck on TRANSMIT cannot defeat the time-out: it is refused, said once,
            // until the server sends RECEIVE.
            peer.send("TRANSMIT_R\r\n");
            peer.send("TRANSMIT_L\r\n");
            QTRY_COMPARE_WITH_TIMEOUT(lockedOutLines(), 1, BoundMs);
            // A frequency request answered: the second TRANSMIT was handled before it.
            const int answered = int(peer.received().count("\r\n"));
            peer.send("FREQUENCY\r\n");
            QCOMPARE(peer.waitForLines(answered + 1, BoundMs).size(), answered + 1);
            QCOMPARE(lockedOutLines(), 1);
            QVERIFY(!radioState.keyed());
            peer.send("RECEIVE_R\r\n");
        }
        peer.send("TRANSMIT_R\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(radioState.keyed(), BoundMs);
        QTRY_VERIFY_WITH_TIMEOUT(unkeyedAfterMs >= 0, BoundMs);
        qInfo("%s: unkeyed %lld ms after keying", qPrintable(model), unkeyedAfterMs);
        QVERIFY2(unkeyedAfterMs >= 1950 && unkeyedAfterMs <= 2200,
                 qPrintable(QString::number(unkeyedAfterMs)));
        QVERIFY(station->log.lines().constLast().endsWith(QLatin1String(" TX time-out")));
        QLineEdit *status = station->windows().Form1->ui.labelTMD;
        QCOMPARE(status->text(), QStringLiteral("TX time-out"));
        QVERIFY(status->styleSheet().contains(QLatin1String("rgb(255, 0, 0)")));
    }
    if (generic) {
        QVERIFY(genericStation->port->control() & 0x08); // PTT at rest (the port inverts bit 3)
    } else {
        const QStringList commands = radio.receivedCommands();
        QCOMPARE(commands.count(QStringLiteral("TX")), 2);
        QTRY_COMPARE(radio.receivedCommands().constLast(), QStringLiteral("RX"));
    }
}

QTEST_MAIN(TestTransmitGuard)
#include "tst_transmit_guard.moc"

// The generic transmitter's line driver and model activation, on a whole station with the
// in-memory parallel port: which control values reach the register, in which order, and what
// the operator sees.
#include "app/GenericTxWiring.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLines.h"
#include "generic_tx/GenericTxRadio.h"
#include "support/GenericTxFixture.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include "platform/ParallelPortFactory.h"
#include "platform/PpdevParallelPort.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TxLine)

namespace {
constexpr quint8 Up = 0x02, Down = 0x01, Reset = 0x04, Ptt = 0x08;

ControlLineDriver &driver(GenericTxFixture &rig)
{
    return rig.station().genericTx->driver();
}

QColor textColour(QLineEdit *line)
{
    line->ensurePolished();
    return line->palette().color(QPalette::Text);
}
} // namespace

class TestGenericDriver : public QObject
{
    Q_OBJECT
private slots:
    void activationWritesRestLevelsThenResets_data();
    void activationWritesRestLevelsThenResets();
    void activationWithoutPort();
    void activationOnRefusingPort();
    void radioOpensOnceAndReleasesItself();
    void noPortLeavesTheLinesAlone();
    void pulseLevels_data();
    void pulseLevels();
    void pulseDuringPulseIsRefused();
    void refusedWriteStartsNoPulse();
    void transmitAndReceiveAreIdempotent_data();
    void transmitAndReceiveAreIdempotent();
    void pttTestButtonFlips();
    void squelch_data();
    void squelch();
    void pttIsNotPulsed();
    void exitUnkeysAndReleasesThePort();
    void otherModelUnkeys();
    void ppdevBackendWithoutUsablePort_data();
    void ppdevBackendWithoutUsablePort();
    void machineWithoutParallelPort_data();
    void machineWithoutParallelPort();
};

void TestGenericDriver::activationWritesRestLevelsThenResets_data()
{
    QTest::addColumn<QStringList>("config");
    QTest::addColumn<quint8>("initial");
    QTest::addColumn<QList<quint8>>("expected");

    // Rest: UP, DOWN set (pos.), RESET clear (pos.), PTT set (+5v); then RESET goes active.
    QTest::newRow("default polarities")
        << QStringList{} << quint8(0x00) << QList<quint8>{0x02, 0x03, 0x03, 0x0B, 0x0F, 0x0B};
    QTest::newRow("every line inverted")
        << QStringList{"PIN14=1", "PIN1=1", "PIN16=1", "PIN17=1"} << quint8(0x0F)
        << QList<quint8>{0x0D, 0x0C, 0x0C, 0x04, 0x00, 0x04};
    QTest::newRow("upper bits written back as read")
        << QStringList{} << quint8(0xE0) << QList<quint8>{0xE2, 0xE3, 0xE3, 0xEB, 0xEF, 0xEB};
}

void TestGenericDriver::activationWritesRestLevelsThenResets()
{
    QFETCH(QStringList, config);
    QFETCH(quint8, initial);
    QFETCH(QList<quint8>, expected);
    GenericTxFixture rig(config, initial);

    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.controlWrites(), expected);
    QCOMPARE(rig.state().LptControlValue, int(expected.last()));
    QCOMPARE(rig.port->enableCount(), 1);
    QCOMPARE(rig.fixture.notifier.beeps, 0);

    Ui::TForm1 &m = rig.main();
    QCOMPARE(rig.station().windows().Form1->windowTitle(),
             QStringLiteral("Ivrelane TX Generic Up/Down V2.1.4"));
    QCOMPARE(m.LabelConnect->text(), QStringLiteral("LPT 0378h OK"));
    QCOMPARE(textColour(m.LabelConnect), QColor(0, 128, 0));
    QVERIFY(m.GroupBoxTX->isHidden());
    QVERIFY(!m.GroupBoxTX16UD->isHidden());
    QCOMPARE(m.GroupBoxTX16UD->geometry(), m.GroupBoxTX->geometry());
    QVERIFY(!m.MenuPort->isEnabled());
    QVERIFY(!m.MenuMEM->isEnabled());
    QCOMPARE(m.LCD99TX->channel(), 1);
    QCOMPARE(rig.station().log.lines().filter(QStringLiteral(" Radio ready: ")).size(), 1);
    QVERIFY(rig.station().log.lines().constLast().endsWith(
        QStringLiteral(" Radio ready: TX16UD on LPT1 (0378h)")));
}

void TestGenericDriver::activationWithoutPort()
{
    GenericTxFixture rig({"LPT=0"});
    rig.main().MenuTX16UD->trigger();
    QCOMPARE(rig.state().LptBase, 0);
    QCOMPARE(rig.main().LabelConnect->text(), QStringLiteral("No LPT => INIT"));
    QCOMPARE(textColour(rig.main().LabelConnect), QColor(255, 0, 0));
    QVERIFY(rig.port->writes().isEmpty());
    QCOMPARE(rig.port->enableCount(), 0);
    QCOMPARE(rig.fixture.notifier.beeps, 0);
}

void TestGenericDriver::activationOnRefusingPort()
{
    GenericTxFixture rig;
    QVERIFY(rig.waitUntilQuiet());
    rig.port->clearWrites();
    rig.port->setWritesFail(true);
    rig.main().MenuTX16UD->trigger();

    QCOMPARE(rig.main().LabelConnect->text(), QStringLiteral("LPT error"));
    QCOMPARE(textColour(rig.main().LabelConnect), QColor(255, 0, 0));
    // The UP rest write failed: DOWN, RESET and PTT are not tried; RESET's pulse then fails too.
    QCOMPARE(rig.port->writes().size(), 2);
    QCOMPARE(rig.fixture.notifier.beeps, 2);
    QVERIFY(!driver(rig).pulsing(TxLine::Reset));
    QVERIFY(rig.station().genericTx->linesHealth() == GenericTxLines::Health::Error);
}

// The radio takes its lines itself: opening an open radio touches nothing, a released one gives
// the port back and is taken again at the next opening, RESET included.
void TestGenericDriver::radioOpensOnceAndReleasesItself()
{
    GenericTxFixture rig;
    QVERIFY(rig.waitUntilQuiet());
    GenericTxWiring &generic = *rig.station().genericTx;
    GenericTxRadio &radio = generic.radio();
    QVERIFY(radio.isOpen());
    QVERIFY(generic.linesHealth() == GenericTxLines::Health::Ok);
    const int enabled = rig.port->enableCount();
    rig.port->clearWrites();

    radio.open();
    QVERIFY(rig.port->writes().isEmpty());
    QCOMPARE(rig.port->enableCount(), enabled);

    radio.setTransmit(true);
    QCOMPARE(rig.port->control() & Ptt, 0);
    QCoro::waitFor(radio.release());
    QVERIFY(!radio.isOpen());
    QCOMPARE(rig.port->control() & Ptt, Ptt);
    QCOMPARE(rig.port->disableCount(), 1);
    QVERIFY(generic.linesHealth() == GenericTxLines::Health::None);
    QCoro::waitFor(radio.release()); // given back once
    QCOMPARE(rig.port->disableCount(), 1);

    rig.port->clearWrites();
    radio.open();
    QVERIFY(radio.isOpen());
    QCOMPARE(rig.port->enableCount(), enabled + 1);
    QVERIFY(generic.linesHealth() == GenericTxLines::Health::Ok);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.pulses(Reset, false), 1);
    QCOMPARE(rig.state().Tx16Channel, rig.state().Tx16BaseChannel);
}

void TestGenericDriver::noPortLeavesTheLinesAlone()
{
    GenericTxFixture rig({"LPT=0"});
    rig.port->clearWrites();
    driver(rig).pulse(TxLine::Up);
    driver(rig).pulse(TxLine::Down);
    driver(rig).setPtt(true);
    driver(rig).setPtt(false);
    driver(rig).setPtt(true);
    rig.main().ButtonTestPin16->click();
    rig.main().ButtonTestPin17->click();
    QVERIFY(rig.port->writes().isEmpty());
    QCOMPARE(rig.fixture.notifier.beeps, 0);
    QVERIFY(!driver(rig).pttOn());
    // The toggle flipped by the click goes back: nothing was keyed.
    QVERIFY(!rig.main().ButtonTestPin17->isChecked());
}

void TestGenericDriver::pulseLevels_data()
{
    QTest::addColumn<QStringList>("config");
    QTest::addColumn<TxLine>("line");
    QTest::addColumn<quint8>("mask");
    QTest::addColumn<bool>("activeSet");

    QTest::newRow("UP pos. clears bit 1") << QStringList{} << TxLine::Up << Up << false;
    QTest::newRow("UP neg. sets bit 1") << QStringList{"PIN14=1"} << TxLine::Up << Up << true;
    QTest::newRow("DOWN pos. clears bit 0") << QStringList{} << TxLine::Down << Down << false;
    QTest::newRow("DOWN neg. sets bit 0") << QStringList{"PIN1=1"} << TxLine::Down << Down << true;
    QTest::newRow("RESET pos. sets bit 2") << QStringList{} << TxLine::Reset << Reset << true;
    QTest::newRow("RESET neg. clears bit 2")
        << QStringList{"PIN16=1"} << TxLine::Reset << Reset << false;
}

void TestGenericDriver::pulseLevels()
{
    QFETCH(QStringList, config);
    QFETCH(TxLine, line);
    QFETCH(quint8, mask);
    QFETCH(bool, activeSet);
    GenericTxFixture rig(config, 0xA0);
    QVERIFY(rig.waitUntilQuiet());
    const quint8 rest = rig.port->control();
    rig.port->clearWrites();

    driver(rig).pulse(line);
    QVERIFY(driver(rig).pulsing(line));
    QVERIFY(rig.waitUntilQuiet());

    const QList<quint8> writes = rig.controlWrites();
    QCOMPARE(writes.size(), 2);
    QCOMPARE(bool(writes[0] & mask), activeSet);
    QCOMPARE(quint8(writes[0] & ~mask), quint8(rest & ~mask)); // nothing else moved
    QCOMPARE(writes[1], rest);
}

void TestGenericDriver::pulseDuringPulseIsRefused()
{
    GenericTxFixture rig({"DELAYPIN14=1000"});
    QVERIFY(rig.waitUntilQuiet());
    rig.port->clearWrites();

    driver(rig).pulse(TxLine::Up);
    driver(rig).pulse(TxLine::Up);
    QCOMPARE(rig.controlWrites().size(), 1);
    QCOMPARE(rig.fixture.notifier.beeps, 1);
    // Another line is free meanwhile, and keeps the UP bit where the pulse put it.
    driver(rig).pulse(TxLine::Down);
    QCOMPARE(rig.controlWrites().size(), 2);
    QCOMPARE(rig.controlWrites().last() & (Up | Down), 0);

    QVERIFY(rig.waitUntilQuiet());
    driver(rig).pulse(TxLine::Up);
    QCOMPARE(rig.pulses(Up, true), 2);
    QCOMPARE(rig.fixture.notifier.beeps, 1);
}

void TestGenericDriver::refusedWriteStartsNoPulse()
{
    GenericTxFixture rig;
    QVERIFY(rig.waitUntilQuiet());
    rig.port->setWritesFail(true);
    driver(rig).pulse(TxLine::Down);
    QCOMPARE(rig.fixture.notifier.beeps, 1);
    QVERIFY(!driver(rig).pulsing(TxLine::Down));
    // Refused PTT write: beep; meant to be keyed, but not driven.
    driver(rig).setPtt(true);
    QCOMPARE(rig.fixture.notifier.beeps, 2);
    QVERIFY(driver(rig).pttOn());
    QVERIFY(!driver(rig).pttDriven());
}

void TestGenericDriver::transmitAndReceiveAreIdempotent_data()
{
    QTest::addColumn<QStringList>("config");
    QTest::addColumn<bool>("keyedSet");
    QTest::newRow("PTT +5v keys by clearing bit 3") << QStringList{} << false;
    QTest::newRow("PTT 0v keys by setting bit 3") << QStringList{"PIN17=1"} << true;
}

void TestGenericDriver::transmitAndReceiveAreIdempotent()
{
    QFETCH(QStringList, config);
    QFETCH(bool, keyedSet);
    GenericTxFixture rig(config);
    QVERIFY(rig.waitUntilQuiet());
    auto keyed = [&] { return bool(rig.port->control() & Ptt) == keyedSet; };

    ControlLineDriver &d = driver(rig);
    d.setPtt(false);
    QVERIFY(!keyed()); // an unkey request never keys
    d.setPtt(true);
    QVERIFY(keyed());
    d.setPtt(true);
    QVERIFY(keyed());
    QVERIFY(d.pttOn() && d.pttDriven());
    d.setPtt(false);
    QVERIFY(!keyed());
    d.setPtt(false);
    QVERIFY(!keyed());
    QVERIFY(!d.pttOn() && !d.pttDriven());
    QCOMPARE(rig.fixture.notifier.beeps, 0);
}

void TestGenericDriver::pttTestButtonFlips()
{
    GenericTxFixture rig;
    QVERIFY(rig.waitUntilQuiet());
    QPushButton *pin17 = rig.main().ButtonTestPin17;
    pin17->click();
    QVERIFY(driver(rig).pttOn());
    QVERIFY(pin17->isChecked());
    QCOMPARE(rig.port->control() & Ptt, 0);
    pin17->click();
    QVERIFY(!driver(rig).pttOn());
    QVERIFY(!pin17->isChecked());
    QCOMPARE(rig.port->control() & Ptt, Ptt);
    // Keyed from elsewhere (the server, TRANSMIT): the toggle shows it.
    driver(rig).setPtt(true);
    QVERIFY(pin17->isChecked());
}

void TestGenericDriver::squelch_data()
{
    QTest::addColumn<QStringList>("config");
    QTest::addColumn<bool>("bit7");
    QTest::addColumn<bool>("open");
    QTest::newRow("0x80 with 0v is open") << QStringList{"PIN11=1"} << true << true;
    QTest::newRow("0x80 with +5v is closed") << QStringList{} << true << false;
    QTest::newRow("0x00 with +5v is open") << QStringList{} << false << true;
    QTest::newRow("0x00 with 0v is closed") << QStringList{"PIN11=1"} << false << false;
    // A missing port reads as a floating bus (0xFF), which "0v" would take for open.
    QTest::newRow("no port with 0v is closed") << QStringList{"LPT=0", "PIN11=1"} << true << false;
}

void TestGenericDriver::squelch()
{
    QFETCH(QStringList, config);
    QFETCH(bool, bit7);
    QFETCH(bool, open);
    GenericTxFixture rig(config);
    rig.port->setSquelchBit(bit7);
    QCOMPARE(rig.station().genericTx->driver().squelchIsOpen(), open);
}

void TestGenericDriver::pttIsNotPulsed()
{
    GenericTxFixture rig;
    QVERIFY(rig.waitUntilQuiet());
    rig.port->clearWrites();
    driver(rig).pulse(TxLine::Ptt);
    QVERIFY(rig.port->writes().isEmpty());
    QVERIFY(!driver(rig).pulsing(TxLine::Ptt));
    QVERIFY(!rig.station().genericTx->stepper().ticking());
}

void TestGenericDriver::exitUnkeysAndReleasesThePort()
{
    GenericTxFixture rig({"DELAYPIN16=5000"});
    rig.main().SpeedButtonTX16TX->click();
    QCOMPARE(rig.port->control() & Ptt, 0);
    QVERIFY(driver(rig).pulsing(TxLine::Reset));

    rig.main().MenuQuitter->trigger();
    QCOMPARE(rig.fixture.terminations, 1);
    QCOMPARE(rig.port->control() & (Ptt | Reset), Ptt); // unkeyed, RESET back at rest
    QVERIFY(!driver(rig).pulsing(TxLine::Reset));
    QCOMPARE(rig.port->disableCount(), 1);
}

// Another model: unkeyed, the UP pulse under way ended, the port given back, and taken again
// with the generic model.
void TestGenericDriver::otherModelUnkeys()
{
    GenericTxFixture rig({"DELAYPIN14=5000"});
    QVERIFY(rig.waitUntilQuiet());
    rig.main().SpeedButtonTX16TX->click();
    driver(rig).pulse(TxLine::Up);
    QCOMPARE(rig.port->control() & (Ptt | Up), 0);
    rig.main().menuTMD700->trigger();
    QTRY_COMPARE(rig.port->disableCount(), 1);
    QCOMPARE(rig.port->control() & (Ptt | Up | Down | Reset), Ptt | Up | Down);
    QVERIFY(!rig.station().genericTx->radio().state().keyed());
    QVERIFY(!driver(rig).pttOn());
    QVERIFY(!rig.station().genericTx->stepper().ticking());
    QVERIFY(!driver(rig).pulsing(TxLine::Up));
    QVERIFY(!rig.station().genericTx->radio().isOpen());

    rig.main().MenuTX16UD->trigger();
    QTRY_VERIFY(rig.station().radios.isCurrent(QStringLiteral("TX16UD")));
    rig.main().MenuQuitter->trigger();
    QCOMPARE(rig.port->disableCount(), 2);
}

void TestGenericDriver::ppdevBackendWithoutUsablePort_data()
{
    QTest::addColumn<QString>("device"); // what /dev/parport0 is; empty: missing
    QTest::addColumn<QString>("reason"); // how the log line begins
    QTest::newRow("device missing") << QString() << "LPT: Cannot open";
    QTest::newRow("device that is no parallel port") << "/dev/null"
                                                     << "LPT: Cannot claim";
}

// The system's backend on a machine whose kernel lists a port at 378h that cannot be used: the
// operator sees "LPT error" and beeps, the log tells why once, nothing hangs or crashes, and exit
// still works.
void TestGenericDriver::ppdevBackendWithoutUsablePort()
{
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QTemporaryDir tree;
    const QString record = tree.filePath(QStringLiteral("proc/sys/dev/parport/parport0"));
    QVERIFY(QDir().mkpath(record));
    QFile base(record + QStringLiteral("/base-addr"));
    QVERIFY(base.open(QIODevice::WriteOnly));
    base.write("888\t1912\n");
    base.close();
    QVERIFY(QDir().mkpath(tree.filePath(QStringLiteral("dev"))));
    if (!device.isEmpty())
        QVERIFY(QFile::link(device, tree.filePath(QStringLiteral("dev/parport0"))));

    ParallelPortFactory::installTestPort(std::make_shared<PpdevParallelPort>(
        tree.filePath(QStringLiteral("proc")), tree.filePath(QStringLiteral("dev"))));
    StationFixture fixture;
    fixture.writeConfiguration({"MODEL=TX16UD", "WARNING=Y", "LPT378=888"});
    Station &station = fixture.start();
    ParallelPortFactory::installTestPort(nullptr);

    Ui::TForm1 &m = station.windows().Form1->ui;
    QCOMPARE(m.LabelConnect->text(), QStringLiteral("LPT error"));
    QVERIFY(fixture.notifier.beeps >= 1);
    const QString why = station.genericTx->port().GetLastState();
    QVERIFY2(!why.contains(QLatin1String("succes")), qPrintable(why));
    const int beeps = fixture.notifier.beeps;
    station.genericTx->driver().pulse(TxLine::Up);
    QCOMPARE(fixture.notifier.beeps, beeps + 1);
    QVERIFY(!station.genericTx->driver().pulsing(TxLine::Up));
    QStringList reasons;
    for (const QString &line : station.log.lines()) {
        if (line.contains(QLatin1String(" LPT: ")))
            reasons << line.mid(line.indexOf(QLatin1String(" LPT: ")) + 1);
    }
    QCOMPARE(reasons.size(), 1);
    QVERIFY2(reasons.first().startsWith(reason), qPrintable(reasons.first()));
    QVERIFY(reasons.first().contains(tree.filePath(QStringLiteral("dev/parport0"))));
    m.MenuQuitter->trigger();
    QCOMPARE(fixture.terminations, 1);
}

QTEST_MAIN(TestGenericDriver)
#include "tst_generic_driver.moc"

void TestGenericDriver::machineWithoutParallelPort_data()
{
    QTest::addColumn<QString>("lpt");
    QTest::addColumn<QString>("reason"); // why keying fails, as logged
    QTest::newRow("no port chosen") << "LPT=0"
                                    << "no parallel port chosen (INIT)";
    // Stored in decimal: 888 is 378h, whose control register is 37Ah.
    QTest::newRow("address of a port the machine lacks") << "LPT=888"
                                                         << "No parallel port at 0378h";
}

// Most machines have no parallel port: the log says so and where the ports are listed, names
// the address chosen (not one of its registers), and says each time that TRANSMIT keyed nothing,
// while the button behaves as before.
void TestGenericDriver::machineWithoutParallelPort()
{
    QFETCH(QString, lpt);
    QFETCH(QString, reason);
    QTemporaryDir tree;
    QVERIFY(QDir().mkpath(tree.filePath(QStringLiteral("proc/sys/dev"))));
    QVERIFY(QDir().mkpath(tree.filePath(QStringLiteral("dev"))));
    ParallelPortFactory::installTestPort(std::make_shared<PpdevParallelPort>(
        tree.filePath(QStringLiteral("proc")), tree.filePath(QStringLiteral("dev"))));
    StationFixture fixture;
    fixture.writeConfiguration({"MODEL=TX16UD", "WARNING=Y", lpt});
    Station &station = fixture.start();
    ParallelPortFactory::installTestPort(nullptr);
    const auto logged = [&station](const QString &text) {
        return station.log.lines().filter(QStringLiteral(" LPT: ") + text);
    };

    QCOMPARE(logged(QStringLiteral("No parallel port found")).size(), 1);
    QVERIFY(logged(QStringLiteral("No parallel port found"))
                .first()
                .contains(QStringLiteral("/proc/sys/dev/parport")));
    QCOMPARE(logged(QStringLiteral("No parallel port at 037Ah")).size(), 0);
    QCOMPARE(station.log.lines().filter(QStringLiteral("Radio ready")).size(), 0);

    QToolButton *transmit = station.windows().Form1->ui.SpeedButtonTX16TX;
    const QString notKeyed = QStringLiteral("Transmitter not keyed: ") + reason;
    const RadioState &radio = station.genericTx->radio().state();
    transmit->click();
    QVERIFY(radio.keyed());
    QCOMPARE(logged(notKeyed).size(), 1);
    transmit->click();
    QVERIFY(!radio.keyed());
    QCOMPARE(logged(notKeyed).size(), 1);
    transmit->click();
    QCOMPARE(logged(notKeyed).size(), 2);
    station.MenuQuitterClick();
    QCOMPARE(fixture.terminations, 1);
}

// Channel stepping, walking and scanning of the generic transmitter on a whole station, with
// the real stepping and pulse timers and the in-memory parallel port. Pulses are counted from
// the control values that reached the port.
#include "app/GenericTxWiring.h"
#include "core/StationState.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxRadio.h"
#include "support/GenericTxFixture.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include <QTest>

namespace {
constexpr quint8 Up = 0x02, Down = 0x01, Ptt = 0x08;
using Dir = UpDownArrows::Direction;

ChannelStepper &stepper(GenericTxFixture &rig)
{
    return rig.station().genericTx->stepper();
}

// The channel list and the keying and scanning, as the radio keeps them.
RadioState &radio(GenericTxFixture &rig)
{
    return rig.station().genericTx->radio().state();
}

bool scanning(GenericTxFixture &rig)
{
    return radio(rig).band(0).scanning;
}

// Channel counts as the pulses left: recorded each time an UP or DOWN pulse is asked.
struct ChannelRecorder
{
    explicit ChannelRecorder(GenericTxFixture &rig)
    {
        ControlLineDriver &driver = rig.station().genericTx->driver();
        QObject::connect(&driver, &ControlLineDriver::pulseAsked, &driver,
                         [this, &rig](TxLine line) {
                             if (line != TxLine::Reset)
                                 channels.append(rig.state().Tx16Channel);
                         });
    }
    QList<int> channels;
};

// Starts on channel `start` with the lines at rest and no step in progress.
void goTo(GenericTxFixture &rig, int start)
{
    QVERIFY(rig.waitUntilQuiet());
    rig.state().Tx16BaseChannel = start;
    rig.main().ButtonReset->click();
    QVERIFY(rig.waitUntilQuiet());
    rig.port->clearWrites();
}

void choose(GenericTxFixture &rig, int index)
{
    QComboBox *list = rig.main().ComboBoxTXMEM;
    list->setCurrentIndex(index);
    emit list->activated(index);
}
} // namespace

class TestGenericStepping : public QObject
{
    Q_OBJECT
private slots:
    void singleSteps_data();
    void singleSteps();
    void stepDuringLockOutIsIgnored();
    void walkToChosenChannel_data();
    void walkToChosenChannel();
    void choosingCurrentOrMissingChannel();
    void resetDuringWalk();
    void scanStopsOnOpenSquelch();
    void elevatorScanTurnsAtTheEnds();
    void toggles();
    void resynchronisation();
    void circularIcons();
};

void TestGenericStepping::singleSteps_data()
{
    QTest::addColumn<bool>("circular");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("upPulses");
    QTest::addColumn<int>("downPulses");

    QTest::newRow("elevator, up at N stays, no pulse") << false << 16 << true << 16 << 0 << 0;
    QTest::newRow("elevator, down at 1 stays, no pulse") << false << 1 << false << 1 << 0 << 0;
    QTest::newRow("circular, up at N wraps with one pulse") << true << 16 << true << 1 << 1 << 0;
    QTest::newRow("circular, down at 1 wraps with one pulse") << true << 1 << false << 16 << 0 << 1;
    QTest::newRow("up in the middle") << false << 5 << true << 6 << 1 << 0;
    QTest::newRow("down in the middle") << true << 5 << false << 4 << 0 << 1;
}

void TestGenericStepping::singleSteps()
{
    QFETCH(bool, circular);
    QFETCH(int, start);
    QFETCH(bool, up);
    QFETCH(int, end);
    QFETCH(int, upPulses);
    QFETCH(int, downPulses);
    GenericTxFixture rig({circular ? "OPTITX16=Y" : "OPTITX16=N"});
    goTo(rig, start);

    rig.main().UpDownTX->click(up ? Dir::Up : Dir::Down);
    QCOMPARE(rig.state().Tx16Channel, end);
    QCOMPARE(stepper(rig).selectorPosition(), end);
    QCOMPARE(radio(rig).currentMemory(), end - 1);
    QCOMPARE(stepper(rig).ticking(), upPulses + downPulses > 0);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.pulses(Up, true), upPulses);
    QCOMPARE(rig.pulses(Down, true), downPulses);
}

void TestGenericStepping::stepDuringLockOutIsIgnored()
{
    GenericTxFixture rig;
    goTo(rig, 5);
    rig.main().UpDownTX->click(Dir::Up);
    rig.main().UpDownTX->click(Dir::Up);
    QCOMPARE(rig.main().LCD99TX->channel(), 6);
    QCOMPARE(rig.main().UpDownTX->position(), 6);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(rig.pulses(Up, true), 1);
    QCOMPARE(rig.fixture.notifier.beeps, 0);
}

void TestGenericStepping::walkToChosenChannel_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("circular");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("target");
    QTest::addColumn<QList<int>>("path");

    QTest::newRow("16 circular, 1 to 9 goes up 8")
        << 16 << true << 1 << 9 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("16 circular, 1 to 10 goes down 7")
        << 16 << true << 1 << 10 << QList<int>{16, 15, 14, 13, 12, 11, 10};
    QTest::newRow("16 elevator, 1 to 10 goes up 9")
        << 16 << false << 1 << 10 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("17 circular, 1 to 10 goes down")
        << 17 << true << 1 << 10 << QList<int>{17, 16, 15, 14, 13, 12, 11, 10};
    QTest::newRow("16 elevator, 6 to 3 goes down") << 16 << false << 6 << 3 << QList<int>{5, 4, 3};
}

void TestGenericStepping::walkToChosenChannel()
{
    QFETCH(int, channels);
    QFETCH(bool, circular);
    QFETCH(int, start);
    QFETCH(int, target);
    QFETCH(QList<int>, path);
    GenericTxFixture rig({QStringLiteral("CHANNELNUMTX16=%1").arg(channels),
                          circular ? "OPTITX16=Y" : "OPTITX16=N"});
    goTo(rig, start);
    ChannelRecorder recorder(rig);

    choose(rig, target - 1);
    QVERIFY(rig.waitUntilQuiet(15000));
    QCOMPARE(recorder.channels, path);
    QCOMPARE(rig.state().Tx16Channel, target);
    QCOMPARE(rig.state().Tx16TargetChannel, 0);
    QCOMPARE(radio(rig).currentMemory(), target - 1);
    const int ups = rig.pulses(Up, true), downs = rig.pulses(Down, true);
    QCOMPARE(ups + downs, path.size());
    QVERIFY(ups == 0 || downs == 0);
}

void TestGenericStepping::choosingCurrentOrMissingChannel()
{
    GenericTxFixture rig;
    goTo(rig, 4);
    QComboBox *list = rig.main().ComboBoxTXMEM;

    choose(rig, 3); // channel 4: already there
    QVERIFY(rig.port->writes().isEmpty());
    QVERIFY(!stepper(rig).ticking());
    QCOMPARE(radio(rig).currentMemory(), 3);

    // Entry 20 of 16 channels: transmit and scan stop, the list falls back to channel 4.
    rig.main().SpeedButtonTX16TX->click();
    rig.port->clearWrites();
    choose(rig, 19);
    QVERIFY(!radio(rig).keyed());
    QCOMPARE(rig.controlWrites().size(), 1);
    QCOMPARE(rig.port->control() & Ptt, Ptt);
    QCOMPARE(radio(rig).currentMemory(), 3);
    QCOMPARE(list->currentIndex(), 3);
    QVERIFY(!stepper(rig).ticking());
    QCOMPARE(rig.state().Tx16Channel, 4);

    // An entry without a channel number is no channel either.
    RadioState &channels = rig.station().genericTx->radio().state();
    QStringList entries = channels.memories();
    entries[9] = QStringLiteral("xx0= [bad]");
    channels.updateMemories(entries);
    QCOMPARE(list->itemText(9), entries[9]);
    choose(rig, 9);
    QCOMPARE(radio(rig).currentMemory(), 3);
    QVERIFY(!stepper(rig).ticking());
}

void TestGenericStepping::resetDuringWalk()
{
    GenericTxFixture rig;
    goTo(rig, 1);
    ChannelRecorder recorder(rig);
    choose(rig, 11); // channel 12, elevator: up one channel per tick
    QVERIFY(QTest::qWaitFor([&] { return rig.state().Tx16Channel == 4; }, 5000));
    rig.state().Tx16BaseChannel = 8;
    rig.main().ButtonReset->click();
    QCOMPARE(rig.state().Tx16Channel, 8);
    QVERIFY(rig.waitUntilQuiet(10000));
    QCOMPARE(recorder.channels, (QList<int>{2, 3, 4, 9, 10, 11, 12}));
    QCOMPARE(rig.state().Tx16Channel, 12);
}

void TestGenericStepping::scanStopsOnOpenSquelch()
{
    GenericTxFixture rig;
    goTo(rig, 3);
    rig.port->setSquelchBit(false); // pin 11 high: open with the "+5v" setting
    ToggleButton *scan = rig.main().SpeedButtonTX16SC;
    scan->click();
    QVERIFY(scanning(rig));
    QCOMPARE(scan->captionColour(), QColor(0, 128, 0));
    QVERIFY(QTest::qWaitFor([&] { return !scanning(rig); }, 5000));
    QVERIFY(rig.waitUntilQuiet());
    // The first tick comes too soon to trust the squelch: one step, then the stop.
    QCOMPARE(rig.pulses(Up, true), 1);
    QCOMPARE(rig.state().Tx16Channel, 4);
    QCOMPARE(scan->captionColour(), QColor(Qt::black));
}

void TestGenericStepping::elevatorScanTurnsAtTheEnds()
{
    GenericTxFixture rig({"CHANNELNUMTX16=4", "OPTITX16=N"});
    goTo(rig, 3);
    ChannelRecorder recorder(rig);
    QObject::connect(&rig.station().genericTx->driver(), &ControlLineDriver::pulseAsked, [&] {
        if (recorder.channels.size() >= 8)
            rig.port->setSquelchBit(false);
    });
    rig.main().SpeedButtonTX16SC->click();
    QVERIFY(QTest::qWaitFor([&] { return !scanning(rig); }, 10000));
    QCOMPARE(recorder.channels, (QList<int>{4, 3, 2, 1, 2, 3, 4, 3}));
}

void TestGenericStepping::toggles()
{
    GenericTxFixture rig;
    goTo(rig, 2);
    ToggleButton *transmit = rig.main().SpeedButtonTX16TX;
    ToggleButton *scan = rig.main().SpeedButtonTX16SC;
    transmit->click();
    QCOMPARE(rig.port->control() & Ptt, 0);
    QCOMPARE(transmit->captionColour(), QColor(Qt::red));

    // Scanning ends transmission first, then starts the 100 ms first tick.
    scan->click();
    QVERIFY(!radio(rig).keyed());
    QCOMPARE(rig.port->control() & Ptt, Ptt);
    QVERIFY(stepper(rig).ticking());
    QCOMPARE(stepper(rig).tickInterval(), 100);

    // Transmitting stops the scan.
    transmit->click();
    QVERIFY(!scanning(rig));
    QVERIFY(!stepper(rig).ticking());
    QCOMPARE(rig.port->control() & Ptt, 0);

    // RESET ends transmission and goes to the base channel.
    rig.state().Tx16BaseChannel = 7;
    rig.main().ButtonReset->click();
    QVERIFY(!radio(rig).keyed());
    QCOMPARE(rig.port->control() & Ptt, Ptt);
    QCOMPARE(rig.state().Tx16Channel, 7);
    QCOMPARE(radio(rig).currentMemory(), 6);
    QCOMPARE(transmit->captionColour(), QColor(Qt::black));
}

void TestGenericStepping::resynchronisation()
{
    GenericTxFixture rig({"CHANNELNUMTX16=6"});
    goTo(rig, 6);
    QPushButton *up = rig.setup().ButtonSynchroUP;
    QPushButton *down = rig.setup().ButtonSynchroDown;

    up->click();
    QCOMPARE(rig.state().Tx16Channel, 6);
    down->click();
    down->click();
    QCOMPARE(rig.state().Tx16Channel, 4);
    QCOMPARE(radio(rig).currentMemory(), 3);
    for (int i = 0; i < 5; ++i)
        down->click();
    QCOMPARE(rig.state().Tx16Channel, 1);
    up->click();
    QCOMPARE(rig.state().Tx16Channel, 2);
    QCOMPARE(stepper(rig).selectorPosition(), 2);
    QVERIFY(rig.port->writes().isEmpty());
    QVERIFY(!stepper(rig).ticking());
    QVERIFY(!rig.state().Tx16Resync);

    // During a lock-out it does nothing.
    rig.main().UpDownTX->click(Dir::Up);
    up->click();
    QCOMPARE(rig.state().Tx16Channel, 3);
}

void TestGenericStepping::circularIcons()
{
    GenericTxFixture rig({"OPTITX16=Y"});
    Ui::TForm1 &m = rig.main();
    QVERIFY(!m.Imagecercle->isHidden());
    QVERIFY(m.Imageascenceur->isHidden());
    rig.setup().CheckBoxOptiTX16->setChecked(false);
    QVERIFY(m.Imagecercle->isHidden());
    QVERIFY(!m.Imageascenceur->isHidden());
    QVERIFY(!m.Imagecercle->pixmap().isNull());
    QVERIFY(!m.Imageascenceur->pixmap().isNull());
    // A DTMF code's or the server's choice is the same option, its picture following.
    rig.station().genericTx->radio().setCircularScan(true);
    QVERIFY(rig.station().tx16Settings->circularScan());
    QVERIFY(!m.Imagecercle->isHidden());
    rig.station().genericTx->radio().setCircularScan(false);
    QVERIFY(!rig.station().tx16Settings->circularScan());
    QVERIFY(m.Imagecercle->isHidden());
}

QTEST_MAIN(TestGenericStepping)
#include "tst_generic_stepping.moc"

// The generic transmitter on other lines than the parallel port, on a whole station: a USB audio
// interface stood in for by a socket pair, a GPIO chip that is not there, and lines in memory for
// the stepping.
#include "app/GenericTxWiring.h"
#include "generic_tx/Cm108Lines.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericReset.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/LinesFactory.h"
#include "generic_tx/LinesWatch.h"
#include "generic_tx/MemoryLines.h"
#include "service/StatusReport.h"
#include "support/GenericTxFixture.h"
#include "support/HidrawPeer.h"
#include "support/TestFiles.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include <QJsonObject>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {
const QString Device = QStringLiteral("/dev/hidraw-test");

// The output report for GPIO data bits, with UP, DOWN, RESET and PTT (GPIO 1, 2, 4, 3) outputs.
QByteArray report(quint8 data)
{
    return QByteArray("\0\0", 2) + char(data) + char(0x0F) + '\0';
}

// Installs the lines makers for the life of a test.
struct LinesMaker
{
    explicit LinesMaker(LinesFactory::Maker maker) { LinesFactory::installTestMaker(maker); }
    ~LinesMaker() { LinesFactory::installTestMaker(nullptr); }
};

LinesFactory::Maker usbAudio(HidrawPeer &peer)
{
    return [&peer](const LineSettings &settings, LinePolarity) {
        return std::make_unique<Cm108Lines>(settings.device,
                                            *LineConfig::parseMap(settings.kind, settings.map),
                                            [&peer](const QString &) { return peer.open(); });
    };
}

ControlLineDriver &driver(GenericTxFixture &rig)
{
    return rig.station().genericTx->driver();
}

int logged(GenericTxFixture &rig, const QString &text)
{
    return int(rig.station().log.lines().filter(text).size());
}

// Output reports that drive UP (GPIO 1) to its active level.
int upReports(const QList<QByteArray> &reports)
{
    return int(std::count_if(reports.cbegin(), reports.cend(),
                             [](const QByteArray &r) { return r.size() == 5 && (r[2] & 0x01); }));
}

QJsonObject statusOf(GenericTxFixture &rig)
{
    return rig.station().status->snapshot();
}
} // namespace

class TestGenericLines : public QObject
{
    Q_OBJECT
private slots:
    void usbAudioReports_data();
    void usbAudioReports();
    void usbAudioSquelch();
    void usbAudioUnpluggedAndBack();
    void usbAudioOnAPseudoTerminal();
    void missingGpioChip();
    void resetBringsTheLinesToRest();
    void scanOnLinesInMemory();
    void everyOutputRestsWhenLetGo_data();
    void everyOutputRestsWhenLetGo();
    void gpioOutputsRestBeforeRelease();
    void defaultSquelchFitsTheUsualWiring();
    void statusTellsTheLinesState();
};

void TestGenericLines::usbAudioReports_data()
{
    QTest::addColumn<QStringList>("polarities");
    QTest::addColumn<quint8>("rest");
    QTest::addColumn<quint8>("keyed");
    QTest::addColumn<quint8>("upPulse"); // while keyed
    // PTT GPIO 3 (0x04), UP GPIO 1 (0x01), RESET GPIO 4 (0x08).
    QTest::newRow("pos. and +5v") << QStringList{} << quint8(0x00) << quint8(0x04) << quint8(0x05);
    QTest::newRow("neg. and 0v") << QStringList{"PIN14=1", "PIN16=1", "PIN17=1"} << quint8(0x0D)
                                 << quint8(0x09) << quint8(0x08);
}

void TestGenericLines::usbAudioReports()
{
    QFETCH(QStringList, polarities);
    QFETCH(quint8, rest);
    QFETCH(quint8, keyed);
    QFETCH(quint8, upPulse);
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    GenericTxFixture rig(QStringList{"LINES=CM108", "LINESDEVICE=" + Device} + polarities);
    QVERIFY(rig.waitUntilQuiet());

    // Opened at rest before anything else, then activation's RESET pulse.
    const quint8 reset = rest ^ 0x08;
    QCOMPARE(peer.reports(), (QList<QByteArray>{report(rest), report(reset), report(rest)}));
    QCOMPARE(rig.main().LabelConnect->text(), QStringLiteral("Lines ") + Device + " OK");
    QCOMPARE(logged(rig, " Radio ready: TX16UD on " + Device + " (CM108)"), 1);
    QVERIFY(rig.port->writes().isEmpty()); // the parallel port is not in use

    // Keying leaves every other pin's level and direction as they were; a pulse is two reports.
    driver(rig).setPtt(true);
    QCOMPARE(peer.reports(), QList<QByteArray>{report(keyed)});
    driver(rig).pulse(TxLine::Up);
    QVERIFY(rig.waitUntilQuiet());
    QCOMPARE(peer.reports(), (QList<QByteArray>{report(upPulse), report(keyed)}));
    driver(rig).setPtt(false);
    driver(rig).setPtt(false);
    QCOMPARE(peer.reports(), (QList<QByteArray>{report(rest), report(rest)}));

    // Quitting leaves every output at rest whatever the program believed.
    driver(rig).setPtt(true);
    rig.main().MenuQuitter->trigger();
    const QList<QByteArray> atQuit = peer.reports();
    QVERIFY(atQuit.size() >= 2);
    QCOMPARE(atQuit.first(), report(keyed));
    QCOMPARE(atQuit.count(report(rest)), atQuit.size() - 1);
    QCOMPARE(rig.fixture.notifier.beeps, 0);
}

void TestGenericLines::usbAudioSquelch()
{
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    // Squelch open at 0 V: the volume-down input pulled to ground sets its bit.
    GenericTxFixture rig({"LINES=CM108", "LINESDEVICE=" + Device, "PIN11=1"});
    ControlLineDriver &driver = rig.station().genericTx->driver();
    QVERIFY(!driver.squelchIsOpen()); // nothing reported yet: nothing pressed

    QVERIFY(peer.press(0x02));
    QTRY_VERIFY(driver.squelchIsOpen());
    QVERIFY(peer.press(0x00));
    QTRY_VERIFY(!driver.squelchIsOpen());
    QVERIFY(peer.press(0x02 | 0x01));
    QTRY_VERIFY(driver.squelchIsOpen());
    QVERIFY(peer.press(0x01 | 0x04 | 0x08)); // the other buttons are not the squelch
    QTRY_VERIFY(!driver.squelchIsOpen());
    QVERIFY(peer.press(0x02));
    QTRY_VERIFY(driver.squelchIsOpen());
    rig.setup().RadioButtonPin11H->setChecked(true);
    QVERIFY(!driver.squelchIsOpen());
}

// A pseudo-terminal stands in for the device as a test rig would use it: reports pass byte for
// byte both ways, a byte that is a newline included, and one report needs no line end.
void TestGenericLines::usbAudioOnAPseudoTerminal()
{
    int master = -1;
    int slave = -1;
    QCOMPARE(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    const QString path = QString::fromLocal8Bit(::ttyname(slave));
    // UP and RESET on GPIO 2 and 4, high at rest: data bits 0x0A, a newline on the wire.
    Cm108Lines lines(path,
                     *LineConfig::parseMap(LinesKind::UsbAudio, QStringLiteral("2,1,4,3,VOLDN")));
    QVERIFY2(lines.open({true, false, true, false}), qPrintable(lines.failure()));
    QByteArray written;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            char buffer[64];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                written += QByteArray(buffer, int(n));
            return written.size() >= 5;
        }(),
        2000);
    QCOMPARE(written, QByteArray("\0\0\x0A\x0F\0", 5));
    const char pressed[4] = {0x02, 0, 0, 0};
    QCOMPARE(::write(master, pressed, sizeof pressed), ssize_t(sizeof pressed));
    QTRY_COMPARE(lines.squelchHigh(), std::optional<bool>(false));
    lines.close();
    ::close(slave);
    ::close(master);
}

void TestGenericLines::usbAudioUnpluggedAndBack()
{
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    GenericTxFixture rig({"LINES=CM108", "LINESDEVICE=" + Device});
    QVERIFY(rig.waitUntilQuiet());
    LinesWatch &watch = rig.station().genericTx->linesWatch();
    QLineEdit *status = rig.main().LabelConnect;
    driver(rig).setPtt(true);
    peer.reports();

    // Unplugged while keyed: the closed peer reads as the end of the device.
    peer.unplug();
    QTRY_COMPARE(logged(rig, " Lines " + Device + " lost"), 1);
    QVERIFY(rig.station().log.lines().constLast().endsWith(" Lines " + Device + " lost"));
    QCOMPARE(logged(rig, " Lines: " + Device + ": end of file"), 1);
    QCOMPARE(status->text(), "Lines " + Device + " lost");
    QVERIFY(watch.looking());
    driver(rig).pulse(TxLine::Up); // refused, said once in the log, not again as lost
    driver(rig).pulse(TxLine::Down);
    QCOMPARE(logged(rig, " Lines " + Device + " lost"), 1);

    peer.refuse = true;
    watch.retry();
    QVERIFY(watch.looking());
    QCOMPARE(logged(rig, " Lines " + Device + " back"), 0);

    // Back: at rest first, then keyed again, since TRANSMIT is still on.
    peer.refuse = false;
    QVERIFY(rig.waitUntilQuiet());
    watch.retry();
    QVERIFY(!watch.looking());
    QCOMPARE(peer.reports(), (QList<QByteArray>{report(0x00), report(0x04)}));
    QCOMPARE(logged(rig, " Lines " + Device + " back"), 1);
    QCOMPARE(status->text(), "Lines " + Device + " OK");

    // An unkey asked while it was away is not forgotten.
    peer.unplug();
    QTRY_VERIFY(watch.looking());
    driver(rig).setPtt(false);
    watch.retry();
    QCOMPARE(peer.reports(), QList<QByteArray>{report(0x00)});
    QVERIFY(!driver(rig).pttOn());
    QCOMPARE(logged(rig, " Lines " + Device + " lost"), 2);
}

void TestGenericLines::missingGpioChip()
{
    const QString chip = QStringLiteral("/nonexistent/gpiochip7");
    GenericTxFixture rig({"LINES=GPIO", "LINESDEVICE=" + chip, "LINESMAP=17,27,22,23,24"});
    QCOMPARE(rig.main().LabelConnect->text(), "Lines " + chip + " error");
    QCOMPARE(logged(rig, " Lines: Cannot open " + chip + ": No such file or directory"), 1);
    QVERIFY(rig.station().genericTx->linesWatch().looking());

    rig.main().SpeedButtonTX16TX->click();
    QCOMPARE(logged(rig, " Lines: Transmitter not keyed: " + chip + " not open"), 1);
    QVERIFY(rig.port->writes().isEmpty());
}

// The --reset of a station that died keyed: one report, every output at rest.
void TestGenericLines::resetBringsTheLinesToRest()
{
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    LineSettings settings{LinesKind::UsbAudio, Device, QStringLiteral("1,2,4,3,VOLDN")};
    const auto negative = LinePolarity::Negative, positive = LinePolarity::Positive;
    QCOMPARE(GenericReset::toIdle(settings, {negative, positive, negative, negative}), QString());
    QCOMPARE(peer.reports(), QList<QByteArray>{report(0x0D)});

    peer.refuse = true;
    QCOMPARE(GenericReset::toIdle(settings, {positive, positive, positive, positive}),
             "Cannot open " + Device + ": No such file or directory");
    settings.device.clear();
    QVERIFY(GenericReset::toIdle(settings, {}).startsWith(QStringLiteral("no device")));
}

void TestGenericLines::scanOnLinesInMemory()
{
    MemoryLines *lines = nullptr;
    LinesMaker maker([&lines](const LineSettings &settings, LinePolarity) {
        auto made = std::make_unique<MemoryLines>(settings.device);
        lines = made.get();
        return made;
    });
    // Squelch open at 0 V; UP "neg.", RESET "pos.".
    GenericTxFixture rig({"LINES=GPIO", "LINESDEVICE=/dev/gpiochip-test", "LINESMAP=17,27,22,23,24",
                          "PIN11=1", "PIN14=1"});
    QVERIFY(lines);
    lines->squelchInput = true;
    QVERIFY(rig.waitUntilQuiet());
    using W = MemoryLines::Write;
    QCOMPARE(lines->writes, (QList<W>{{TxLine::Up, true},
                                      {TxLine::Down, false},
                                      {TxLine::Reset, false},
                                      {TxLine::Ptt, false},
                                      {TxLine::Reset, true},
                                      {TxLine::Reset, false}}));
    lines->writes.clear();

    rig.main().SpeedButtonTX16SC->click();
    QTRY_VERIFY(lines->writes.count({TxLine::Up, false}) >= 2);
    lines->squelchInput = false;
    QTRY_VERIFY(!rig.station().genericTx->radio().state().band(0).scanning);
    QVERIFY(rig.waitUntilQuiet());
    const int ups = int(lines->writes.count({TxLine::Up, false}));
    QCOMPARE(rig.state().Tx16Channel, 1 + ups);
    QCOMPARE(lines->writes.last(), (W{TxLine::Up, true}));
}

void TestGenericLines::everyOutputRestsWhenLetGo_data()
{
    QTest::addColumn<QString>("pulse");   // the pulse under way
    QTest::addColumn<bool>("otherModel"); // another model chosen instead of quitting
    QTest::newRow("quit during the start-up RESET") << "DELAYPIN16=5000" << false;
    QTest::newRow("quit during an UP pulse") << "DELAYPIN14=5000" << false;
    QTest::newRow("other model during an UP pulse") << "DELAYPIN14=5000" << true;
}

// No parallel port in the file: the pulse under way ends and the device is let go at rest.
void TestGenericLines::everyOutputRestsWhenLetGo()
{
    QFETCH(QString, pulse);
    QFETCH(bool, otherModel);
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    GenericTxFixture rig({"LINES=CM108", "LINESDEVICE=" + Device, "LPT=0", pulse});
    ControlLineDriver &d = driver(rig);
    if (pulse.startsWith("DELAYPIN14")) {
        QTRY_VERIFY(!d.pulsing(TxLine::Reset));
        d.pulse(TxLine::Up);
        QVERIFY(d.pulsing(TxLine::Up));
    }
    QVERIFY(d.pulsing(TxLine::Up) || d.pulsing(TxLine::Reset));
    if (otherModel)
        rig.main().menuTMD700->trigger();
    else
        rig.main().MenuQuitter->trigger();
    QList<QByteArray> sent;
    QTRY_VERIFY((sent += peer.reports(), peer.closed()));
    QVERIFY(!sent.isEmpty());
    QCOMPARE(sent.last(), report(0x00));
    QVERIFY(!d.pulsing(TxLine::Up) && !d.pulsing(TxLine::Reset));
    QVERIFY(!rig.station().genericTx->linesWatch().looking());
}

// The kernel does not say what level a GPIO line keeps once released: every output rests first.
void TestGenericLines::gpioOutputsRestBeforeRelease()
{
    MemoryLines *lines = nullptr;
    LinesMaker maker([&lines](const LineSettings &settings, LinePolarity) {
        auto made = std::make_unique<MemoryLines>(settings.device);
        lines = made.get();
        return made;
    });
    GenericTxFixture rig({"LINES=GPIO", "LINESDEVICE=/dev/gpiochip-test", "LINESMAP=17,27,22,23,24",
                          "LPT=0", "PIN17=1", "DELAYPIN14=5000"});
    QVERIFY(lines && rig.waitUntilQuiet());
    driver(rig).setPtt(true);
    driver(rig).pulse(TxLine::Up);
    rig.main().MenuQuitter->trigger();
    QVERIFY(!lines->isOpen());
    QVERIFY(lines->writesBeforeClose >= 4);
    using W = MemoryLines::Write;
    const QList<W> last = lines->writes.mid(lines->writesBeforeClose - 4, 4);
    for (const W &rest : {W{TxLine::Up, false}, W{TxLine::Down, false}, W{TxLine::Reset, false},
                          W{TxLine::Ptt, true}})
        QVERIFY(last.contains(rest));
}

// The usual wiring: the receiver's COS pulls VOLDN to ground on a signal, the pin rests pulled
// up otherwise. With the default map and no PIN11= a scan (DTMF 30) goes on while nothing is
// reported, and stops once VOLDN is pulled low.
void TestGenericLines::defaultSquelchFitsTheUsualWiring()
{
    HidrawPeer peer;
    LinesMaker maker(usbAudio(peer));
    GenericTxFixture rig({"LINES=CM108", "LINESDEVICE=" + Device, "LPT=0"});
    QVERIFY(rig.waitUntilQuiet());
    peer.reports();
    QVERIFY(rig.station().tx16Settings->squelchPolarity() == LinePolarity::Negative);
    QToolButton *scan = rig.main().SpeedButtonTX16SC;
    scan->click();
    QList<QByteArray> sent;
    QTRY_VERIFY_WITH_TIMEOUT((sent += peer.reports(), upReports(sent) >= 3), 15000);
    const RadioState &radio = rig.station().genericTx->radio().state();
    QVERIFY(radio.band(0).scanning);
    QVERIFY(peer.press(0x02));
    QTRY_VERIFY(!radio.band(0).scanning);

    // Saved so that an older version reads the same level; "+5v" is said, being no default.
    rig.station().MenuSaveClick();
    QVERIFY(TestFiles::readLines(rig.fixture.path("Ivrelane.ini")).contains("PIN11=1"));
    rig.setup().RadioButtonPin11H->setChecked(true);
    rig.station().MenuSaveClick();
    QVERIFY(TestFiles::readLines(rig.fixture.path("Ivrelane.ini")).contains("PIN11=0"));
}

// Keyed in the status file only while the PTT line is; a device lost is counted and shown.
void TestGenericLines::statusTellsTheLinesState()
{
    HidrawPeer peer;
    peer.refuse = true;
    LinesMaker maker(usbAudio(peer));
    GenericTxFixture rig({"LINES=CM108", "LINESDEVICE=" + Device, "LPT=0"});
    const auto lines = [&rig] { return statusOf(rig).value("lines").toObject(); };
    QCOMPARE(lines().value("state").toString(), QStringLiteral("error"));
    QCOMPARE(lines().value("kind").toString(), QStringLiteral("CM108"));
    rig.main().SpeedButtonTX16TX->click();
    QVERIFY(rig.station().genericTx->radio().state().keyed());
    QCOMPARE(statusOf(rig).value("keyed").toBool(), false);
    QCOMPARE(statusOf(rig).value("counters").toObject().value("keyings").toInt(), 0);

    // Plugged in: opened at rest, then keyed since TRANSMIT is still on.
    peer.refuse = false;
    rig.station().genericTx->linesWatch().retry();
    QCOMPARE(lines().value("state").toString(), QStringLiteral("OK"));
    QCOMPARE(statusOf(rig).value("keyed").toBool(), true);
    QCOMPARE(lines().value("pttKeyed").toBool(), true);
    QCOMPARE(lines().value("squelchOpen").toBool(), false);
    QCOMPARE(StatusReport::summary(statusOf(rig)),
             "TX16UD on " + Device + ", lines OK, server not connected");

    peer.unplug();
    QTRY_COMPARE(lines().value("state").toString(), QStringLiteral("lost"));
    QCOMPARE(statusOf(rig).value("keyed").toBool(), false);
    QCOMPARE(statusOf(rig).value("counters").toObject().value("portLosses").toInt(), 1);
    QCOMPARE(statusOf(rig).value("counters").toObject().value("keyings").toInt(), 1);
    QVERIFY(StatusReport::summary(statusOf(rig)).contains(", lines lost, "));
}

QTEST_MAIN(TestGenericLines)
#include "tst_generic_lines.moc"

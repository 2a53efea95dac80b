#include "app/HamlibWiring.h"
#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "core/EventLog.h"
#include "core/StationState.h"
#include "hamlib/HamlibConfigKeys.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibOperations.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibRig.h"
#include "hamlib/HamlibTexts.h"
#include "kenwood/RigLink.h"
#include "radio/RadioSelector.h"
#include "radio/RadioState.h"
#include "support/RawPty.h"
#include "support/RecordingRadio.h"
#include "support/RigSimProcess.h"
#include "support/RigctldProcess.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "ui/UnitHamlib.h"
#include "ui/UnitIP.h"
#include "ui/UnitTMD700.h"

#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <hamlib/rig.h>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr int InitTimeoutMs = 30'000;

const QString Code1230 = QStringLiteral("1230 : action 07= Mémoire Nnn sur TXA (Kenwood)");

// A station whose model is Hamlib, connected at start to an in-test relay server.
struct HamlibRoad
{
    ServerPeer server;
    StationFixture fixture;

    Station &start(const QStringList &hamlib, const QStringList &more = {})
    {
        Station &station = fixture.start(
            QStringList{"MODEL=HAMLIB", "CHANNEL=BOTH", "NUMBERMEM=20", "DTMF_CODE=" + Code1230} +
            StationFixture::serverLines(server.port()) + hamlib + more);
        if (!server.waitForClient(InitTimeoutMs))
            qWarning("the station did not connect");
        return station;
    }

    Station &station() { return fixture.station(); }
    Ui::TForm1 &main() { return station().windows().Form1->ui; }

    QByteArray askFrequency()
    {
        const int before = server.received().count("\r\n");
        server.send("FREQUENCY\r\n");
        const QList<QByteArray> lines = server.waitForLines(before + 1, 10'000);
        return lines.size() > before ? lines.at(before) : QByteArray();
    }
};

// A serial line with nothing behind it: a radio switched off, or on another port.
struct SilentLine
{
    int master = -1;
    int slave = -1;
    QString path = openRawPty(&master, &slave);
    ~SilentLine()
    {
        for (int fd : {master, slave})
            if (fd >= 0)
                ::close(fd);
    }
    // What was written to the radio since the last call.
    QByteArray bytes()
    {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        return bytes;
    }
    // Commands written to the radio since the last call.
    QList<QByteArray> commands()
    {
        QList<QByteArray> out = bytes().split('\r');
        out.removeAll(QByteArray());
        return out;
    }
};

// Puts the radio where an operator left it, with its own commands, before the station opens it.
bool setUpRadio(const QString &pty, const QList<QByteArray> &commands)
{
    QSerialPort port(pty);
    if (!port.open(QIODevice::ReadWrite))
        return false;
    for (const QByteArray &command : commands) {
        port.write(command + '\r');
        QByteArray reply;
        while (!reply.endsWith('\r') && port.waitForReadyRead(3000))
            reply += port.readAll();
        if (reply.trimmed() != command)
            return false;
    }
    return true;
}

// The commands among `commands` that change the transmit band, a band's mode or its channel.
QStringList bandChanges(const QStringList &commands)
{
    static const QRegularExpression change(QStringLiteral("^(BC|VM|MR) \\d,\\d+$"));
    return commands.filter(change);
}

} // namespace

class TestHamlib : public QObject
{
    Q_OBJECT

private slots:
    void frequencyTexts_data();
    void frequencyTexts();
    void portAddresses();
    void configurationKeysAreGuardedAndSaved();
    void modelListIsSearchable();
    void settingsWindowChoosesTheRadioAndCancelKeepsTheOldOne();
    void radioOpensAndReleasesItselfForTheSelector();
    void dummyRadioAnswersTheServerAndThePanel();
    void radioWithoutSecondBandDisablesItsControls();
    void rigctldIsKeyedAndPoweredThroughModel2();
    void rigctldKilledWhileKeyedIsUnkeyedOnceBack();
    void serverGoneUnkeysTheRadioItKeyed();
    void tmd710BackendOnRigsimRecallsMemoryByDtmf();
    void silentRadioIsAskedOnceAtATimeAndLetGoAtOnce();
    void capabilitiesFollowHamlibsDescription();
    void refusedKeyingLeavesTheRadioAnswering();
    void otherBandsModeLeavesTheTransmitBand();
    void modelHamlibCannotSetUpTurnsTheStatusRed();
    void tmd710IsLeftWhereTheOperatorPutIt();
    void tmd710KeyedWhenSilentIsUnkeyedWhenBack();
    void missingModelKeepsHamlibWithoutARadio();
    void missingPortIsSaidMissing();
    void scanningKenwoodIsLetGoBeforeHamlibTakesOver();
    void lostRepliesDoNotHoldTheUnkey();
    void powerAskedWithoutARadioWaitsForIt();
    void workerLeftBehindKeepsItsPort();
};

void TestHamlib::frequencyTexts_data()
{
    QTest::addColumn<qint64>("hertz");
    QTest::addColumn<int>("shift");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::newRow("repeater minus") << qint64(145'225'000) << -1 << qint64(600'000) << ""
                                    << "001=145.225000 shift=-0.600";
    QTest::newRow("named, plus") << qint64(430'025'000) << 1 << qint64(9'400'000) << " RELAIS "
                                 << "001=430.025000 shift=+9.400 RELAIS";
    QTest::newRow("simplex") << qint64(144'800'000) << 0 << qint64(0) << ""
                             << "001=144.800000 shift=0";
    QTest::newRow("no frequency") << qint64(0) << 0 << qint64(0) << ""
                                  << "001=000.000000 shift=0";
    // 1296.2 MHz has no ten-character form: no frequency rather than a false 296.200000.
    QTest::newRow("23 cm") << qint64(1'296'200'000) << 0 << qint64(0) << ""
                           << "001=000.000000 shift=0";
}

void TestHamlib::frequencyTexts()
{
    QFETCH(qint64, hertz);
    QFETCH(int, shift);
    QFETCH(qint64, offset);
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QCOMPARE(HamlibTexts::memoryEntry(1, hertz, HamlibTexts::shiftText(shift, offset), name),
             entry);
}

void TestHamlib::portAddresses()
{
    QCOMPARE(HamlibTexts::devicePath(QStringLiteral("ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(HamlibTexts::devicePath(QStringLiteral("/dev/serial/by-id/usb-FTDI-if00")),
             QStringLiteral("/dev/serial/by-id/usb-FTDI-if00"));
    QCOMPARE(HamlibTexts::devicePath(QStringLiteral("localhost:4532")),
             QStringLiteral("localhost:4532"));
    QVERIFY(HamlibTexts::networkAddress(QStringLiteral("127.0.0.1:4532")));
    QCOMPARE(HamlibTexts::networkAddress(QStringLiteral("127.0.0.1:4532"))->port, 4532);
    QVERIFY(!HamlibTexts::networkAddress(QStringLiteral("127.0.0.1:70000")));
    QVERIFY(!HamlibTexts::networkAddress(QStringLiteral("ttyUSB0")));
    QVERIFY(!HamlibTexts::networkAddress(QStringLiteral("host:")));
    // A rigctld named without its port is on rigctld's own.
    QCOMPARE(HamlibTexts::rigctldAddress(QStringLiteral(" localhost"))->text(),
             QStringLiteral("localhost:4532"));
    QCOMPARE(HamlibTexts::rigctldAddress(QStringLiteral("10.0.0.2:4000"))->port, 4000);
    QVERIFY(!HamlibTexts::rigctldAddress(QStringLiteral("host:")));
}

void TestHamlib::configurationKeysAreGuardedAndSaved()
{
    StationFixture fixture;
    fixture.writeConfiguration({"HAMLIBMODEL=2034 ", "HAMLIBPORT=/dev/ttyUSB1", "HAMLIBSPEED=9600",
                                // Each bad value is ignored and the good one above stays.
                                "HAMLIBMODEL=abc", "HAMLIBMODEL=-3", "HAMLIBMODEL=999999",
                                "HAMLIBMODEL=0", "HAMLIBPORT=", "HAMLIBPORT=a b", "HAMLIBSPEED=12",
                                "HAMLIBSPEED=fast", "HAMLIBSPEED=12345"});
    Station &station = fixture.start();
    const HamlibSettings &settings = station.hamlib->radio().settings();
    QCOMPARE(settings.model, 2034);
    QCOMPARE(settings.port, QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(settings.speed, 9600);
    // MODEL=HAMLIB was not given: the generic transmitter stays, the keys are kept for later.
    QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));
    const QStringList saved = ConfigFile::build(station.configBinding());
    QVERIFY(saved.contains(QStringLiteral("HAMLIBMODEL=2034")));
    QVERIFY(saved.contains(QStringLiteral("HAMLIBPORT=/dev/ttyUSB1")));
    QVERIFY(saved.contains(QStringLiteral("HAMLIBSPEED=9600")));
    QVERIFY(saved.contains(QStringLiteral("MODEL=TX16UD")));
}

void TestHamlib::modelListIsSearchable()
{
    const HamlibModel *tmd710 = HamlibModelList::find(2034);
    QVERIFY(tmd710 != nullptr);
    QCOMPARE(tmd710->label(), QStringLiteral("Kenwood TM-D710(G) (2034)"));
    QVERIFY(HamlibModelList::matches(tmd710->label(), QStringLiteral("d710 kenw")));
    QVERIFY(!HamlibModelList::matches(tmd710->label(), QStringLiteral("icom")));
    // The Model menu's spelling, and the name split otherwise, find it too.
    for (const char *search : {"tmd710", "TM D710", "kenwood tm-d710", "TMD-710"})
        QVERIFY2(HamlibModelList::matches(tmd710->label(), QString::fromLatin1(search)), search);
    QVERIFY(!HamlibModelList::matches(tmd710->label(), QStringLiteral("tmv71")));
    // Only a serial device this machine lacks is missing; the dummy radio and a rigctld have none.
    QVERIFY(HamlibModelList::portMissing(2034, QStringLiteral("ttyIvrelaneNone")));
    QVERIFY(!HamlibModelList::portMissing(2034, QStringLiteral("/dev/null")));
    QVERIFY(!HamlibModelList::portMissing(1, QStringLiteral("dummy")));
    QVERIFY(!HamlibModelList::portMissing(2, QStringLiteral("127.0.0.1:4532")));
    QVERIFY(HamlibModelList::all().size() > 200);
}

void TestHamlib::settingsWindowChoosesTheRadioAndCancelKeepsTheOldOne()
{
    StationFixture fixture;
    fixture.writeConfiguration({"WARNING=Y"});
    Station &station = fixture.start();
    Ui::TForm1 &m = station.windows().Form1->ui;
    TFormHamlib &form = station.hamlib->settingsForm();
    QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));

    // Cancel: the generic transmitter stays the model, keyed as it was; nothing was started.
    m.SpeedButtonTX16TX->click();
    QVERIFY(m.SpeedButtonTX16TX->isChecked());
    m.MenuHamlib->trigger();
    QVERIFY(form.isVisible());
    QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));
    QVERIFY(m.SpeedButtonTX16TX->isChecked());
    form.ui.ButtonCancel->click();
    QVERIFY(!form.isVisible());
    QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));
    QVERIFY(m.SpeedButtonTX16TX->isChecked());
    QVERIFY(!station.hamlib->radio().link().isStarted());
    m.SpeedButtonTX16TX->click();

    // A rigctld address that is no host:port is refused with a message; the window stays.
    m.MenuHamlib->trigger();
    // rigctld's usual address is there to take, as a value rather than a grey hint.
    QCOMPARE(form.ui.EditRigctld->text(), QStringLiteral("127.0.0.1:4532"));
    QVERIFY(form.ui.EditRigctld->placeholderText().isEmpty());
    const qsizetype messages = fixture.notifier.messages.size();
    form.ui.RadioButtonRigctld->setChecked(true);
    QVERIFY(!form.ui.ListModels->isEnabled());
    form.ui.EditRigctld->setText(QStringLiteral("localhost:"));
    form.ui.ButtonOK->click();
    QVERIFY(form.isVisible());
    QCOMPARE(fixture.notifier.messages.size(), messages + 1);
    QVERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));

    // A serial port this machine does not have is refused, named in the message.
    form.ui.RadioButtonSerial->setChecked(true);
    form.ui.EditSearch->setText(QStringLiteral("tmd710"));
    QCOMPARE(form.ui.ListModels->currentItem()->text(),
             QStringLiteral("Kenwood TM-D710(G) (2034)"));
    form.ui.ComboBoxPort->setCurrentText(QStringLiteral("ttyIvrelaneNone"));
    form.ui.ButtonOK->click();
    QVERIFY(form.isVisible());
    QCOMPARE(fixture.notifier.messages.size(), messages + 2);
    QVERIFY2(fixture.notifier.messages.constLast().contains(QStringLiteral("ttyIvrelaneNone")),
             qPrintable(fixture.notifier.messages.constLast()));

    // Typing narrows the list to the matching models; the first match is chosen.
    form.ui.EditSearch->setText(QStringLiteral("hamlib dummy no"));
    QCOMPARE(form.ui.ListModels->currentItem()->text(), QStringLiteral("Hamlib Dummy No VFO (6)"));
    form.ui.EditSearch->setText(QStringLiteral("hamlib dummy"));
    int shown = 0;
    for (int i = 0; i < form.ui.ListModels->count(); ++i)
        shown += form.ui.ListModels->item(i)->isHidden() ? 0 : 1;
    QCOMPARE(shown, 2);
    form.ui.ListModels->setCurrentRow(form.ui.ListModels->row(
        form.ui.ListModels->findItems("Hamlib Dummy (1)", Qt::MatchExactly).first()));
    form.ui.ComboBoxPort->setCurrentText(QStringLiteral("dummy"));
    form.ui.ComboBoxSpeed->setCurrentText(QStringLiteral("fast"));
    form.ui.ButtonOK->click();
    QVERIFY(form.isVisible()); // a speed that is no number is refused too
    form.ui.ComboBoxSpeed->setCurrentText(QStringLiteral("19200"));
    m.EditTXdata->setText(QStringLiteral("ID"));
    form.ui.ButtonOK->click();
    QVERIFY(!form.isVisible());
    QVERIFY(station.radios.isCurrent(QStringLiteral("HAMLIB")));
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    // The port is the settings window's: the COM menu is off, the port line shows it, and the
    // generic transmitter's traffic is gone.
    QVERIFY(!m.MenuPort->isEnabled());
    QCOMPARE(m.LabelConnect->text(), QStringLiteral("dummy"));
    QVERIFY(m.EditTXdata->text().isEmpty());
    // Hamlib's name of the model, and the port as given.
    const QStringList ready = station.log.lines().filter(QStringLiteral(" Radio ready: "));
    QCOMPARE(ready.size(), 1);
    QVERIFY2(ready.first().endsWith(QStringLiteral(" Radio ready: ") +
                                    station.state.ModelLabel.trimmed() +
                                    QStringLiteral(" on dummy")),
             qPrintable(ready.first()));
    QVERIFY(station.state.ModelLabel.trimmed() != QLatin1String("Hamlib"));
    const QStringList saved = ConfigFile::build(station.configBinding());
    for (const char *line :
         {"MODEL=HAMLIB", "HAMLIBMODEL=1", "HAMLIBPORT=dummy", "HAMLIBSPEED=19200"})
        QVERIFY2(saved.contains(QString::fromLatin1(line)), line);

    // The language switch relabels the window, and leaves the COM menu's port line alone (a
    // Kenwood used before left its port's state behind).
    station.state.PortStatus = 1;
    station.ComPortTX.portName = QStringLiteral("ttyS0");
    const QString portLine = m.LabelConnect->text();
    m.menuEnglish->trigger();
    QCOMPARE(m.LabelConnect->text(), portLine);
    QCOMPARE(form.ui.RadioButtonSerial->text(), QStringLiteral("Serial port"));
    QCOMPARE(form.ui.ButtonCancel->text(), QStringLiteral("Cancel"));
    m.MenuFrancais->trigger();
    QCOMPARE(form.ui.RadioButtonSerial->text(), QStringLiteral("Port série"));

    // Another model takes over: the Hamlib link is let go.
    m.MenuTX16UD->trigger();
    QVERIFY(!station.hamlib->radio().link().isStarted());
}

// Without a station: the selector opens the Hamlib radio it chooses (link started with the
// settings, initialised, ready once), and releases it for another model (unkeyed, link stopped,
// the panel left); settings without a model give no link at all.
void TestHamlib::radioOpensAndReleasesItselfForTheSelector()
{
    StationState station;
    QTemporaryDir folder;
    EventLog log(folder.filePath(QStringLiteral("Ivrelane.log")));
    HamlibRadio radio(station, log);
    QStringList pressed;
    RecordingRadio other(RecordingRadio::Kind::Kenwood, station, pressed);
    RadioSelector radios;
    radios.add(HamlibRadio::ModelName.toString(), &radio);
    radios.add(QStringLiteral("TMD710"), &other);
    QSignalSpy initialised(&radio, &HamlibRadio::initialisationOver);
    QSignalSpy left(&radio, &HamlibRadio::panelLeft);
    QSignalSpy missing(&radio, &HamlibRadio::settingsMissing);

    QVERIFY(radios.choose(HamlibRadio::ModelName.toString()));
    QVERIFY(!radio.link().isStarted());
    QCOMPARE(missing.count(), 1);
    QCOMPARE(missing.first().first().toString(), QStringLiteral("Hamlib: no radio model"));
    QCOMPARE(radio.linkStatus(), HamlibRadio::LinkStatus::None);
    QCOMPARE(initialised.count(), 1);

    radio.settings().model = 1; // Hamlib's dummy radio, no port
    radio.initialise();
    QVERIFY(radio.link().isStarted());
    QTRY_COMPARE_WITH_TIMEOUT(station.RigStatus, 3, InitTimeoutMs);
    QCOMPARE(initialised.count(), 2);
    QCOMPARE(radio.linkStatus(), HamlibRadio::LinkStatus::Open);
    QCOMPARE(station.ModelLabel, QStringLiteral("Dummy "));
    QCOMPARE(log.lines().filter(QStringLiteral(" Radio ready: Dummy")).size(), 1);
    QVERIFY(radio.state().panelEnabled());
    QCoro::waitFor(radio.setTransmit(true));
    QVERIFY(radio.state().keyed());

    QCoro::waitFor(radios.changeTo(QStringLiteral("TMD710")));
    QVERIFY(!radio.link().isStarted());
    QVERIFY(!radio.state().keyed());
    QVERIFY(!radio.state().panelEnabled());
    QCOMPARE(left.count(), 1);
    QVERIFY(!station.RigAnswering);
    QCOMPARE(station.RigStatus, 0);
    QVERIFY(radios.isCurrent(QStringLiteral("TMD710")));
    QCOMPARE(pressed, QStringList{QStringLiteral("open")});
    // Not in use, INIT leaves it alone.
    radio.initialise();
    QVERIFY(!radio.link().isStarted());
}

void TestHamlib::dummyRadioAnswersTheServerAndThePanel()
{
    HamlibRoad road;
    // Hamlib's dummy radio needs no port.
    Station &station = road.start({"HAMLIBMODEL=1"});
    QVERIFY(station.radios.isCurrent(QStringLiteral("HAMLIB")));
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    const QStringList ready = station.log.lines().filter(QStringLiteral(" Radio ready: "));
    QCOMPARE(ready.size(), 1);
    QVERIFY2(ready.first().endsWith(QStringLiteral(" Radio ready: Dummy")),
             qPrintable(ready.first()));
    QVERIFY(station.hamlib->radio().state().panelEnabled());
    QCOMPARE(road.main().GroupBoxTX->title(), QStringLiteral("Hamlib Dummy"));
    // The window's title names the model chosen, not the radio found.
    QCOMPARE(station.windows().Form1->windowTitle(), QStringLiteral("IvrelaneHamlib V2.1.4"));
    QVERIFY(!road.main().SpeedButtonScanA->isHidden());
    QVERIFY(road.main().GroupBoxTX16UD->isHidden());
    // Hamlib's dummy radio starts on 145 MHz in VFO A.
    QCOMPARE(road.askFrequency(), QByteArray("145.000000"));
    QTRY_VERIFY(
        road.main().StaticTextIPConnect->text().startsWith(QStringLiteral("F=145.000000/")));
    QCOMPARE(station.hamlib->radio().state().band(0).vfoText,
             QStringLiteral("F=145.000000 shift=0"));
    // Band B was read as well: its VFO lamp is lit.
    QCOMPARE(station.hamlib->radio().state().band(1).mode, RadioState::Mode::Vfo);
    QVERIFY(station.hamlib->radio().state().band(1).vfoText.startsWith(QStringLiteral("F=")));

    // Band B, then memory mode: the panel follows the radio's answers.
    road.main().SpeedButtonTXB->click();
    QTRY_COMPARE(station.state.ActiveBand, 1);
    road.main().SpeedButtonMEMB->click();
    QTRY_VERIFY(station.state.MemModeB);
    QVERIFY(!station.state.VfoModeB);
    // Hamlib reports an error for the dummy radio's memory mode, which the radio took: the log
    // says no refusal the lamp contradicts (the request answered runs after the change).
    QVERIFY(!road.askFrequency().isEmpty());
    QVERIFY2(station.log.lines().filter(QStringLiteral(" Hamlib rig_set_vfo: ")).isEmpty(),
             qPrintable(station.log.lines().join(u'\n')));
    road.main().SpeedButtonVFOB->click();
    QTRY_VERIFY(station.state.VfoModeB);

    // Requests are answered in order and one each, even several in one read.
    const int before = road.server.received().count("\r\n");
    road.server.send("FREQUENCY\r\nFREQUENCY\r\nFREQUENCY\r\n");
    const QList<QByteArray> lines = road.server.waitForLines(before + 3);
    QCOMPARE(lines.size(), before + 3);
    QCOMPARE(road.server.received().count("\r\n"), before + 3);
    QVERIFY(station.state.RigAnswering);
}

void TestHamlib::radioWithoutSecondBandDisablesItsControls()
{
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=1", "HAMLIBPORT=dummy"},
                                  {"DTMF_CODE=1220 : action 20= Puissance L TXA (Kenwood)",
                                   "DTMF_CODE=1223 : action 23= Puissance L TXB (Kenwood)"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    Ui::TForm1 &m = road.main();
    // DTMF power codes; the server's next request is answered once they were acted on.
    auto sendPowerCodes = [&road] {
        road.server.send("1220\r\n");
        road.server.send("1223\r\n");
        return road.askFrequency();
    };
    // The dummy radio can do everything.
    for (QWidget *control : std::initializer_list<QWidget *>{
             m.SpeedButtonTXB, m.SpeedButtonMEMA, m.SpeedButtonMEMB, m.TrackBarPWRA, m.TrackBarPWRB,
             m.SpeedButtonScanA, m.SpeedButtonTX})
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));

    // A radio with one VFO, no memories, no scan and no power setting, as Hamlib describes
    // it when the link opens: those controls are disabled, the others stay.
    HamlibCapabilities single;
    single.maker = QStringLiteral("Maker");
    single.model = QStringLiteral("Mono");
    single.ptt = true;
    emit station.hamlib->radio().link().opened(single);
    for (QWidget *control : std::initializer_list<QWidget *>{
             m.SpeedButtonTXB, m.SpeedButtonVFOB, m.SpeedButtonMEMA, m.SpeedButtonMEMB,
             m.ComboBoxMEM, m.TrackBarPWRA, m.TrackBarPWRB, m.SpeedButtonScanA, m.SpeedButtonScanB})
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(m.SpeedButtonTXA->isEnabled());
    QVERIFY(m.SpeedButtonVFOA->isEnabled());
    QVERIFY(m.SpeedButtonTX->isEnabled());
    QCOMPARE(m.GroupBoxTX->title(), QStringLiteral("Maker Mono"));
    // Power codes (both for L) do not move the disabled sliders.
    const int powerA = m.TrackBarPWRA->value();
    const int powerB = m.TrackBarPWRB->value();
    QVERIFY(powerA != 2 && powerB != 2);
    QCOMPARE(sendPowerCodes(), QByteArray("145.000000"));
    QCOMPARE(m.TrackBarPWRA->value(), powerA);
    QCOMPARE(m.TrackBarPWRB->value(), powerB);
    // With a power setting on its one band, band A's code acts and band B's does not.
    single.power = true;
    emit station.hamlib->radio().link().opened(single);
    QCOMPARE(sendPowerCodes(), QByteArray("145.000000"));
    QCOMPARE(m.TrackBarPWRA->value(), 2);
    QCOMPARE(m.TrackBarPWRB->value(), powerB);
    // The band choice "Active band" does not bring band B back.
    m.MenuChoixTXAB->trigger();
    QVERIFY(!m.SpeedButtonTXB->isEnabled());

    // A Kenwood taking over finds every control back, in a panel that waits for its own
    // initialisation, without the Hamlib radio's status.
    m.MenuTMD710->trigger();
    for (QWidget *control :
         std::initializer_list<QWidget *>{m.SpeedButtonTXB, m.SpeedButtonMEMA, m.SpeedButtonMEMB,
                                          m.ComboBoxMEM, m.TrackBarPWRA, m.TrackBarPWRB})
        QVERIFY2(control->isEnabledTo(m.GroupBoxTX), qPrintable(control->objectName()));
    QVERIFY(!station.hamlib->radio().state().panelEnabled());
    QVERIFY(!station.state.RigAnswering);
    QVERIFY(m.labelTMD->text().isEmpty());
}

void TestHamlib::rigctldIsKeyedAndPoweredThroughModel2()
{
    RigctldProcess rigctld;
    QVERIFY(rigctld.start({"-m", "1", "-P", "RIG"}));
    // Left keyed by a copy that crashed: the first opening sends it to receive.
    QVERIFY(rigctld.ask({"T", "1"}).isEmpty());
    QCOMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
    HamlibRoad road;
    Station &station =
        road.start({"HAMLIBMODEL=2", "HAMLIBPORT=" + rigctld.address()}, {"TXTIMEOUT=3"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    QCOMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
    // Another program moved the shared radio: the answer is what the radio is on now.
    QVERIFY(rigctld.ask({"F", "433500000"}).isEmpty());
    QCOMPARE(road.askFrequency(), QByteArray("433.500000"));

    road.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY(station.hamlib->radio().state().keyed());
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
    road.server.send("RECEIVE_R\r\n");
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
    // TRANSMIT then RECEIVE in one read ends unkeyed.
    road.server.send("TRANSMIT_R\r\nRECEIVE_R\r\n");
    QTRY_VERIFY(!station.hamlib->radio().state().keyed());
    // Answered after both were carried out.
    QCOMPARE(road.askFrequency(), QByteArray("433.500000"));
    QCOMPARE(rigctld.ask({"t"}), QStringLiteral("0"));

    // Power L is a tenth of full power, H all of it.
    road.main().TrackBarPWRA->setValue(2);
    QTRY_COMPARE(rigctld.ask({"l", "RFPOWER"}), QStringLiteral("0.100000"));
    road.main().TrackBarPWRA->setValue(0);
    QTRY_COMPARE(rigctld.ask({"l", "RFPOWER"}), QStringLiteral("1.000000"));

    // OK in the settings window while keyed starts the link again unkeyed, panel included, and
    // the server keys it again.
    road.server.send("TRANSMIT_R\r\n");
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
    road.main().MenuHamlib->trigger();
    station.hamlib->settingsForm().ui.ButtonOK->click();
    QVERIFY(!station.hamlib->radio().state().keyed());
    QCOMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    road.server.send("TRANSMIT_R\r\n");
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("1"));

    // Left keyed, the transmit time-out unkeys it.
    QTRY_COMPARE_WITH_TIMEOUT(rigctld.ask({"t"}), QStringLiteral("0"), 10'000);
    QVERIFY(!station.hamlib->radio().state().keyed());
    QVERIFY(station.log.lines().constLast().endsWith(QStringLiteral(" TX time-out")));
    // After a time-out the server keys again only once it has sent a receive request.
    road.server.send("RECEIVE_R\r\nTRANSMIT_R\r\n");
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("1"));

    // Quitting while keyed unkeys the radio.
    station.MenuQuitterClick();
    QCOMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
}

// The server that keyed the radio goes away: the radio is unkeyed through rigctld at once, as
// the server's RECEIVE would, not at the transmit time-out.
void TestHamlib::serverGoneUnkeysTheRadioItKeyed()
{
    RigctldProcess rigctld;
    QVERIFY(rigctld.start({"-m", "1", "-P", "RIG"}));
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2", "HAMLIBPORT=" + rigctld.address()});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    road.server.send("TRANSMIT_R\r\n");
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
    road.server.closeClient();
    QTRY_COMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
    QVERIFY(!station.hamlib->radio().state().keyed());
    QCOMPARE(station.log.lines()
                 .filter(QStringLiteral(" Server connection lost: transmitter released"))
                 .size(),
             1);
}

void TestHamlib::rigctldKilledWhileKeyedIsUnkeyedOnceBack()
{
    auto rigctld = std::make_unique<RigctldProcess>();
    const int port = rigctld->port();
    QVERIFY(rigctld->start({"-m", "1", "-P", "RIG"}));
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2", "HAMLIBPORT=" + rigctld->address()});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    road.server.send("TRANSMIT_L\r\n");
    QTRY_COMPARE(rigctld->ask({"t"}), QStringLiteral("1"));

    rigctld->kill();
    road.server.send("RECEIVE_L\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(road.main().labelTMD->text().endsWith(QStringLiteral("ne répond pas")),
                             20'000);
    QVERIFY(road.main().labelTMD->styleSheet().contains(QStringLiteral("255, 0, 0")));
    QVERIFY(!station.state.RigAnswering);
    QVERIFY(!station.hamlib->radio().state().keyed());
    // Hamlib's error text is in the log, once.
    const QStringList hamlibLines = station.log.lines().filter(QStringLiteral(" Hamlib "));
    QVERIFY(!hamlibLines.isEmpty());
    // Hamlib's short error text on one log line, not its trace.
    for (const QString &line : station.log.lines())
        QVERIFY2(!line.contains(QLatin1Char('\n')) && line.size() < 200, qPrintable(line));
    QVERIFY2(hamlibLines.first().endsWith(QStringLiteral("IO error")) ||
                 hamlibLines.first().endsWith(QStringLiteral("Communication timed out")) ||
                 hamlibLines.first().endsWith(QStringLiteral("Protocol error")),
             qPrintable(hamlibLines.first()));
    // A frequency request meanwhile is answered, with no frequency.
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));

    // The same address comes back: the station finds it and sends the unkey.
    rigctld.reset();
    RigctldProcess again(port);
    QVERIFY(again.start({"-m", "1", "-P", "RIG"}));
    QTRY_VERIFY_WITH_TIMEOUT(station.state.RigAnswering, 20'000);
    QTRY_VERIFY(again.trace().contains(QStringLiteral("set_ptt ptt=0")));
    QTRY_VERIFY(road.main().labelTMD->text().endsWith(QStringLiteral("réponse OK")));
    QCOMPARE(again.ask({"t"}), QStringLiteral("0"));
}

void TestHamlib::tmd710BackendOnRigsimRecallsMemoryByDtmf()
{
    RigSimProcess rig;
    const QString pty = rig.start({"--model", "TMD710", "--memories", "20"});
    QVERIFY(!pty.isEmpty());
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + pty, "HAMLIBSPEED=9600"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    // The memory list comes from the radio's records through Hamlib, names included.
    QCOMPARE(road.main().ComboBoxMEM->count(), 20);
    QCOMPARE(road.main().ComboBoxMEM->itemText(0),
             QStringLiteral("001=145.225000 shift=-0.600 RELAIS001"));
    QCOMPARE(road.main().ComboBoxMEM->itemText(1),
             QStringLiteral("002=145.500000 shift=0 SIMPLEX002"));
    // A channel without a name is in the list too, with its frequency and shift.
    QCOMPARE(road.main().ComboBoxMEM->itemText(14), QStringLiteral("015=145.442500 shift=+0.600"));

    // FREQUENCY ends in Hamlib's own commands on the radio.
    const qsizetype before = rig.receivedCommands().size();
    QCOMPARE(road.askFrequency(), QByteArray("145.225000"));
    QVERIFY2(rig.receivedCommands().mid(before).contains(QStringLiteral("FO 0")),
             qPrintable(rig.receivedCommands().mid(before).join(u'|')));

    road.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY(rig.receivedCommands().contains(QStringLiteral("TX")));
    road.server.send("RECEIVE_R\r\n");
    QTRY_VERIFY(rig.receivedCommands().contains(QStringLiteral("RX")));

    // A memory recalled by DTMF, here one without a name, is the frequency the server is then
    // told, not the VFO's.
    const qsizetype logStart = station.log.lines().size();
    road.server.send("1230\r\n");
    road.server.send("15\r\n");
    QTRY_VERIFY2_WITH_TIMEOUT(rig.receivedCommands().contains(QStringLiteral("MR 0,015")),
                              qPrintable(station.log.lines().join(u'\n')), 10'000);
    QTRY_VERIFY(station.log.lines().mid(logStart).filter(QStringLiteral(" MEM A=015")).size() == 1);
    QTRY_VERIFY(station.state.MemModeA);
    QCOMPARE(road.askFrequency(), QByteArray("145.442500"));
    QCOMPARE(station.hamlib->radio().state().band(0).memoryText,
             QStringLiteral("015=145.442500 shift=+0.600"));
}

void TestHamlib::silentRadioIsAskedOnceAtATimeAndLetGoAtOnce()
{
    SilentLine line;
    QVERIFY(!line.path.isEmpty());
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + line.path});
    HamlibLink &link = station.hamlib->radio().link();
    int failures = 0;
    int mostOutstanding = 0;
    int commandsOfFirstOpening = 0;
    connect(&link, &HamlibLink::failed, this, [&] {
        if (++failures == 1)
            commandsOfFirstOpening = int(line.commands().size());
        mostOutstanding = qMax(mostOutstanding, link.outstanding());
    });
    // Once red, the status line stays red through the retries.
    QSet<int> statusesAfterRed;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (failures > 0)
            statusesAfterRed << station.state.RigStatus;
    });
    watch.start(50);
    QTRY_VERIFY_WITH_TIMEOUT(failures >= 3, 90'000);
    watch.stop();
    QCOMPARE(statusesAfterRed, QSet<int>{0});
    QVERIFY(road.main().labelTMD->text().endsWith(QStringLiteral("ne répond pas")));
    // Never ready, and a silence is logged as one.
    QVERIFY(station.log.lines().filter(QStringLiteral(" Radio ready: ")).isEmpty());
    for (const QString &error : station.log.lines().filter(QStringLiteral(" Hamlib rig_")))
        QVERIFY2(error.endsWith(QStringLiteral(": Communication timed out")), qPrintable(error));
    // A retry asks the memories and the band: nothing more waits behind them.
    QVERIFY2(mostOutstanding <= 2, qPrintable(QString::number(mostOutstanding)));
    QVERIFY(commandsOfFirstOpening > 0);
    // The server is answered at once, without asking the radio.
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));

    // Requests still queued when the radio is let go are dropped: at most the opening under way
    // goes on talking to the line.
    for (int i = 0; i < 10; ++i)
        link.readBand(0);
    line.commands();
    station.hamlib->radio().close();
    QVERIFY(!link.isStarted());
    QCOMPARE(link.outstanding(), 0);
    const QList<QByteArray> sentAfterRelease = line.commands();
    const qsizetype afterRelease = sentAfterRelease.size();
    // Whatever the call under way still sends, the radio gets no band or mode change.
    QStringList afterReleaseTexts;
    for (const QByteArray &command : sentAfterRelease)
        afterReleaseTexts << QString::fromLatin1(command);
    QVERIFY2(bandChanges(afterReleaseTexts).isEmpty(), qPrintable(afterReleaseTexts.join(u'|')));
    QVERIFY2(
        afterRelease <= 2 * commandsOfFirstOpening,
        qPrintable(QStringLiteral("%1 > 2 * %2").arg(afterRelease).arg(commandsOfFirstOpening)));
}

void TestHamlib::capabilitiesFollowHamlibsDescription()
{
    rig_set_debug(RIG_DEBUG_NONE);
    auto describe = [](int model) {
        RIG *rig = rig_init(model);
        if (rig == nullptr)
            return HamlibCapabilities{};
        const HamlibCapabilities caps = HamlibRig::capabilitiesOf(rig);
        rig_cleanup(rig);
        return caps;
    };
    const HamlibCapabilities dummy = describe(RIG_MODEL_DUMMY);
    QCOMPARE(dummy.model, QStringLiteral("Dummy"));
    QVERIFY(dummy.memoryMode && dummy.scanVfo && dummy.scanMemory && dummy.twoBands);
    // The IC-7300 selects a channel but cannot tell which one it is on: no memory mode, so
    // no memory scan either; it scans from the VFO.
    const HamlibCapabilities ic7300 = describe(RIG_MODEL_IC7300);
    QCOMPARE(ic7300.model, QStringLiteral("IC-7300"));
    QVERIFY(!ic7300.memoryMode);
    QVERIFY(!ic7300.scanMemory);
    QVERIFY(ic7300.scanVfo);
    // Hamlib's TM-D710 has memories and no scan.
    const HamlibCapabilities tmd710 = describe(RIG_MODEL_TMD710);
    QVERIFY(tmd710.memoryMode && tmd710.memoryRead && tmd710.twoBands);
    QVERIFY(!tmd710.scanVfo && !tmd710.scanMemory);
}

void TestHamlib::refusedKeyingLeavesTheRadioAnswering()
{
    // A rigctld given no way to key its radio refuses the keying, and answers all else.
    RigctldProcess rigctld;
    QVERIFY(rigctld.start({"-m", "1"}));
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2", "HAMLIBPORT=" + rigctld.address()});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    Ui::TForm1 &m = road.main();
    // The radio behind rigctld names the panel; the port line holds rigctld's address.
    QCOMPARE(m.GroupBoxTX->title(), QStringLiteral("Hamlib Dummy"));
    QCOMPARE(m.LabelConnect->text(), QStringLiteral("rigctld ") + rigctld.address());
    const auto refusals = [&station] {
        return station.log.lines().filter(QStringLiteral(" Hamlib rig_set_ptt: "));
    };
    for (int keying = 1; keying <= 2; ++keying) {
        road.server.send("TRANSMIT_R\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(refusals().size() >= keying, 20'000);
        // The TRANSMIT button is put back; the radio is still taken as answering.
        QTRY_VERIFY(!station.hamlib->radio().state().keyed());
        QVERIFY(station.state.RigAnswering);
        QCOMPARE(road.askFrequency(), QByteArray("145.000000"));
        // One line each time, saying what rigctld lacks.
        QCOMPARE(refusals().size(), keying);
        QVERIFY2(refusals().constLast().endsWith(
                     QStringLiteral("the radio refused keying; rigctld needs a PTT type (-P RIG)")),
                 qPrintable(refusals().constLast()));
    }
    QVERIFY(!m.labelTMD->text().endsWith(QStringLiteral("ne répond pas")));

    // rigctld stops while nothing is asked: the status line turns red by itself.
    rigctld.kill();
    QTRY_VERIFY_WITH_TIMEOUT(m.labelTMD->text().endsWith(QStringLiteral("ne répond pas")), 20'000);
    QVERIFY(!station.state.RigAnswering);
    QCOMPARE(
        station.log.lines().filter(QStringLiteral(" Hamlib rigctld: connection closed")).size(), 1);
}

void TestHamlib::otherBandsModeLeavesTheTransmitBand()
{
    {
        RigctldProcess rigctld;
        QVERIFY(rigctld.start({"-m", "1", "-P", "RIG"}));
        HamlibRoad road;
        Station &station = road.start({"HAMLIBMODEL=2", "HAMLIBPORT=" + rigctld.address()});
        QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
        QCOMPARE(station.state.ActiveBand, 0);
        const QString vfoA = rigctld.ask({"v"});
        for (const QStringList &order : {QStringList{"F", "433500000"}, QStringList{"V", "VFOB"},
                                         QStringList{"F", "435000000"}, QStringList{"V", "VFOA"}})
            QVERIFY(rigctld.ask(order).isEmpty());
        Ui::TForm1 &m = road.main();
        const qint64 transmitLed = m.ImageTXA->pixmap().cacheKey();

        // VFO of band B reads band B; band A is selected again and still transmits.
        m.SpeedButtonVFOB->click();
        QTRY_COMPARE(station.hamlib->radio().state().band(1).vfoText,
                     QStringLiteral("F=435.000000 shift=0"));
        QCOMPARE(road.askFrequency(), QByteArray("433.500000"));
        QCOMPARE(rigctld.ask({"v"}), vfoA);
        QCOMPARE(station.state.ActiveBand, 0);
        QCOMPARE(m.ImageTXA->pixmap().cacheKey(), transmitLed);
        QVERIFY(m.ImageTXB->pixmap().cacheKey() != transmitLed);

        // The band selection does move it.
        m.SpeedButtonTXB->click();
        QTRY_COMPARE(station.state.ActiveBand, 1);
        QCOMPARE(m.ImageTXB->pixmap().cacheKey(), transmitLed);
        QCOMPARE(road.askFrequency(), QByteArray("435.000000"));
    }
    // Memory mode of band B, on a radio with memories: band A stays in VFO mode and selected.
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=1", "HAMLIBPORT=dummy"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    road.main().SpeedButtonMEMB->click();
    QTRY_VERIFY(station.state.MemModeB);
    QCOMPARE(station.state.ActiveBand, 0);
    QVERIFY(station.state.VfoModeA);
    QCOMPARE(road.askFrequency(), QByteArray("145.000000"));
}

void TestHamlib::modelHamlibCannotSetUpTurnsTheStatusRed()
{
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=1", "HAMLIBPORT=dummy"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    // A number no longer in Hamlib's list (the file was written by a newer Hamlib, say).
    station.hamlib->radio().settings().model = 999999;
    road.main().SpeedButtonInit->click();
    QTRY_VERIFY_WITH_TIMEOUT(road.main().labelTMD->text().endsWith(QStringLiteral("ne répond pas")),
                             InitTimeoutMs);
    QCOMPARE(station.state.RigStatus, 0);
    QVERIFY(!station.state.RigAnswering);
    QCOMPARE(station.log.lines().filter(QStringLiteral(" Hamlib rig_init: ")).size(), 1);
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));
}

// A TM-D710 found with both bands on memories: opening, INIT, band B's power and the band
// switch change nothing but what was asked, and FREQUENCY answers the memory's frequency.
void TestHamlib::tmd710IsLeftWhereTheOperatorPutIt()
{
    RigSimProcess rig;
    const QString pty = rig.start({"--model", "TMD710", "--memories", "20"});
    QVERIFY(!pty.isEmpty());
    // rigsim starts with band B on memory 003; band A goes to memory 015.
    QVERIFY(setUpRadio(pty, {"VM 0,1", "MR 0,015"}));
    const qsizetype setUp = rig.receivedCommands().size();
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + pty, "HAMLIBSPEED=9600"},
                                  {"DTMF_CODE=1224 : action 24= Puissance TXB Medium (Kenwood)"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    Ui::TForm1 &m = road.main();
    QVERIFY2(bandChanges(rig.receivedCommands().mid(setUp)).isEmpty(),
             qPrintable(rig.receivedCommands().mid(setUp).join(u'|')));
    QVERIFY(station.state.MemModeA && station.state.MemModeB);
    QCOMPARE(station.state.ActiveBand, 0);
    QCOMPARE(road.askFrequency(), QByteArray("145.442500"));
    QCOMPARE(station.hamlib->radio().state().band(0).memoryText,
             QStringLiteral("015=145.442500 shift=+0.600"));

    // Band B medium (rigsim's band B starts low, which the slider shows): its power alone,
    // and band A still transmits.
    QCOMPARE(m.TrackBarPWRB->value(), 2);
    qsizetype from = rig.receivedCommands().size();
    road.server.send("1224\r\n");
    QTRY_VERIFY(rig.receivedCommands().mid(from).contains(QStringLiteral("PC 1,1")));
    QCOMPARE(road.askFrequency(), QByteArray("145.442500"));
    QStringList sent = rig.receivedCommands().mid(from);
    QVERIFY2(bandChanges(sent).isEmpty(), qPrintable(sent.join(u'|')));
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^PC \\d,"))),
             QStringList{QStringLiteral("PC 1,1")});
    QCOMPARE(m.TrackBarPWRB->value(), 1);
    QCOMPARE(station.state.ActiveBand, 0);
    road.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY(rig.logText().contains(QStringLiteral("> TX 0")));
    road.server.send("RECEIVE_R\r\n");
    QTRY_VERIFY(rig.receivedCommands().constLast() == QStringLiteral("RX"));

    // INIT reads the radio again and leaves it where it is.
    from = rig.receivedCommands().size();
    m.SpeedButtonInit->click();
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    sent = rig.receivedCommands().mid(from);
    QVERIFY2(bandChanges(sent).isEmpty(), qPrintable(sent.join(u'|')));
    QVERIFY(station.state.MemModeA && station.state.MemModeB);
    QCOMPARE(road.askFrequency(), QByteArray("145.442500"));

    // The band switch moves the transmit band and nothing else.
    from = rig.receivedCommands().size();
    m.SpeedButtonTXB->click();
    QTRY_COMPARE(station.state.ActiveBand, 1);
    QCOMPARE(road.askFrequency(), m.ComboBoxMEM->itemText(2).mid(4, 10).toLatin1());
    sent = rig.receivedCommands().mid(from);
    QCOMPARE(bandChanges(sent), QStringList{QStringLiteral("BC 1,1")});
    QVERIFY(station.state.MemModeA && station.state.MemModeB);
}

// Keyed, then silent: once it answers again the radio is unkeyed, never keyed by the recovery.
void TestHamlib::tmd710KeyedWhenSilentIsUnkeyedWhenBack()
{
    RigSimProcess rig;
    const QString pty = rig.start({"--model", "TMD710", "--memories", "5", "--control"});
    QVERIFY(!pty.isEmpty());
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + pty, "HAMLIBSPEED=9600"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    road.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY(rig.receivedCommands().contains(QStringLiteral("TX")));
    rig.order("silent on");
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));
    QTRY_VERIFY_WITH_TIMEOUT(!station.state.RigAnswering, 20'000);
    QVERIFY(!station.hamlib->radio().state().keyed());
    rig.order("silent off");
    QTRY_VERIFY_WITH_TIMEOUT(station.state.RigAnswering, 20'000);
    QTRY_VERIFY(station.log.lines().filter(QStringLiteral(" Hamlib: radio answers")).size() == 1);
    QTRY_VERIFY(rig.logText().contains(QStringLiteral("> RX")));
    QCOMPARE(rig.receivedCommands().count(QStringLiteral("TX")), 1);
    QVERIFY(!station.hamlib->radio().state().keyed());
    // The server keys it again when it wants.
    road.server.send("TRANSMIT_R\r\n");
    QTRY_COMPARE(rig.receivedCommands().count(QStringLiteral("TX")), 2);
}

void TestHamlib::missingModelKeepsHamlibWithoutARadio()
{
    HamlibRoad road;
    Station &station =
        road.start({"HAMLIBMODEL=abc", "HAMLIBPORT=/dev/ttyUSB1 ", "HAMLIBSPEED=12345"});
    QVERIFY(station.radios.isCurrent(QStringLiteral("HAMLIB")));
    QVERIFY(!station.hamlib->radio().link().isStarted());
    QCOMPARE(road.main().labelTMD->text(), QStringLiteral("Hamlib: no radio model"));
    QCOMPARE(station.log.lines().filter(QStringLiteral(" Hamlib: no radio model")).size(), 1);
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));
    const QStringList saved = ConfigFile::build(station.configBinding());
    QVERIFY(saved.contains(QStringLiteral("MODEL=HAMLIB")));
    QVERIFY(saved.contains(QStringLiteral("HAMLIBPORT=/dev/ttyUSB1")));
    QVERIFY(saved.filter(QStringLiteral("HAMLIBMODEL=")).isEmpty());
    QVERIFY(saved.filter(QStringLiteral("HAMLIBSPEED=")).isEmpty());
}

// A serial port of the settings that the machine lacks (an adapter unplugged) is said missing,
// not blamed on the radio; the COM menu, which cannot help, is off.
void TestHamlib::missingPortIsSaidMissing()
{
    const QString port = QStringLiteral("/dev/ttyIvrelaneNone");
    StationFixture fixture;
    fixture.writeConfiguration({"MODEL=HAMLIB", "HAMLIBMODEL=2034", "HAMLIBPORT=" + port});
    Station &station = fixture.start();
    Ui::TForm1 &m = station.windows().Form1->ui;
    QTRY_COMPARE_WITH_TIMEOUT(m.labelTMD->text(),
                              QStringLiteral("Port ") + port + QStringLiteral(" absent"),
                              InitTimeoutMs);
    QVERIFY(!station.state.RigAnswering);
    QCOMPARE(m.LabelConnect->text(), port);
    QVERIFY(m.LabelConnect->styleSheet().contains(QStringLiteral("255, 0, 0")));
    QVERIFY(!m.MenuPort->isEnabled());
    QCOMPARE(
        station.log.lines().filter(QStringLiteral(" Hamlib rig_open: no such port ") + port).size(),
        1);
    QVERIFY(station.log.lines().filter(QStringLiteral(" Radio ready: ")).isEmpty());
}

// OK in the settings window while a TM-D700 scans: the Kenwood is sent to receive and its scan
// stopped before its port is closed for Hamlib.
void TestHamlib::scanningKenwoodIsLetGoBeforeHamlibTakesOver()
{
    StationFixture fixture;
    RigSimProcess kenwood;
    const QString link = fixture.path(QStringLiteral("dev/ttyV0"));
    QVERIFY(!kenwood.start({"--model", "TMD700", "--memories", "5", "--link", link}).isEmpty());
    fixture.writeConfiguration({"MODEL=TMD700", "COM=" + link, "NUMBERMEM=5"});
    Station &station = fixture.start();
    Ui::TForm1 &m = station.windows().Form1->ui;
    QTRY_VERIFY_WITH_TIMEOUT(station.state.RigStatus == 3 &&
                                 station.kenwood->radio().state().panelEnabled(),
                             InitTimeoutMs);
    m.SpeedButtonMEMA->click();
    QTRY_VERIFY(m.SpeedButtonScanA->isEnabled());
    m.SpeedButtonScanA->click();
    QTRY_COMPARE(kenwood.receivedCommands().constLast(), QStringLiteral("SC 1"));

    TFormHamlib &form = station.hamlib->settingsForm();
    m.MenuHamlib->trigger();
    form.ui.RadioButtonSerial->setChecked(true);
    form.ui.EditSearch->setText(QStringLiteral("hamlib dummy"));
    form.ui.ListModels->setCurrentRow(form.ui.ListModels->row(
        form.ui.ListModels->findItems("Hamlib Dummy (1)", Qt::MatchExactly).first()));
    form.ui.ComboBoxPort->setCurrentText(QStringLiteral("dummy"));
    form.ui.ComboBoxSpeed->setCurrentText(QStringLiteral("19200"));
    form.ui.ButtonOK->click();
    QTRY_VERIFY(station.radios.isCurrent(QStringLiteral("HAMLIB")));
    QVERIFY(!station.kenwood->link().isOpen());
    const QStringList sent = kenwood.receivedCommands();
    QCOMPARE(sent.mid(sent.size() - 3),
             (QStringList{QStringLiteral("SC 1"), QStringLiteral("RX"), QStringLiteral("SC 0")}));
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
}

// The radio obeys but its replies are lost (a broken receive wire): each of Hamlib's calls waits
// seconds for them, and the unkey does not wait behind the call under way, on RECEIVE or at quit.
void TestHamlib::lostRepliesDoNotHoldTheUnkey()
{
    RigSimProcess rig;
    const QString pty = rig.start({"--model", "TMD710", "--memories", "5", "--control"});
    QVERIFY(!pty.isEmpty());
    HamlibRoad road;
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + pty, "HAMLIBSPEED=9600"},
                                  {"DTMF_CODE=1220 : action 20= Puissance L TXA (Kenwood)"});
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    const int powerA = station.hamlib->radio().state().band(0).power;
    QVERIFY(powerA != 2);
    // Keyed, then a frequency request under way when the replies stop.
    qsizetype asked = 0;
    auto keyAndAskWithRepliesLost = [&] {
        road.server.send("TRANSMIT_R\r\n");
        QTRY_COMPARE(rig.receivedCommands().constLast(), QStringLiteral("TX"));
        rig.order("lost on");
        asked = rig.receivedCommands().size();
        road.server.send("FREQUENCY\r\n");
        QTRY_COMPARE(rig.receivedCommands().constLast(), QStringLiteral("FO 0"));
    };
    keyAndAskWithRepliesLost();
    road.server.send("RECEIVE_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(rig.receivedCommands().mid(asked).contains(QStringLiteral("RX")),
                             20'000);
    // Hamlib asks four times before it gives up: the unkey came before the call's end.
    QStringList sent = rig.receivedCommands().mid(asked);
    QVERIFY2(sent.mid(0, sent.indexOf(QStringLiteral("RX"))).count(QStringLiteral("FO 0")) < 4,
             qPrintable(sent.join(u'|')));
    // Band A low, which the radio never answers.
    road.server.send("1220\r\n");

    // No reply: the panel is off, the radio is asked again, and only a reply says it answers.
    QTRY_VERIFY_WITH_TIMEOUT(!station.state.RigAnswering, 20'000);
    QVERIFY(!station.hamlib->radio().state().panelEnabled());
    const qsizetype failed = rig.receivedCommands().size();
    QTRY_VERIFY_WITH_TIMEOUT(rig.receivedCommands().mid(failed).contains(QStringLiteral("VM 0")),
                             20'000);
    const auto logged = [&station](const char *text) {
        return station.log.lines().filter(QString::fromLatin1(text));
    };
    QTRY_VERIFY_WITH_TIMEOUT(!logged(" Hamlib rig_send_raw: ").isEmpty(), 20'000);
    QVERIFY(logged(" Hamlib: radio answers").isEmpty());
    for (const QString &line : logged(" Hamlib rig_"))
        QVERIFY2(line.endsWith(QStringLiteral(": Communication timed out")), qPrintable(line));
    QCOMPARE(station.hamlib->radio().state().band(0).power, powerA);
    QVERIFY(!ConfigFile::build(station.configBinding()).contains(QStringLiteral("PWRA=2")));
    const qsizetype back = rig.receivedCommands().size();
    rig.order("lost off");
    QTRY_VERIFY_WITH_TIMEOUT(station.state.RigAnswering, 20'000);
    QTRY_VERIFY(station.hamlib->radio().state().panelEnabled());
    QCOMPARE(logged(" Hamlib: radio answers").size(), 1);
    // The power asked reaches the radio once it answers.
    QTRY_VERIFY(rig.receivedCommands().mid(back).contains(QStringLiteral("PC 0,2")));
    QTRY_COMPARE(station.hamlib->radio().state().band(0).power, 2);

    // Quit while a request waits for lost replies: the unkey goes first, and nothing after it.
    keyAndAskWithRepliesLost();
    const qsizetype quit = rig.receivedCommands().size();
    station.MenuQuitterClick();
    QTRY_VERIFY_WITH_TIMEOUT(rig.receivedCommands().mid(quit).contains(QStringLiteral("RX")),
                             20'000);
    sent = rig.receivedCommands().mid(quit);
    QCOMPARE(sent, QStringList{QStringLiteral("RX")});
}

// Powers asked while the adapter is missing are neither shown nor saved as the radio's; they
// reach the radio once it answers, and only then are they saved.
void TestHamlib::powerAskedWithoutARadioWaitsForIt()
{
    RigSimProcess rig;
    HamlibRoad road;
    const QString link = road.fixture.path(QStringLiteral("dev/ttyHamlib"));
    Station &station = road.start({"HAMLIBMODEL=2034", "HAMLIBPORT=" + link},
                                  {"DTMF_CODE=1220 : action 20= Puissance L TXA (Kenwood)",
                                   "DTMF_CODE=1224 : action 24= Puissance TXB Medium (Kenwood)"});
    QTRY_VERIFY_WITH_TIMEOUT(!station.state.RigAnswering, InitTimeoutMs);
    QVERIFY(!station.hamlib->radio().state().panelEnabled());
    road.server.send("1220\r\n");
    road.server.send("1224\r\n");
    QCOMPARE(road.askFrequency(), QByteArray("000.000000"));
    QStringList saved = ConfigFile::build(station.configBinding());
    QVERIFY2(saved.filter(QRegularExpression(QStringLiteral("^PWR[AB]="))).isEmpty(),
             qPrintable(saved.join(u'|')));
    QVERIFY(station.log.lines().filter(QStringLiteral(" Radio ready: ")).isEmpty());

    // The adapter is plugged in: the radio is initialised and takes the powers asked.
    QVERIFY(!rig.start({"--model", "TMD710", "--memories", "5", "--link", link}).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(station.state.RigStatus, 3, InitTimeoutMs);
    QTRY_VERIFY(rig.receivedCommands().contains(QStringLiteral("PC 1,1")));
    QVERIFY(rig.receivedCommands().contains(QStringLiteral("PC 0,2")));
    QCOMPARE(station.log.lines().filter(QStringLiteral(" Radio ready: ")).size(), 1);
    saved = ConfigFile::build(station.configBinding());
    QVERIFY(saved.contains(QStringLiteral("PWRA=2")));
    QVERIFY(saved.contains(QStringLiteral("PWRB=1")));
}

// A worker let go in the middle of a long opening (a TM-D710 probed on a silent line) is left
// behind; the next worker on that port (a TS-2000, whose commands end in ";") waits for it.
void TestHamlib::workerLeftBehindKeepsItsPort()
{
    SilentLine line;
    QVERIFY(!line.path.isEmpty());
    QByteArray sent;
    HamlibLink first;
    first.start(RIG_MODEL_TMD710, line.path, 9600);
    first.readFrequency(0);
    QTRY_VERIFY((sent += line.bytes()).contains('\r'));
    first.stop();
    HamlibLink second;
    bool failed = false;
    connect(&second, &HamlibLink::failed, this, [&failed] { failed = true; });
    second.start(RIG_MODEL_TS2000, line.path, 9600);
    second.readFrequency(0);
    QTRY_VERIFY_WITH_TIMEOUT(failed, InitTimeoutMs);
    sent += line.bytes();
    const qsizetype firstOfSecond = sent.indexOf(';');
    QVERIFY2(firstOfSecond > 0 && sent.lastIndexOf('\r') < firstOfSecond, sent.constData());
}

QTEST_MAIN(TestHamlib)
#include "tst_hamlib.moc"

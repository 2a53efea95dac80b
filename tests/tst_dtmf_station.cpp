#include "app/DtmfWiring.h"
#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "dtmf/DtmfInterpreter.h"
#include "radio/Radio.h"
#include "radio/RadioState.h"
#include "support/GenericTxFixture.h"
#include "support/RigSimStation.h"
#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

constexpr int InitTimeoutMs = 30'000;

const QString Code1230 = QStringLiteral("1230 : action 07= Mémoire Nnn sur TXA (Kenwood)");
const QString Code125 = QStringLiteral("125 : action 11= Fréquence Ffff sur TX actif (Tous)");
const QString Code45 = QStringLiteral("45 : action 26= TX en émission (Tous)");
const QString Code30 = QStringLiteral("30 : action 30= Lancer le scanning (TMD700/Generic))");
const QString Code99 = QStringLiteral("99 : action 99= Initialisation/Sauvegarde");
const QString Code0 = QStringLiteral("#0 : action 10= Mémoire Nnn sur TX actif (Tous)");
const QString Code5 = QStringLiteral("#5 : action 11= Fréquence Ffff sur TX actif (Tous)");

QStringList dtmfLines(const QStringList &entries)
{
    QStringList lines;
    for (const QString &entry : entries)
        lines << QStringLiteral("DTMF_CODE=") + entry;
    return lines;
}

// The texts of the log after `from`, without their time stamps.
QStringList loggedSince(const Station &station, int from)
{
    QStringList texts;
    const QStringList &lines = station.log.lines();
    for (int i = from; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        for (const char *word : {" Code ", " MEM ", " FREQ "}) {
            const qsizetype at = line.indexOf(QLatin1String(word));
            if (at >= 0) {
                texts << line.mid(at + 1);
                break;
            }
        }
    }
    return texts;
}

// A DTMF report as the server's link hands it on: a request of its own.
void submitDtmf(Station &station, const QString &chars)
{
    station.requests.submit([&station, chars] { return station.dtmf->receiveDtmf(chars); });
}

const RadioState &radioState(Station &station)
{
    return station.radios.current()->state();
}

// The same, carried out whole before this returns true.
bool receiveDtmf(Station &station, const QString &chars)
{
    submitDtmf(station, chars);
    return QTest::qWaitFor([&station] { return station.requests.isIdle(); }, 10'000);
}

// A Kenwood station on rigsim, initialised, with the codes above in its table.
struct KenwoodSetup : RigSimStation
{
    Station &start(const QString &model, const QStringList &rigArguments = {},
                   const QStringList &configuration = {})
    {
        return RigSimStation::start(
            model, QStringList{"--model", model, "--memories", "20"} + rigArguments,
            QStringList{"NUMBERMEM=20"} + configuration +
                dtmfLines({Code1230, Code125, Code45, Code30, Code99, Code0}));
    }

    bool initialised(int times)
    {
        return station().radios.current()->state().panelEnabled() &&
               station().state.RigStatus == 3 && count(QStringLiteral("AI 0")) >= times;
    }
};

} // namespace

class TestDtmfStation : public QObject
{
    Q_OBJECT

private slots:
    void memoryByCode_data();
    void memoryByCode();
    void frequencyByCode();
    void bandBOnlySelectsButDoesNotRecall();
    void reportDuringRecallWaitsForIt();
    void saveAndInitByCode();
    void scanRestartOnTmd700();
    void genericChannelAndTransmit();
    void editorWindowAndSimulation();
    void codeCompletedJustInsideTheEntryWindow();
};

void TestDtmfStation::memoryByCode_data()
{
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("one by one") << QStringList{"1", "2", "3", "0", "1", "5"};
    QTest::newRow("in one report") << QStringList{"123015"};
}

void TestDtmfStation::memoryByCode()
{
    QFETCH(QStringList, reports);
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD710"));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    const int from = int(station.log.lines().size());

    for (const QString &report : reports)
        QVERIFY(receiveDtmf(station, report));

    QCOMPARE(loggedSince(station, from), (QStringList{"Code " + Code1230, "MEM A=015"}));
    QVERIFY(s.rig.receivedCommands().contains(QStringLiteral("MR 0,015")));
    QVERIFY(radioState(station).band(0).memoryText.startsWith(QStringLiteral("015=")));
    // The entry is closed and its last text stays on show.
    QCOMPARE(station.windows().Form1->ui.StaticTextDTMF->text(), QStringLiteral("123015"));
    QVERIFY(!station.dtmf->interpreter().entryOpen());
}

void TestDtmfStation::frequencyByCode()
{
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD710"));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    const int from = int(station.log.lines().size());

    QVERIFY(receiveDtmf(station, QStringLiteral("125")));
    QVERIFY(receiveDtmf(station, QStringLiteral("225")));

    QCOMPARE(loggedSince(station, from), (QStringList{"Code " + Code125, "FREQ A=5225"}));
    QVERIFY(s.rig.receivedCommands().contains(QStringLiteral("MR 0,001")));
    QCOMPARE(radioState(station).currentMemoryText().left(14), QStringLiteral("001=145.225000"));
}

void TestDtmfStation::bandBOnlySelectsButDoesNotRecall()
{
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD710"));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    station.windows().Form1->ui.MenuChoixTXB->trigger();
    QVERIFY(station.windows().Form1->ui.MenuChoixTXB->isChecked());
    const int from = int(station.log.lines().size());
    const int commands = int(s.rig.receivedCommands().size());

    QVERIFY(receiveDtmf(station, QStringLiteral("123015")));

    QCOMPARE(loggedSince(station, from), QStringList{"Code " + Code1230});
    QVERIFY(radioState(station).currentMemoryText().startsWith(QStringLiteral("015=")));
    QCOMPARE(s.rig.receivedCommands().size(), commands);
}

// A report that arrives while the recall waits for the transceiver's replies is carried out
// after the recall, never between its exchanges.
void TestDtmfStation::reportDuringRecallWaitsForIt()
{
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD710"), {QStringLiteral("--delay"), "150"});
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    const int from = int(station.log.lines().size());
    const int commandsBefore = int(s.rig.receivedCommands().size());

    bool arrivedWhileBusy = false;
    QTimer::singleShot(40, &station, [&] {
        arrivedWhileBusy = !station.requests.isIdle();
        submitDtmf(station, QStringLiteral("45"));
    });
    submitDtmf(station, QStringLiteral("123015"));
    QTRY_VERIFY(arrivedWhileBusy);
    QTRY_VERIFY_WITH_TIMEOUT(radioState(station).keyed(), 10'000);

    QCOMPARE(loggedSince(station, from),
             (QStringList{"Code " + Code1230, "MEM A=015", "Code " + Code45}));
    const QStringList sent = s.rig.receivedCommands().mid(commandsBefore);
    const qsizetype recall = sent.indexOf(QStringLiteral("MR 0,015"));
    const qsizetype transmit = sent.indexOf(QStringLiteral("TX"));
    QVERIFY2(recall >= 0 && transmit > recall, qPrintable(sent.join(' ')));
    station.windows().Form1->ui.SpeedButtonTX->click(); // back to receive before the rig goes
    QTRY_VERIFY(!radioState(station).keyed());
}

void TestDtmfStation::saveAndInitByCode()
{
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD710"));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    const QString ini = s.fixture.path(QStringLiteral("Ivrelane.ini"));
    QVERIFY(QFile::remove(ini));
    const int ids = s.count(QStringLiteral("ID"));

    QVERIFY(receiveDtmf(station, QStringLiteral("99")));

    const QStringList saved = TestFiles::readLines(ini);
    QVERIFY(saved.contains("DTMF_CODE=" + Code1230));
    QVERIFY(saved.contains("DTMF_CODE=" + Code99));
    QVERIFY(!saved.join('\n').contains(QStringLiteral("[DTMF]")));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(2), InitTimeoutMs);
    QCOMPARE(s.count(QStringLiteral("ID")), ids + 1);
}

// 30 restarts a running scan on a TM-D700 (stop, then start) and starts the other band's;
// the TM-D710 has no scan command, so the same code does nothing there.
void TestDtmfStation::scanRestartOnTmd700()
{
    KenwoodSetup s;
    Station &station = s.start(QStringLiteral("TMD700"));
    QTRY_VERIFY_WITH_TIMEOUT(s.initialised(1), InitTimeoutMs);
    Ui::TForm1 &m = station.windows().Form1->ui;
    RadioState &radio = station.kenwood->radio().state();
    radio.setScanAvailable(0, true);
    radio.setScanAvailable(1, false);
    QVERIFY(m.SpeedButtonScanA->isEnabled());
    QVERIFY(!m.SpeedButtonScanB->isEnabled());
    m.SpeedButtonScanA->click();
    QVERIFY(radio.band(0).scanning);
    QTRY_VERIFY(station.requests.isIdle());
    const int commandsBefore = int(s.rig.receivedCommands().size());

    QVERIFY(receiveDtmf(station, QStringLiteral("30")));

    QVERIFY(radio.band(0).scanning);
    QCOMPARE(s.rig.receivedCommands().mid(commandsBefore),
             (QStringList{QStringLiteral("SC 0"), QStringLiteral("SC 1")}));
    m.SpeedButtonScanA->click();

    KenwoodSetup d710;
    Station &other = d710.start(QStringLiteral("TMD710"));
    QTRY_VERIFY_WITH_TIMEOUT(d710.initialised(1), InitTimeoutMs);
    const int before = int(d710.rig.receivedCommands().size());
    const int from = int(other.log.lines().size());
    QVERIFY(receiveDtmf(other, QStringLiteral("30")));
    QCOMPARE(loggedSince(other, from), QStringList{"Code " + Code30});
    QCOMPARE(d710.rig.receivedCommands().size(), before);
    QVERIFY(other.dtmf->interpreter().entryOpen()); // not closed: the display empties later
}

void TestDtmfStation::genericChannelAndTransmit()
{
    GenericTxFixture g(
        QStringList{QStringLiteral("MEM005=145.225000 [Relais]")} +
        dtmfLines({Code0, Code5, Code45, QStringLiteral("46 : action 27= TX en réception (Tous)"),
                   Code99}));
    Station &station = g.station();
    QVERIFY(g.waitUntilQuiet());
    const int from = int(station.log.lines().size());

    QVERIFY(receiveDtmf(station, QStringLiteral("#0")));
    QVERIFY(receiveDtmf(station, QStringLiteral("12")));
    QVERIFY(g.waitUntilQuiet());
    QCOMPARE(g.state().Tx16Channel, 12);
    QCOMPARE(radioState(station).currentMemory(), 11);

    QVERIFY(receiveDtmf(station, QStringLiteral("#5225")));
    QVERIFY(g.waitUntilQuiet());
    QCOMPARE(g.state().Tx16Channel, 5);
    QCOMPARE(loggedSince(station, from),
             (QStringList{"Code " + Code0, "MEM TX16UD =012", "Code " + Code5, "MEM TX16UD =005"}));

    // 26 keys once; a second 26 leaves it keyed; 27 unkeys.
    QTest::qWait(0);
    station.dtmf->interpreter().TimerDTMFTimer();
    QVERIFY(receiveDtmf(station, QStringLiteral("45")));
    QVERIFY(radioState(station).keyed());
    station.dtmf->interpreter().TimerDTMFTimer();
    QVERIFY(receiveDtmf(station, QStringLiteral("45")));
    QVERIFY(radioState(station).keyed());
    station.dtmf->interpreter().TimerDTMFTimer();
    QVERIFY(receiveDtmf(station, QStringLiteral("46")));
    QVERIFY(!radioState(station).keyed());

    // 99 saves; the generic transmitter has no initialisation to run.
    const QString ini = g.fixture.path(QStringLiteral("Ivrelane.ini"));
    QVERIFY(QFile::remove(ini));
    QVERIFY(receiveDtmf(station, QStringLiteral("99")));
    QVERIFY(TestFiles::readLines(ini).contains("DTMF_CODE=" + Code0));
}

// The editor in its window: the action list filled at start-up, French conflict messages until
// the window is first shown, the window's language from the menu, and the hidden simulation.
void TestDtmfStation::editorWindowAndSimulation()
{
    StationFixture fixture;
    fixture.writeConfiguration(
        {QStringLiteral("WARNING=Y"), "DTMF_CODE=" + Code45,
         QStringLiteral("DTMF_CODE=12 : action 01= Commuter sur TXA (Kenwood)")});
    Station &station = fixture.start();
    Ui::TFormDTMF &d = station.windows().FormDTMF->ui;
    QCOMPARE(d.ComboBoxActionsDTMF->count(), 30);
    QCOMPARE(d.ComboBoxActionsDTMF->currentIndex(), -1);
    QCOMPARE(d.ComboBoxActionsDTMF->itemText(7),
             QStringLiteral("07= Mémoire Nnn sur TXA (Kenwood)"));

    station.state.language = Language::English;
    d.EditCodeDTMF->setText(QStringLiteral("4"));
    d.ComboBoxActionsDTMF->setCurrentIndex(1);
    d.BitBtnOKCodeDTMF->click();
    QCOMPARE(fixture.notifier.messages.last(),
             QStringLiteral("warning:Un code existant commence par les mêmes caractères que ce "
                            "nouveau code !"));

    station.windows().Form1->ui.MenuDTMF->trigger();
    QVERIFY(station.windows().FormDTMF->isVisible());
    QCOMPARE(d.BitBtnOKCodeDTMF->text(), QStringLiteral("Add"));
    d.BitBtnOKCodeDTMF->click();
    QCOMPARE(fixture.notifier.messages.last(),
             QStringLiteral("warning:An existing code starts with the same characters as this "
                            "new code !"));

    // The list read from the file keeps its order until the first addition sorts it.
    QCOMPARE(d.ListBoxCodesDTMF->item(1)->text(), Code45);
    d.EditCodeDTMF->setText(QStringLiteral("*9"));
    d.BitBtnOKCodeDTMF->click();
    QStringList table;
    for (int i = 0; i < d.ListBoxCodesDTMF->count(); ++i)
        table << d.ListBoxCodesDTMF->item(i)->text();
    QCOMPARE(table, (QStringList{" [DTMF]", "*9 : action 01= Commuter sur TXA (Kenwood)",
                                 "12 : action 01= Commuter sur TXA (Kenwood)", Code45}));

    QVERIFY(d.ButtonSimuDTMF->isHidden());
    station.windows().Form1->ui.MenuSimuDTMF->trigger();
    QVERIFY(!d.ButtonSimuDTMF->isHidden());
    const int from = int(station.log.lines().size());
    d.EditCodeDTMF->setText(QStringLiteral("*9"));
    d.ButtonSimuDTMF->click();
    QCOMPARE(station.state.DtmfLastChars, QStringLiteral("*9"));
    QCOMPARE(station.windows().Form1->ui.StaticTextDTMF->text(), QStringLiteral("*9"));
    QCOMPARE(loggedSince(station, from),
             QStringList{QStringLiteral("Code *9 : action 01= Commuter sur TXA (Kenwood)")});
    station.windows().FormDTMF->hide();
}

// The entry stays open 5 s after the last report, not a little less: a coarse timer may end
// 5 % (250 ms) early, a very coarse one on a whole second of the monotonic clock, so the
// window's timer must be a precise one. A code whose figures come apart within the window is
// carried out.
void TestDtmfStation::codeCompletedJustInsideTheEntryWindow()
{
    StationFixture fixture;
    fixture.writeConfiguration(dtmfLines({Code99}));
    Station &station = fixture.start();
    DtmfInterpreter &interpreter = station.dtmf->interpreter();
    QCOMPARE(interpreter.entryWindow().interval(), 5000);
    QCOMPARE(interpreter.entryWindow().timerType(), Qt::PreciseTimer);

    interpreter.setEntryWindow(400);
    const int from = int(station.log.lines().size());
    QVERIFY(receiveDtmf(station, QStringLiteral("9")));
    QTest::qWait(50);
    QVERIFY(receiveDtmf(station, QStringLiteral("9")));
    QCOMPARE(loggedSince(station, from), QStringList{"Code " + Code99});
}

QTEST_MAIN(TestDtmfStation)
#include "tst_dtmf_station.moc"

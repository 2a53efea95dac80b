#include "support/DtmfPanel.h"

#include <QLineEdit>
#include <QTimer>
#include <QtTest>

namespace {

// What was on before the code: "SpeedButtonTX" (keyed), "SpeedButtonScanA" (scanning),
// "enabled A" (its scan available), "CheckBoxOptiTX16" (circular scanning), "waiting" (the
// panel waits for the radio's initialisation).
void setBefore(DtmfPanel &p, const QStringList &down)
{
    RecordingRadio &r = p.radio();
    RadioState &s = r.state();
    if (!r.capabilities().stepping) {
        s.setScanAvailable(0, down.contains(QStringLiteral("enabled A")));
        s.setScanAvailable(1, down.contains(QStringLiteral("enabled B")));
    }
    s.setKeyed(down.contains(QStringLiteral("SpeedButtonTX")) ||
               down.contains(QStringLiteral("SpeedButtonTX16TX")));
    s.setScanning(0, down.contains(QStringLiteral("SpeedButtonScanA")) ||
                         down.contains(QStringLiteral("SpeedButtonTX16SC")));
    s.setScanning(1, down.contains(QStringLiteral("SpeedButtonScanB")));
    r.circular = down.contains(QStringLiteral("CheckBoxOptiTX16"));
    s.setPanelEnabled(!down.contains(QStringLiteral("waiting")));
}

} // namespace

class TestDtmfDispatch : public QObject
{
    Q_OBJECT

private slots:
    void actions_data();
    void actions();
    void memoryRecall_data();
    void memoryRecall();
    void genericChannel_data();
    void genericChannel();
    void entryWindow();
    void reportDuringActionWaits();
    void expiryDuringActionWaits();
    void queueIsBounded();
    void unusableEntry();
};

// One code per row: the radio, the band choice, the state of the toggles beforehand, and what
// the action pressed, whether it was logged and whether the entry was closed.
void TestDtmfDispatch::actions_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("band");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("down"); // toggles down (and enabled scans) before the code
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("closes");

    const QStringList none;
    QTest::newRow("01 A") << "TMD710"
                          << "AB" << 1 << none << QStringList{"SpeedButtonTXA"} << true;
    QTest::newRow("01 band B only") << "TMD710"
                                    << "B" << 1 << none << none << false;
    QTest::newRow("02 band B only") << "TMD710"
                                    << "B" << 2 << none << QStringList{"SpeedButtonTXB"} << true;
    QTest::newRow("02 band A only") << "TMD710"
                                    << "A" << 2 << none << none << false;
    QTest::newRow("03") << "TMD710"
                        << "A" << 3 << none << QStringList{"SpeedButtonVFOA"} << true;
    QTest::newRow("04") << "TMD710"
                        << "AB" << 4 << none << QStringList{"SpeedButtonVFOB"} << true;
    QTest::newRow("05 last memory") << "TMD710"
                                    << "AB" << 5 << none << QStringList{"SpeedButtonMEMA "} << true;
    QTest::newRow("06 last memory") << "TMD700"
                                    << "B" << 6 << none << QStringList{"SpeedButtonMEMB "} << true;
    QTest::newRow("09 band A active") << "TMD710"
                                      << "A" << 9 << none << QStringList{"SpeedButtonVFOA"} << true;
    QTest::newRow("20") << "TMD710"
                        << "B" << 20 << none << QStringList{"TrackBarPWRA=2"} << true;
    QTest::newRow("21") << "TMD710"
                        << "AB" << 21 << none << QStringList{"TrackBarPWRA=1"} << true;
    QTest::newRow("22 already high") << "TMD710"
                                     << "AB" << 22 << none << none << true;
    QTest::newRow("23") << "TMV71"
                        << "A" << 23 << none << QStringList{"TrackBarPWRB=2"} << true;
    QTest::newRow("24") << "TMD710"
                        << "AB" << 24 << none << QStringList{"TrackBarPWRB=1"} << true;
    QTest::newRow("26 receiving") << "TMD710"
                                  << "AB" << 26 << none << QStringList{"SpeedButtonTX"} << false;
    QTest::newRow("26 transmitting") << "TMD710"
                                     << "AB" << 26 << QStringList{"SpeedButtonTX"} << none << false;
    QTest::newRow("27 transmitting")
        << "TMD710"
        << "AB" << 27 << QStringList{"SpeedButtonTX"} << QStringList{"SpeedButtonTX"} << false;
    QTest::newRow("27 receiving") << "TMD710"
                                  << "AB" << 27 << none << none << false;
    // While the panel waits for the initialisation nothing is keyed, a band is not changed and
    // a scan is not started; an unkey still goes through.
    QTest::newRow("26 panel waiting") << "TMD710"
                                      << "AB" << 26 << QStringList{"waiting"} << none << false;
    QTest::newRow("27 panel waiting, transmitting")
        << "TMD710"
        << "AB" << 27 << QStringList{"waiting", "SpeedButtonTX"} << QStringList{"SpeedButtonTX"}
        << false;
    QTest::newRow("01 panel waiting") << "TMD710"
                                      << "AB" << 1 << QStringList{"waiting"} << none << true;
    QTest::newRow("30 D700 panel waiting")
        << "TMD700"
        << "AB" << 30 << QStringList{"waiting", "enabled A", "enabled B"} << none << true;
    QTest::newRow("30 D700 restarts A, starts B")
        << "TMD700"
        << "AB" << 30 << QStringList{"SpeedButtonScanA", "enabled A", "enabled B"}
        << QStringList{"SpeedButtonScanA", "SpeedButtonScanA", "SpeedButtonScanB"} << true;
    QTest::newRow("30 D700 scan disabled") << "TMD700"
                                           << "AB" << 30 << none << none << true;
    QTest::newRow("30 D710") << "TMD710"
                             << "AB" << 30 << QStringList{"enabled A"} << none << false;
    QTest::newRow("31 D700") << "TMD700"
                             << "AB" << 31
                             << QStringList{"SpeedButtonScanB", "enabled A", "enabled B"}
                             << QStringList{"SpeedButtonScanB"} << true;
    QTest::newRow("31 D710") << "TMV71"
                             << "AB" << 31 << QStringList{"enabled A"} << none << false;
    QTest::newRow("99 Kenwood") << "TMD710"
                                << "A" << 99 << none << QStringList{"MenuSave", "SpeedButtonInit"}
                                << true;
    for (int action : {32, 33, 34, 35, 36, 40, 41})
        QTest::addRow("%d on Kenwood", action) << "TMD700"
                                               << "AB" << action << none << none << false;
    QTest::newRow("00") << "TMD710"
                        << "AB" << 0 << none << none << false;

    QTest::newRow("generic 26") << "generic"
                                << "AB" << 26 << none << QStringList{"SpeedButtonTX16TX"} << false;
    QTest::newRow("generic 26 transmitting")
        << "generic"
        << "AB" << 26 << QStringList{"SpeedButtonTX16TX"} << none << false;
    QTest::newRow("generic 27") << "generic"
                                << "AB" << 27 << QStringList{"SpeedButtonTX16TX"}
                                << QStringList{"SpeedButtonTX16TX"} << false;
    QTest::newRow("generic 30") << "generic"
                                << "AB" << 30 << none << QStringList{"SpeedButtonTX16SC"} << true;
    QTest::newRow("generic 30 scanning")
        << "generic"
        << "AB" << 30 << QStringList{"SpeedButtonTX16SC"} << none << true;
    QTest::newRow("generic 31") << "generic"
                                << "AB" << 31 << QStringList{"SpeedButtonTX16SC"}
                                << QStringList{"SpeedButtonTX16SC"} << true;
    QTest::newRow("generic 31 idle") << "generic"
                                     << "AB" << 31 << none << none << true;
    QTest::newRow("generic 32") << "generic"
                                << "AB" << 32 << none << QStringList{"UpDownTX Up 9"} << false;
    QTest::newRow("generic 33") << "generic"
                                << "AB" << 33 << none << QStringList{"UpDownTX Down 7"} << false;
    QTest::newRow("generic 34") << "generic"
                                << "AB" << 34 << none << QStringList{"ButtonReset"} << false;
    QTest::newRow("generic 35") << "generic"
                                << "AB" << 35 << none << QStringList{"CheckBoxOptiTX16 on"}
                                << false;
    QTest::newRow("generic 35 already")
        << "generic"
        << "AB" << 35 << QStringList{"CheckBoxOptiTX16"} << none << false;
    QTest::newRow("generic 36") << "generic"
                                << "AB" << 36 << QStringList{"CheckBoxOptiTX16"}
                                << QStringList{"CheckBoxOptiTX16 off"} << false;
    QTest::newRow("generic 40") << "generic"
                                << "AB" << 40 << none << QStringList{"ButtonSynchroUP"} << false;
    QTest::newRow("generic 41") << "generic"
                                << "AB" << 41 << none << QStringList{"ButtonSynchroDown"} << false;
    QTest::newRow("generic 99") << "generic"
                                << "AB" << 99 << none << QStringList{"MenuSave"} << true;
    for (int action : {1, 2, 3, 4, 5, 6, 9, 20, 21, 22, 23, 24, 25})
        QTest::addRow("%d on generic", action) << "generic"
                                               << "AB" << action << none << none << false;
}

void TestDtmfDispatch::actions()
{
    QFETCH(QString, model);
    QFETCH(QString, band);
    QFETCH(int, action);
    QFETCH(QStringList, down);
    QFETCH(QStringList, expected);
    QFETCH(bool, closes);

    DtmfPanel p;
    p.useModel(model);
    p.useBand(band);
    setBefore(p, down);
    p.state.MemoryNumberText = QStringLiteral("123");
    p.addCode(QStringLiteral("4#"), action);

    p.interpreter->ReceiveDtmf(QStringLiteral("4#"));

    QCOMPARE(p.pressed, expected);
    // Every recognised code is logged, whatever the radio does with it.
    QCOMPARE(p.logged().size(), 1);
    QVERIFY(p.logged().first().startsWith(QStringLiteral("Code 4# : action ")));
    QCOMPARE(p.state.DtmfReceived, QString());
    QCOMPARE(p.interpreter->entryOpen(), !closes);
    QCOMPARE(p.shown, QStringLiteral("4#"));
}

void TestDtmfDispatch::memoryRecall_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("band");
    QTest::addColumn<int>("activeBand");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<int>("selected"); // in the radio's memories, -1 untouched
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("lastLog");
    QTest::addColumn<bool>("open"); // entry window still running afterwards

    QTest::newRow("07 one by one")
        << "TMD710"
        << "AB" << 0 << "1230" << 7 << QStringList{"1", "2", "3", "0", "1", "5"} << 1
        << QStringList{"SpeedButtonMEMA 015"} << "MEM A=015" << false;
    QTest::newRow("07 at once") << "TMD710"
                                << "AB" << 0 << "1230" << 7 << QStringList{"123015"} << 1
                                << QStringList{"SpeedButtonMEMA 015"} << "MEM A=015" << false;
    QTest::newRow("07 band B only")
        << "TMD710"
        << "B" << 0 << "1230" << 7 << QStringList{"1230", "15"} << 1 << QStringList{}
        << "Code 1230 : action 07= Mémoire Nnn sur TXA (Kenwood)" << false;
    QTest::newRow("08") << "TMD700"
                        << "B" << 0 << "*1" << 8 << QStringList{"*1", "2", "3"} << 3
                        << QStringList{"SpeedButtonMEMB 123"} << "MEM B=123" << false;
    QTest::newRow("10 active A") << "TMD710"
                                 << "A" << 0 << "50" << 10 << QStringList{"5016"} << 2
                                 << QStringList{"SpeedButtonMEMA 016"} << "MEM A=016" << false;
    QTest::newRow("10 active B, band A only")
        << "TMD710"
        << "A" << 1 << "50" << 10 << QStringList{"50", "16"} << 2
        << QStringList{"SpeedButtonMEMB 016"} << "MEM B=016" << false;
    QTest::newRow("11 first listed wins")
        << "TMD710"
        << "AB" << 0 << "125" << 11 << QStringList{"125", "225"} << 0
        << QStringList{"SpeedButtonMEMA 001"} << "FREQ A=5225" << false;
    QTest::newRow("11 band B active")
        << "TMD710"
        << "AB" << 1 << "125" << 11 << QStringList{"125", "6", "00"} << 1
        << QStringList{"SpeedButtonMEMB 015"} << "FREQ B=5600" << false;
    QTest::newRow("too many figures")
        << "TMD710"
        << "AB" << 0 << "1230" << 7 << QStringList{"1230", "1", "23"} << -1 << QStringList{}
        << "Code 1230 : action 07= Mémoire Nnn sur TXA (Kenwood)" << true;
    QTest::newRow("unknown memory")
        << "TMD710"
        << "AB" << 0 << "1230" << 7 << QStringList{"123099"} << -1 << QStringList{}
        << "Code 1230 : action 07= Mémoire Nnn sur TXA (Kenwood)" << true;
    QTest::newRow("unknown frequency")
        << "TMD710"
        << "AB" << 0 << "125" << 11 << QStringList{"125999"} << -1 << QStringList{}
        << "Code 125 : action 11= Fréquence Ffff sur TX actif (Tous)" << true;
    QTest::newRow("07 on generic closes")
        << "generic"
        << "AB" << 0 << "1230" << 7 << QStringList{"1230", "15"} << -1 << QStringList{}
        << "Code 1230 : action 07= Mémoire Nnn sur TXA (Kenwood)" << true;
}

void TestDtmfDispatch::memoryRecall()
{
    QFETCH(QString, model);
    QFETCH(QString, band);
    QFETCH(int, activeBand);
    QFETCH(QString, code);
    QFETCH(int, action);
    QFETCH(QStringList, reports);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);
    QFETCH(QString, lastLog);
    QFETCH(bool, open);

    DtmfPanel p;
    p.useModel(model);
    p.useBand(band);
    p.state.ActiveBand = activeBand;
    p.addCode(code, action);
    p.radio().state().setCurrentMemory(-1);
    for (const QString &report : reports)
        p.interpreter->ReceiveDtmf(report);

    QCOMPARE(p.pressed, expected);
    QCOMPARE(p.logged().last(), lastLog);
    QCOMPARE(p.logged().count(QStringLiteral("Code ") + p.codes.lines().at(1)), 1);
    QCOMPARE(p.radio().state().currentMemory(), selected);
    if (selected >= 0)
        QCOMPARE(p.radio().state().currentMemoryText(), DtmfPanel::Memories.at(selected));
    QCOMPARE(p.state.DtmfState, 0);
    QVERIFY(p.state.DtmfParameter.isEmpty());
    // A selection closes the entry (display kept); an abandon leaves the window running.
    QCOMPARE(p.interpreter->entryOpen(), open);
    QCOMPARE(p.shown.isEmpty(), false);
}

void TestDtmfDispatch::genericChannel_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("figures");
    QTest::addColumn<int>("index");

    QTest::newRow("10 channel 012") << 10 << "#0"
                                    << "12" << 11;
    QTest::newRow("11 frequency 5.225") << 11 << "#5"
                                        << "225" << 4;
}

void TestDtmfDispatch::genericChannel()
{
    QFETCH(int, action);
    QFETCH(QString, code);
    QFETCH(QString, figures);
    QFETCH(int, index);

    DtmfPanel p;
    p.useModel(QStringLiteral("generic"));
    p.addCode(code, action);
    p.interpreter->ReceiveDtmf(code);
    p.interpreter->ReceiveDtmf(figures);

    QCOMPARE(p.pressed, QStringList{QStringLiteral("ComboBoxTXMEM %1").arg(index)});
    QCOMPARE(p.generic.state().currentMemory(), index);
    QCOMPARE(p.logged().last(),
             QStringLiteral("MEM TX16UD =%1").arg(index + 1, 3, 10, QChar(u'0')));
    QVERIFY(p.idle());
    QVERIFY(!p.interpreter->entryOpen());
}

// A stray character blocks the codes until the entry window ends; the end of the window
// empties the display, a closing action keeps it.
void TestDtmfDispatch::entryWindow()
{
    DtmfPanel p;
    p.addCode(QStringLiteral("1230"), 7);
    p.addCode(QStringLiteral("AB"), 1);
    p.addCode(QStringLiteral("45"), 26);

    p.interpreter->ReceiveDtmf(QStringLiteral("9"));
    p.interpreter->ReceiveDtmf(QStringLiteral("1230"));
    QCOMPARE(p.state.DtmfReceived, QStringLiteral("91230"));
    QCOMPARE(p.shown, QStringLiteral("91230"));
    QCOMPARE(p.logged(), QStringList{});
    QVERIFY(p.interpreter->entryOpen());
    p.interpreter->setEntryWindow(50);
    QTRY_VERIFY(!p.interpreter->entryOpen());
    QVERIFY(p.idle());
    QCOMPARE(p.shown, QString());

    // Codes are stored upper case and compared exactly.
    p.interpreter->ReceiveDtmf(QStringLiteral("ab"));
    QCOMPARE(p.logged(), QStringList{});
    p.interpreter->TimerDTMFTimer();
    p.interpreter->ReceiveDtmf(QStringLiteral("AB"));
    QCOMPARE(p.pressed, QStringList{"SpeedButtonTXA"});
    QCOMPARE(p.shown, QStringLiteral("AB"));
    QVERIFY(!p.interpreter->entryOpen());

    // 26 does not close: the display empties when the window ends.
    p.interpreter->ReceiveDtmf(QStringLiteral("45"));
    QCOMPARE(p.shown, QStringLiteral("45"));
    QVERIFY(p.interpreter->entryOpen());
    QTRY_COMPARE(p.shown, QString());
}

// A report that arrives while a memory recall waits for the transceiver is handled after the
// recall is over, in order; the state the recall runs on is not touched under it.
void TestDtmfDispatch::reportDuringActionWaits()
{
    DtmfPanel p;
    p.addCode(QStringLiteral("1230"), 7);
    p.addCode(QStringLiteral("AB"), 1);
    p.addCode(QStringLiteral("45"), 26);
    QStringList seenDuringRecall;
    bool inside = false;
    p.radio().duringMemory = [&] {
        if (inside)
            return;
        inside = true;
        // What the server link does when data comes while the recall waits.
        p.report(QStringLiteral("A"));
        p.report(QStringLiteral("B"));
        p.report(QStringLiteral("45"));
        QTest::qWait(20);
        seenDuringRecall << p.state.DtmfReceived << QString::number(p.state.DtmfState)
                         << p.state.DtmfParameter << p.shown
                         << QString::number(p.requests.waitingCount());
        inside = false;
    };

    p.report(QStringLiteral("123015"));

    QCOMPARE(seenDuringRecall, (QStringList{"123015", "7", "1230", "123015", QStringLiteral("3")}));
    QCOMPARE(p.pressed, (QStringList{"SpeedButtonMEMA 015", "SpeedButtonTXA", "SpeedButtonTX"}));
    QCOMPARE(p.logged(),
             (QStringList{"Code 1230 : action 07= Mémoire Nnn sur TXA (Kenwood)", "MEM A=015",
                          "Code AB : action 01= Commuter sur TXA (Kenwood)",
                          "Code 45 : action 26= TX en émission (Tous)"}));
    QCOMPARE(p.requests.waitingCount(), 0);
    QVERIFY(p.requests.isIdle());
}

// The end of the entry window during a long action comes after the reports that preceded it.
void TestDtmfDispatch::expiryDuringActionWaits()
{
    DtmfPanel p;
    p.addCode(QStringLiteral("1230"), 7);
    p.addCode(QStringLiteral("AB"), 1);
    bool inside = false;
    p.radio().duringMemory = [&] {
        if (inside)
            return;
        inside = true;
        p.report(QStringLiteral("9"));
        p.interpreter->TimerDTMFTimer();
        p.report(QStringLiteral("AB"));
        QCOMPARE(p.state.DtmfState, 7); // untouched while the recall runs
        inside = false;
    };
    p.report(QStringLiteral("123015"));

    // 9 alone would block AB; the expiry between them clears it.
    QCOMPARE(p.pressed, (QStringList{"SpeedButtonMEMA 015", "SpeedButtonTXA"}));
}

void TestDtmfDispatch::queueIsBounded()
{
    DtmfPanel p;
    p.addCode(QStringLiteral("1230"), 7);
    int queuedAtEnd = -1;
    p.radio().duringMemory = [&] {
        for (int i = 0; i < RadioRequests::MaxWaiting + 10; ++i)
            p.report(QStringLiteral("1"));
        queuedAtEnd = p.requests.waitingCount();
    };
    p.report(QStringLiteral("123015"));
    QCOMPARE(queuedAtEnd, RadioRequests::MaxWaiting);
    QCOMPARE(p.requests.droppedCount(), 10);
    QVERIFY(p.requests.isIdle());
    QVERIFY(!p.state.DtmfReceived.isEmpty());
    QCOMPARE(p.state.DtmfReceived, QString(p.state.DtmfReceived.size(), QChar(u'1')));
}

// Entries read from the file are not checked: a match on a broken one is consumed silently.
void TestDtmfDispatch::unusableEntry()
{
    DtmfPanel p;
    p.codes.append(QStringLiteral("77 : action xx= broken"));
    p.codes.append(QStringLiteral("78 no action"));
    p.codes.append(QStringLiteral("nospace"));
    p.interpreter->ReceiveDtmf(QStringLiteral("77"));
    QCOMPARE(p.state.DtmfReceived, QString());
    p.interpreter->ReceiveDtmf(QStringLiteral("78"));
    QCOMPARE(p.state.DtmfReceived, QString());
    p.interpreter->ReceiveDtmf(QStringLiteral("nospace"));
    QCOMPARE(p.state.DtmfReceived, QStringLiteral("nospace"));
    QCOMPARE(p.logged(), QStringList{});
    QCOMPARE(p.pressed, QStringList{});
}

QTEST_MAIN(TestDtmfDispatch)
#include "tst_dtmf_dispatch.moc"

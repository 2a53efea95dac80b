#include "app/KenwoodWiring.h"
#include "app/ServerWiring.h"
#include "app/Station.h"
#include "support/RigSimStation.h"

#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/UnitFreq.h"
#include "ui/UnitTMD700.h"
#include <QCoroTask>
#include <QRegularExpression>
#include <QSignalSpy>

#include <QTest>

// A whole station started against rigsim on a /dev-style link: start-up selects the model, opens
// the port and initialises the radio half a second later; shut-down hands the radio back.
class TestKenwoodStation : public QObject
{
    Q_OBJECT

    static constexpr int InitTimeoutMs = 30'000;

    struct Setup : RigSimStation
    {
        QStringList sentToServer;

        Station &start(const QString &model, const QStringList &rigArguments,
                       const QStringList &configuration = {})
        {
            Station &station = RigSimStation::start(model, rigArguments, configuration);
            QObject::connect(&station.server->session(), &ServerSession::frequencyAnswered,
                             [this](const QString &text) { sentToServer << text; });
            return station;
        }
    };

    static bool shows(QLabel *led, QLabel *picture)
    {
        return !led->pixmap().isNull() && led->pixmap().toImage() == picture->pixmap().toImage();
    }

    static bool initialised(Station &station, int initCount, const RigSimProcess &rig)
    {
        return station.kenwood->radio().state().panelEnabled() &&
               rig.receivedCommands().count(QStringLiteral("AI 0")) >= initCount &&
               station.state.RigStatus == 3;
    }

    // What the clicks asked of the radio is carried out.
    static bool settled(Station &station)
    {
        return QTest::qWaitFor([&station] { return station.requests.isIdle(); }, 10'000);
    }

private slots:
    void startupInitialisesAndShutdownReleases_data();
    void startupInitialisesAndShutdownReleases();
    void noPortIsSaidOnceAtStart();
    void wrongModelStopsBeforeTheMemories();
    void noMemoriesToRead();
    void configuredPowerSentOnlyOnChange();
    void initWhileTransmittingUnkeysFirst();
    void switchingToGenericUnkeysTheRadio();
    void modelChosenDuringReleaseIsTheLastOne();
    void frequencyReports();
    void scanningReportAndStop();
};

void TestKenwoodStation::startupInitialisesAndShutdownReleases_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("scanButtons");
    QTest::newRow("TM-D700") << "TMD700"
                             << "IvrelaneTMD700 V2.1.4"
                             << "TM-D700" << true;
    QTest::newRow("TM-D710") << "TMD710"
                             << "IvrelaneTMD710 V2.1.4"
                             << "TM-D710" << false;
    QTest::newRow("TM-V71") << "TMV71"
                            << "IvrelaneTMV71 V2.1.4"
                            << "TM-V71" << false;
}

void TestKenwoodStation::startupInitialisesAndShutdownReleases()
{
    QFETCH(QString, model);
    QFETCH(QString, title);
    QFETCH(QString, panel);
    QFETCH(bool, scanButtons);
    Setup s;
    Station &station = s.start(model, {QStringLiteral("--model"), model,
                                       QStringLiteral("--memories"), QStringLiteral("12")});
    Ui::TForm1 &ui = station.windows().Form1->ui;
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);

    QCOMPARE(station.windows().Form1->windowTitle(), title);
    QCOMPARE(ui.GroupBoxTX->title(), panel);
    QCOMPARE(!ui.SpeedButtonScanA->isHidden(), scanButtons);
    QVERIFY(ui.GroupBoxTX16UD->isHidden());
    QVERIFY(ui.MenuMEM->isEnabled());
    QCOMPARE(ui.labelTMD->text(), QStringLiteral("Initialisation terminée"));
    QVERIFY(ui.labelTMD->styleSheet().contains(QLatin1String("rgb(0, 128, 0)")));
    QVERIFY(
        ui.LabelConnect->text().endsWith(station.state.statusMessage(StatusMessage::PortOpened)));
    const QStringList ready = station.log.lines().filter(QStringLiteral(" Radio ready: "));
    QCOMPARE(ready.size(), 1);
    QVERIFY(ready.first().endsWith(QStringLiteral(" Radio ready: ") + model +
                                   QStringLiteral(" on ") + station.ComPortTX.portName));

    const QStringList commands = s.rig.receivedCommands();
    // Receive first: a copy that crashed may have left the radio keyed.
    QCOMPARE(commands.mid(0, 3), (QStringList{"RX", "AI 0", "ID"}));
    QCOMPARE(ui.ComboBoxMEM->count(), 12);
    QCOMPARE(ui.ComboBoxMEM->itemText(0), QStringLiteral("001=145.225000 shift=-0.600"));
    QCOMPARE(ui.ComboBoxMEM->itemText(4), QStringLiteral("005=145.430000 shift=+0.600"));

    // The radio starts on band A in VFO mode, band B in memory mode on channel 003.
    QCOMPARE(station.state.ActiveBand, 0);
    QVERIFY(shows(ui.ImageTXA, ui.ImageLEDrouge));
    QVERIFY(shows(ui.ImageTXB, ui.ImageLEDOFF));
    QVERIFY(shows(ui.ImageVFOA, ui.ImageLEDvert));
    QVERIFY(shows(ui.ImageMEMA, ui.ImageLEDOFF));
    QVERIFY(shows(ui.ImageMEMB, ui.ImageLEDvert));
    QVERIFY(shows(ui.ImageVFOB, ui.ImageLEDOFF));
    QCOMPARE(station.kenwood->radio().state().band(0).vfoText,
             QStringLiteral("F=145.225000 shift=0"));
    QCOMPARE(station.kenwood->radio().state().band(1).memoryText,
             QStringLiteral("003=430.025000 shift=-9.400"));
    QVERIFY(station.state.VfoModeA && !station.state.MemModeA);
    QVERIFY(station.state.MemModeB && !station.state.VfoModeB);
    QCOMPARE(station.state.CurrentFrequency, QStringLiteral("145.225000"));
    QCOMPARE(ui.TrackBarPWRA->value(), 0);
    QCOMPARE(ui.TrackBarPWRB->value(), 2);

    ui.SpeedButtonTX->click();
    QVERIFY(station.kenwood->radio().state().keyed());
    station.MenuQuitterClick();
    QTRY_COMPARE(s.fixture.terminations, 1);
    const QStringList tail = s.rig.receivedCommands().mid(s.rig.receivedCommands().size() - 3);
    QCOMPARE(tail,
             (QStringList{QStringLiteral("TX"), QStringLiteral("RX"), QStringLiteral("SC 0")}));
    QVERIFY(!station.kenwood->link().isOpen());
    const QStringList saved = TestFiles::readLines(s.fixture.path(QStringLiteral("Ivrelane.ini")));
    QVERIFY(saved.contains(QStringLiteral("PWRA=0")));
    QVERIFY(saved.contains(QStringLiteral("PWRB=2")));
    QVERIFY(saved.contains(QStringLiteral("MODEL=") + model));
}

// A Kenwood model without a port chosen: the start-up opens the radio once, so the operator is
// told once, with one beep.
void TestKenwoodStation::noPortIsSaidOnceAtStart()
{
    StationFixture fixture;
    fixture.writeConfiguration({"MODEL=TMD710"});
    Station &station = fixture.start();
    QVERIFY(station.radios.isCurrent(QStringLiteral("TMD710")));
    const QString noPort =
        QStringLiteral("info:") + station.state.statusMessage(StatusMessage::NoPortSelected);
    QCOMPARE(fixture.notifier.messages.count(noPort), 1);
    QCOMPARE(fixture.notifier.beeps, 1);
    QVERIFY(!station.kenwood->link().isOpen());
}

void TestKenwoodStation::wrongModelStopsBeforeTheMemories()
{
    Setup s;
    Station &station =
        s.start(QStringLiteral("TMV71"), {QStringLiteral("--model"), QStringLiteral("TMD710")});
    QTRY_VERIFY_WITH_TIMEOUT(!s.fixture.notifier.messages.isEmpty(), InitTimeoutMs);
    QCOMPARE(s.fixture.notifier.messages,
             QStringList{QStringLiteral("warning:") +
                         station.state.statusMessage(StatusMessage::NotTmv71)});
    QVERIFY(!station.state.RigAnswering);
    QCOMPARE(station.state.RigStatus, 2);
    QVERIFY(!station.kenwood->radio().state().panelEnabled());
    QCOMPARE(s.rig.receivedCommands(), (QStringList{"RX", "AI 0", "ID"}));
    // A radio the program cannot trust is still sent to receive when the program ends.
    station.MenuQuitterClick();
    QTRY_COMPARE(s.fixture.terminations, 1);
    QCOMPARE(s.rig.receivedCommands(), (QStringList{"RX", "AI 0", "ID", "RX"}));
}

void TestKenwoodStation::noMemoriesToRead()
{
    Setup s;
    Station &station = s.start(QStringLiteral("TMD710"), {}, {QStringLiteral("NUMBERMEM=0")});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    for (const QString &command : s.rig.receivedCommands())
        QVERIFY2(!command.startsWith(QLatin1String("ME ")), qPrintable(command));
    QCOMPARE(station.windows().Form1->ui.ComboBoxMEM->count(), 0);
    // Band B is on a channel the empty list does not hold: its display stays empty.
    QVERIFY(station.state.MemModeB);
    QVERIFY(station.kenwood->radio().state().band(1).memoryText.isEmpty());
}

void TestKenwoodStation::configuredPowerSentOnlyOnChange()
{
    Setup s;
    Station &station = s.start(QStringLiteral("TMD710"), {}, {QStringLiteral("PWRA=2")});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    QCOMPARE(s.count(QStringLiteral("PC 0,2")), 1);
    QCOMPARE(s.count(QStringLiteral("PC 0")), 0);
    QCOMPARE(s.count(QStringLiteral("PC 1")), 1); // no PWRB: band B's power is read

    station.windows().Form1->ui.SpeedButtonInit->click();
    QCOMPARE(station.state.RigStatus, 2);
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 2, s.rig), InitTimeoutMs);
    QCOMPARE(s.count(QStringLiteral("PC 0,2")), 1);
    QCOMPARE(station.windows().Form1->ui.TrackBarPWRA->value(), 2);
}

void TestKenwoodStation::initWhileTransmittingUnkeysFirst()
{
    Setup s;
    Station &station = s.start(QStringLiteral("TMD710"), {});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    // The space bar keys the radio, as the TRANSMIT button does.
    station.FormKeyPress(QLatin1Char(' '));
    QVERIFY(station.kenwood->radio().state().keyed());
    station.windows().Form1->ui.SpeedButtonInit->click();
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 2, s.rig), InitTimeoutMs);
    const QStringList commands = s.rig.receivedCommands();
    const qsizetype tx = commands.lastIndexOf(QStringLiteral("TX"));
    QVERIFY(tx >= 0);
    QCOMPARE(commands.mid(tx, 3),
             (QStringList{QStringLiteral("TX"), QStringLiteral("RX"), QStringLiteral("AI 0")}));
    QVERIFY(!station.kenwood->radio().state().keyed());
}

// The Kenwood stays wired to the PC after the generic model is chosen: it must not stay keyed,
// and its port is let go once it is unkeyed, before the generic model takes over.
void TestKenwoodStation::switchingToGenericUnkeysTheRadio()
{
    Setup s;
    Station &station = s.start(QStringLiteral("TMD710"), {});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    station.FormKeyPress(QLatin1Char(' '));
    QTRY_COMPARE(s.rig.receivedCommands().last(), QStringLiteral("TX"));
    bool portOpenWhenTaken = true;
    connect(&station.radios, &RadioSelector::currentChanged, &station,
            [&] { portOpenWhenTaken = station.kenwood->link().isOpen(); });
    station.windows().Form1->ui.MenuTX16UD->trigger();
    QTRY_VERIFY(station.radios.isCurrent(QStringLiteral("TX16UD")));
    QCOMPARE(s.rig.receivedCommands().filter(QRegularExpression("^[TR]X$")).last(),
             QStringLiteral("RX"));
    QVERIFY(!portOpenWhenTaken);
    QVERIFY(!station.kenwood->radio().state().keyed());
}

// Models chosen while the radio in use is let go wait for it, and the last one is taken: the
// Kenwood picked again while it is released for the generic model stays, its port opened again.
// A quit meanwhile takes no model at all.
void TestKenwoodStation::modelChosenDuringReleaseIsTheLastOne()
{
    Setup s;
    Station &station = s.start(QStringLiteral("TMD710"), {});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    QSignalSpy changes(&station.radios, &RadioSelector::currentChanged);
    const int initialisations = s.count(QStringLiteral("AI 0"));
    // The second choice comes before the Kenwood can answer the first one's "RX".
    station.windows().Form1->ui.MenuTX16UD->trigger();
    QVERIFY(station.kenwood->link().isBusy());
    station.windows().Form1->ui.MenuTMD710->trigger();
    // Released ("SC 0" answered, the port closed), then opened and initialised again.
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, initialisations + 1, s.rig), InitTimeoutMs);
    QVERIFY(station.radios.isCurrent(QStringLiteral("TMD710")));
    QVERIFY(station.kenwood->link().isOpen());
    QCOMPARE(changes.count(), 0);

    station.windows().Form1->ui.MenuTX16UD->trigger();
    station.MenuQuitterClick();
    QTRY_COMPARE_WITH_TIMEOUT(s.fixture.terminations, 1, InitTimeoutMs);
    QCOMPARE(changes.count(), 0);
}

void TestKenwoodStation::frequencyReports()
{
    Setup s;
    Station &station =
        s.start(QStringLiteral("TMD710"), {QStringLiteral("--memories"), QStringLiteral("12")});
    Ui::TForm1 &ui = station.windows().Form1->ui;
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);

    // Band A active in VFO mode: one scan query, then the VFO frequency.
    int before = int(s.rig.receivedCommands().size());
    QCoro::waitFor(station.server->session().reportFrequency());
    QCOMPARE(s.sentToServer, QStringList{QStringLiteral("145.225000\r\n")});
    QCOMPARE(s.rig.receivedCommands().mid(before), QStringList{QStringLiteral("SC")});

    // Channel 012 on band B, band B active; the report finds the channel on the radio.
    ui.ComboBoxMEM->setCurrentIndex(11);
    ui.SpeedButtonMEMB->click();
    ui.SpeedButtonTXB->click();
    QVERIFY(settled(station));
    QCOMPARE(station.state.ActiveBand, 1);
    station.kenwood->radio().state().setMemoryText(1, QString());
    QCOMPARE(station.kenwood->radio().state().band(1).memoryText, QString());
    ui.ComboBoxMEM->setCurrentIndex(-1);
    before = int(s.rig.receivedCommands().size());
    QCoro::waitFor(station.server->session().reportFrequency());
    const QString entry012 = ui.ComboBoxMEM->itemText(11);
    QVERIFY(entry012.startsWith(QLatin1String("012=")));
    QCOMPARE(station.kenwood->radio().state().band(1).memoryText, entry012);
    QCOMPARE(s.sentToServer.last(), entry012.mid(4, 10) + QStringLiteral("\r\n"));
    QCOMPARE(s.rig.receivedCommands().mid(before),
             (QStringList{QStringLiteral("SC"), QStringLiteral("MR 1")}));

    // While the simulation window is shown its frequency goes out and the radio is not asked.
    station.state.CurrentFrequency = QStringLiteral("433.500000");
    station.windows().FormSimuFreq->show();
    before = int(s.rig.receivedCommands().size());
    QCoro::waitFor(station.server->session().reportFrequency());
    station.windows().FormSimuFreq->hide();
    QCOMPARE(s.sentToServer.last(), QStringLiteral("433.500000\r\n"));
    QCOMPARE(s.rig.receivedCommands().size(), before);
}

void TestKenwoodStation::scanningReportAndStop()
{
    Setup s;
    Station &station =
        s.start(QStringLiteral("TMD700"), {QStringLiteral("--model"), QStringLiteral("TMD700")});
    Ui::TForm1 &ui = station.windows().Form1->ui;
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 1, s.rig), InitTimeoutMs);
    QVERIFY(!ui.SpeedButtonScanA->isEnabled()); // band A in VFO mode
    ui.SpeedButtonMEMA->click();
    QVERIFY(settled(station));
    QVERIFY(station.state.MemModeA);
    QVERIFY(ui.SpeedButtonScanA->isEnabled());
    ui.SpeedButtonScanA->click();
    QVERIFY(ui.SpeedButtonScanA->isChecked());
    QVERIFY(settled(station));
    QCOMPARE(s.rig.receivedCommands().last(), QStringLiteral("SC 1"));
    QCoro::waitFor(station.server->session().reportFrequency());
    QCOMPARE(s.sentToServer.last(), QStringLiteral("999.999999\r\n"));
    ui.SpeedButtonScanA->click();
    QVERIFY(!ui.SpeedButtonScanA->isChecked());
    QVERIFY(settled(station));
    QCOMPARE(s.rig.receivedCommands().last(), QStringLiteral("SC 0"));
}

QTEST_MAIN(TestKenwoodStation)
#include "tst_kenwood_station.moc"

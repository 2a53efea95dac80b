#include "app/KenwoodWiring.h"
#include "app/ServerWiring.h"
#include "app/Station.h"
#include "service/StatusReport.h"
#include "support/ProcessMemory.h"
#include "support/PtyPeer.h"
#include "support/RawPty.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/StationFixture.h"
#include "support/TestFiles.h"
#include "ui/TrafficDisplay.h"
#include "ui/UnitTMD700.h"

#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A line that babbles: random bytes (now and then a carriage return) pushed into a pty as fast
// as the reader takes them, whatever is asked. Writes that would block are skipped, so the test
// never waits on a reader that has gone.
class NoisyLine
{
public:
    NoisyLine(qint64 totalBytes, quint32 seed) : m_total(totalBytes), m_random(seed)
    {
        m_path = openRawPty(&m_master, &m_slave);
        if (m_path.isEmpty())
            return;
        QObject::connect(&m_timer, &QTimer::timeout, [this] { pump(); });
        m_timer.start(1);
    }
    ~NoisyLine()
    {
        m_timer.stop();
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
    }

    QString path() const { return m_path; }
    qint64 sent() const { return m_sent; }
    bool done() const { return m_sent >= m_total; }
    // Everything sent has been read from the line.
    bool drained() const
    {
        int waiting = 0;
        return ::ioctl(m_slave, FIONREAD, &waiting) == 0 && waiting == 0;
    }

private:
    void pump()
    {
        char discard[4096];
        while (::read(m_master, discard, sizeof discard) > 0) {
        }
        if (done())
            return;
        QByteArray chunk(int(qMin<qint64>(16 * 1024, m_total - m_sent)), Qt::Uninitialized);
        for (char &c : chunk) {
            const quint32 r = m_random.generate();
            c = (r % 40 == 0) ? '\r' : char(r >> 8);
        }
        const ssize_t n = ::write(m_master, chunk.constData(), size_t(chunk.size()));
        if (n > 0)
            m_sent += n;
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QTimer m_timer;
    qint64 m_total;
    qint64 m_sent = 0;
    QRandomGenerator m_random;
};

bool isRed(const QLineEdit *line)
{
    return line->styleSheet().contains(QLatin1String("rgb(255, 0, 0)"));
}

// Runs the event loop until `condition` holds or `timeoutMs` has passed, and tells whether it
// holds. Unlike QTRY_ and qWaitFor, which sleep 10 ms between looks, it never sleeps: a line
// that is read only while events are processed is read as fast as the station can.
template <typename Condition> bool runEventsUntil(Condition condition, int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (condition() || elapsed.hasExpired(timeoutMs))
            loop.quit();
    });
    look.start(1);
    loop.exec();
    return condition();
}

} // namespace

// The radio misbehaves under a running station: it vanishes in the middle of the memory read,
// answers too late, answers "?" to everything or babbles. The station must end the
// initialisation with a red status, stay usable, and recover with the next INIT once a working
// radio is back on the same port.
class TestFaultKenwood : public QObject
{
    Q_OBJECT

    static constexpr int BoundMs = 30'000; // bounds a hang; never a measurement

    enum Fault { Late, Questions, Garbage };

    struct Setup
    {
        StationFixture fixture;
        QString link = fixture.path(QStringLiteral("dev/ttyV0"));

        Station &start(const QStringList &configuration = {})
        {
            return fixture.start(
                QStringList{QStringLiteral("MODEL=TMD710"), QStringLiteral("COM=") + link} +
                configuration);
        }
        // Points the port's link at a pty of the test's own.
        void linkTo(const QString &pty)
        {
            QFile::remove(link);
            QVERIFY(QFile::link(pty, link));
        }
    };

    static bool saysNoAnswer(Station &s)
    {
        const Ui::TForm1 &ui = s.windows().Form1->ui;
        return s.state.RigStatus == 0 && !s.state.RigAnswering &&
               ui.labelTMD->text() ==
                   s.state.ModelLabel + s.state.statusMessage(StatusMessage::RigNotAnswering) &&
               isRed(ui.labelTMD);
    }

    static bool initialised(Station &s, int memories)
    {
        const Ui::TForm1 &ui = s.windows().Form1->ui;
        return s.state.RigStatus == 3 && s.state.RigAnswering &&
               s.kenwood->radio().state().panelEnabled() &&
               s.kenwood->radio().state().memories().size() == memories &&
               ui.labelTMD->text() == s.state.statusMessage(StatusMessage::InitialisationDone) &&
               !isRed(ui.labelTMD);
    }

    static int logged(Station &s, const QString &line)
    {
        return int(s.log.lines()
                       .filter(QRegularExpression(
                           QStringLiteral(" %1$").arg(QRegularExpression::escape(line))))
                       .size());
    }
    static int readyLines(Station &s)
    {
        return int(s.log.lines().filter(QStringLiteral(" Radio ready: ")).size());
    }
    // The commands the radio received from the `from`th on.
    static QStringList commandsSince(const RigSimProcess &radio, qsizetype from)
    {
        return radio.receivedCommands().mid(from);
    }

    // A radio on --control, a server on loopback, the station initialised and connected.
    struct ServedSetup : Setup
    {
        RigSimProcess radio;
        ServerPeer server;

        Station &startServed(const QStringList &rigsim = {}, const QStringList &configuration = {})
        {
            if (radio
                    .start(QStringList{QStringLiteral("--control"), QStringLiteral("--memories"),
                                       QStringLiteral("12"), QStringLiteral("--link"), link} +
                           rigsim)
                    .isEmpty())
                qFatal("rigsim did not start");
            return start(
                QStringList{QStringLiteral("NUMBERMEM=12"), QStringLiteral("CHANNEL=BOTH")} +
                StationFixture::serverLines(server.port()) + configuration);
        }
    };

    // A working radio comes back on the same link; the operator presses INIT.
    static void recoverWithInit(Setup &s, Station &station)
    {
        RigSimProcess radio;
        QVERIFY(!radio
                     .start({QStringLiteral("--memories"), QStringLiteral("12"),
                             QStringLiteral("--link"), s.link})
                     .isEmpty());
        // After a reply that never came (the command may have reached the radio) receive comes
        // first; after a radio that answered, the model check does.
        const QStringList expected = station.kenwood->link().unkeyOwed()
                                         ? QStringList{"RX", "AI 0"}
                                         : QStringList{"AI 0", "ID"};
        station.windows().Form1->ui.SpeedButtonInit->click();
        QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
        QCOMPARE(radio.receivedCommands().mid(0, 2), expected);
        QVERIFY(station.kenwood->link().isOpen());
    }

private slots:
    void radioVanishesDuringMemoryRead_data();
    void radioVanishesDuringMemoryRead();
    void unusableRadioEndsInitialisation_data();
    void unusableRadioEndsInitialisation();
    void adapterPulledAndPluggedBack();
    void radioAnsweringAgainIsInitialisedByItself_data();
    void radioAnsweringAgainIsInitialisedByItself();
    void fullPathAndByIdNameOpenThePort_data();
    void fullPathAndByIdNameOpenThePort();
    void silentRadioUnderServerTrafficComesBack();
    void transmitDuringRecoveryIsKept_data();
    void transmitDuringRecoveryIsKept();
    void garbledModelReplyDuringRecovery();
    void radioOfAnotherModelIsWatched();
    void requestsDroppedAtTheBoundAreTold();
};

void TestFaultKenwood::radioVanishesDuringMemoryRead_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("ended, link removed") << SIGTERM;
    QTest::newRow("killed, link left dangling") << SIGKILL;
}

void TestFaultKenwood::radioVanishesDuringMemoryRead()
{
    QFETCH(int, signal);
    Setup s;
    RigSimProcess radio;
    QVERIFY(
        !radio
             .start({QStringLiteral("--memories"), QStringLiteral("199"), QStringLiteral("--delay"),
                     QStringLiteral("20"), QStringLiteral("--link"), s.link})
             .isEmpty());
    auto memoryReads = [&radio] {
        return radio.receivedCommands().filter(QRegularExpression(QStringLiteral("^ME "))).size();
    };
    // The memory read runs inside the initialisation's own waits: the radio is pulled from a
    // timer that fires there.
    int readsAtKill = -1;
    QTimer puller;
    QObject::connect(&puller, &QTimer::timeout, [&] {
        if (readsAtKill < 0 && memoryReads() >= 10) {
            readsAtKill = int(memoryReads());
            ::kill(pid_t(radio.processId()), signal);
        }
    });
    puller.start(5);
    Station &station = s.start({QStringLiteral("NUMBERMEM=199")});
    QTRY_VERIFY_WITH_TIMEOUT(readsAtKill >= 0, BoundMs);
    QTRY_VERIFY2_WITH_TIMEOUT(saysNoAnswer(station),
                              qPrintable(QStringLiteral("status %1 \"%2\", answering %3, open %4")
                                             .arg(station.state.RigStatus)
                                             .arg(station.windows().Form1->ui.labelTMD->text())
                                             .arg(station.state.RigAnswering)
                                             .arg(station.kenwood->link().isOpen())),
                              BoundMs);
    qInfo("radio pulled after %d of 199 memory reads", readsAtKill);
    QVERIFY2(readsAtKill < 199, "the radio went away after the memory read had ended");
    const Ui::TForm1 &ui = station.windows().Form1->ui;
    QCOMPARE(ui.ComboBoxMEM->count(), 0);
    QVERIFY(!station.kenwood->radio().state().panelEnabled());
    QVERIFY(s.fixture.notifier.messages.isEmpty());
    radio.stop();

    recoverWithInit(s, station);
}

void TestFaultKenwood::unusableRadioEndsInitialisation_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("answers after 3.1 s") << int(Late);
    QTest::newRow("answers ? to everything") << int(Questions);
    QTest::newRow("babbles 32 MB of random bytes") << int(Garbage);
}

void TestFaultKenwood::unusableRadioEndsInitialisation()
{
    QFETCH(int, fault);
    Setup s;
    RigSimProcess lateRadio;
    PtyPeer questions;
    constexpr qint64 NoiseBytes = 32 * 1024 * 1024;
    std::unique_ptr<NoisyLine> noise;
    if (fault == Late) {
        QVERIFY(!lateRadio
                     .start({QStringLiteral("--delay"), QStringLiteral("3100"),
                             QStringLiteral("--link"), s.link})
                     .isEmpty());
    } else if (fault == Questions) {
        s.linkTo(questions.path());
    } else {
        noise = std::make_unique<NoisyLine>(NoiseBytes, 20240601);
        s.linkTo(noise->path());
    }
    Station &station = s.start();
    const Ui::TForm1 &ui = station.windows().Form1->ui;
    const QString wrongModel =
        QStringLiteral("warning:") + station.state.statusMessage(StatusMessage::NotTmd710);

    switch (Fault(fault)) {
    case Late:
        QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
        QCOMPARE(lateRadio.receivedCommands().value(0), QStringLiteral("RX"));
        // The answer still comes, after the exchange gave up: it changes nothing.
        QTRY_VERIFY_WITH_TIMEOUT(lateRadio.logText().contains(QLatin1String(" > RX")), BoundMs);
        QTest::qWait(100);
        QVERIFY(saysNoAnswer(station));
        QVERIFY(s.fixture.notifier.messages.isEmpty());
        lateRadio.stop();
        break;
    case Questions:
        QTRY_VERIFY_WITH_TIMEOUT(!s.fixture.notifier.messages.isEmpty(), BoundMs);
        QCOMPARE(s.fixture.notifier.messages, QStringList{wrongModel});
        QCOMPARE(questions.commands, (QStringList{"RX", "AI 0", "ID"}));
        QVERIFY(!station.state.RigAnswering);
        QCOMPARE(station.state.RigStatus, 2);
        QVERIFY(isRed(ui.labelTMD));
        break;
    case Garbage:
        // Random bytes never carry the model's name: the model check fails, or a silence
        // between bursts ends it as an unanswered exchange.
        QTRY_VERIFY_WITH_TIMEOUT(!station.state.RigAnswering && isRed(ui.labelTMD) &&
                                     station.kenwood->radio().initialisationDue() == false,
                                 BoundMs);
        // Memory is measured from the first quarter of the babble on, so that what the window
        // takes once at start is not counted: what is left must not grow with what comes.
        QVERIFY(runEventsUntil([&] { return noise->sent() >= NoiseBytes / 4; }, 120'000));
        {
            const qint64 residentBefore = ProcessMemory::residentKiB();
            QVERIFY(runEventsUntil([&] { return noise->done(); }, 120'000));
            QVERIFY(runEventsUntil([&] { return noise->drained(); }, 120'000));
            const qint64 growth = ProcessMemory::residentKiB() - residentBefore;
            qInfo("babbling radio: %lld bytes sent, resident growth %lld KiB, traffic %lld "
                  "characters",
                  noise->sent(), growth, qint64(ui.EditTXdata->text().size()));
            QVERIFY(ui.EditTXdata->text().size() <= TrafficDisplay::Capacity);
            QVERIFY2(growth < 8 * 1024, qPrintable(QString::number(growth)));
        }
        noise.reset();
        break;
    }
    QVERIFY(!station.kenwood->radio().state().panelEnabled());
    QCOMPARE(ui.ComboBoxMEM->count(), 0);

    recoverWithInit(s, station);
}

// The USB adapter drops off the bus and comes back under the same name: the station says so,
// does not wait on the missing port, and initialises the radio by itself once it is back.
void TestFaultKenwood::adapterPulledAndPluggedBack()
{
    Setup s;
    auto radio = std::make_unique<RigSimProcess>();
    QVERIFY(!radio
                 ->start({QStringLiteral("--memories"), QStringLiteral("12"),
                          QStringLiteral("--link"), s.link})
                 .isEmpty());
    Station &station = s.start({QStringLiteral("NUMBERMEM=12")});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    const QString lost = QStringLiteral("Port ") + s.link + QStringLiteral(" lost");
    Ui::TForm1 &ui = station.windows().Form1->ui;
    ui.SpeedButtonTX->click(); // keyed when the adapter goes
    QTRY_VERIFY_WITH_TIMEOUT(radio->receivedCommands().contains(QStringLiteral("TX")), BoundMs);
    radio.reset(); // the link goes with it
    QTRY_VERIFY_WITH_TIMEOUT(station.log.lines().constLast().endsWith(lost), BoundMs);
    const QLineEdit *status = station.windows().Form1->ui.labelTMD;
    QString shown;
    // The long name keeps its end in the line, the whole of it in the tool tip.
    QVERIFY2(status->text().startsWith(QStringLiteral("Port ...")) &&
                 status->text().endsWith(QStringLiteral("/ttyV0 lost")),
             qPrintable(status->text()));
    QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) < status->width());
    QCOMPARE(status->toolTip(),
             QStringLiteral("Statut de la connexion du TD700 avec le PC\n") + lost);
    QVERIFY(isRed(status));
    shown = status->text();

    QElapsedTimer exchange;
    exchange.start();
    QCOMPARE(QCoro::waitFor(station.kenwood->link().exchange(QStringLiteral("SC"))),
             QStringLiteral("timerout"));
    QVERIFY2(exchange.elapsed() < RigLink::ReplyDeadlineMs, "an exchange waited for a lost port");
    QCOMPARE(status->text(), shown);
    // Unkeying and INIT meanwhile cannot reach the radio, and must not end the search.
    ui.SpeedButtonTX->click();
    ui.SpeedButtonInit->click();
    QCOMPARE(status->text(), shown);

    RigSimProcess back;
    QVERIFY(!back.start({QStringLiteral("--memories"), QStringLiteral("12"),
                         QStringLiteral("--pace"), QStringLiteral("--link"), s.link})
                 .isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    QVERIFY(station.log.lines().filter(QStringLiteral("Port ") + s.link + " back").size() == 1);
    QVERIFY(!status->toolTip().contains(QStringLiteral(" lost")));
    QCOMPARE(back.receivedCommands().mid(0, 2), (QStringList{"RX", "AI 0"}));
    // The memories are read again once the radio is in service, and a keying goes between.
    ui.SpeedButtonTX->click();
    QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle(), BoundMs);
    const QStringList commands = back.receivedCommands();
    QVERIFY2(commands.indexOf(QStringLiteral("TX")) > 0 &&
                 commands.indexOf(QStringLiteral("TX")) <
                     commands.indexOf(QStringLiteral("ME 012")),
             qPrintable(commands.join(QLatin1Char(','))));
    QCOMPARE(station.kenwood->radio().state().memories().size(), 12);
    ui.SpeedButtonTX->click();
    QTRY_VERIFY_WITH_TIMEOUT(back.receivedCommands().constLast() == QStringLiteral("RX"), BoundMs);
    ui.SpeedButtonVFOA->click();
    QTRY_VERIFY(station.requests.isIdle());
    const QString vfo = station.state.CurrentFrequency;
    station.state.CurrentFrequency.clear();
    QCoro::waitFor(station.server->session().reportFrequency());
    QCOMPARE(station.state.CurrentFrequency, vfo);
    QCOMPARE(vfo, QStringLiteral("145.225000"));
}

void TestFaultKenwood::radioAnsweringAgainIsInitialisedByItself_data()
{
    QTest::addColumn<bool>("switchedOnLater");
    QTest::newRow("one reply 3.3 s late") << false;
    QTest::newRow("radio switched on after the station") << true;
}

// Nobody presses INIT at an unattended station: a radio that missed a reply, or that was off
// when the station started, is asked every 2 s and initialised as soon as it answers, and
// keying works again.
void TestFaultKenwood::radioAnsweringAgainIsInitialisedByItself()
{
    QFETCH(bool, switchedOnLater);
    Setup s;
    RigSimProcess radio;
    QVERIFY(!radio
                 .start({QStringLiteral("--control"), QStringLiteral("--memories"),
                         QStringLiteral("12"), QStringLiteral("--link"), s.link})
                 .isEmpty());
    if (switchedOnLater)
        radio.order("silent on");
    Station &station = s.start({QStringLiteral("NUMBERMEM=12")});
    Ui::TForm1 &ui = station.windows().Form1->ui;
    const auto answersAgain = [&station] {
        return station.log.lines().filter(QRegularExpression(" Radio answers again$")).size();
    };
    if (switchedOnLater) {
        QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
        // Asked its model while it stays silent.
        QTRY_VERIFY_WITH_TIMEOUT(radio.receivedCommands().count(QStringLiteral("ID")) >= 2,
                                 BoundMs);
        QCOMPARE(radio.receivedCommands().value(0), QStringLiteral("RX"));
        QVERIFY(!radio.receivedCommands().contains(QStringLiteral("AI 0")));
        radio.order("silent off");
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
        radio.order("late TX 3300");
        ui.SpeedButtonTX->click(); // the radio is keyed, its reply comes too late
        QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
        QCOMPARE(answersAgain(), 0);
    }
    QTRY_VERIFY_WITH_TIMEOUT(answersAgain() == 1 && initialised(station, 12), BoundMs);
    // Every initialisation that went through ends on the same line, the recovery's included.
    QTRY_COMPARE(station.log.lines().filter(QStringLiteral(" Radio ready: ")).size(),
                 switchedOnLater ? 1 : 2);
    const QStringList commands = radio.receivedCommands();
    const qsizetype init = commands.lastIndexOf(QStringLiteral("AI 0"));
    QVERIFY(init > 0);
    // Whatever the radio did meanwhile, it is sent to receive before anything else.
    QCOMPARE(commands.value(init - 1), QStringLiteral("RX"));
    QVERIFY(!station.kenwood->radio().state().keyed());

    ui.SpeedButtonTX->click();
    QVERIFY(station.kenwood->radio().state().keyed());
    QTRY_COMPARE_WITH_TIMEOUT(radio.receivedCommands().constLast(), QStringLiteral("TX"), BoundMs);
    QVERIFY(station.state.RigAnswering);
    QCOMPARE(answersAgain(), 1);
}

void TestFaultKenwood::fullPathAndByIdNameOpenThePort_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("pluggedLater");
    const QString byId =
        QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
    QTest::newRow("full path") << QStringLiteral("elsewhere/ttyUSB7") << false;
    QTest::newRow("by-id") << byId << false;
    // The station starts before its adapter: the name is kept and the radio initialised when
    // the adapter comes.
    QTest::newRow("by-id, plugged after start") << byId << true;
    // A short name, as the COM menu saves it, waits for its adapter the same way.
    QTest::newRow("short name, plugged after start")
        << QStringLiteral("/dev/ttyIvrelaneLate%1").arg(QCoreApplication::applicationPid()) << true;
}

void TestFaultKenwood::fullPathAndByIdNameOpenThePort()
{
    QFETCH(QString, where);
    QFETCH(bool, pluggedLater);
    Setup s;
    const bool inDev = where.startsWith(QLatin1String("/dev/"));
    if (inDev && !QFileInfo(QStringLiteral("/dev")).isWritable())
        QSKIP("a device name in /dev needs a writable /dev");
    const QString path = inDev ? where : s.fixture.path(where);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    RigSimProcess radio;
    const QStringList rigsim{QStringLiteral("--memories"), QStringLiteral("4"),
                             QStringLiteral("--link"), path};
    if (!pluggedLater)
        QVERIFY(!radio.start(rigsim).isEmpty());
    s.link = inDev ? QFileInfo(path).fileName() : path;
    Station &station = s.start({QStringLiteral("NUMBERMEM=4")});
    const QString saved = QStringLiteral("COM=") + s.link;
    if (pluggedLater) {
        QCOMPARE(station.state.PortStatus, 0);
        // Saved while the adapter is away, the name stays for the next start.
        station.MenuSaveClick();
        QVERIFY(
            TestFiles::readLines(s.fixture.path(QStringLiteral("Ivrelane.ini"))).contains(saved));
        // Looked for several times.
        station.kenwood->link().setReopenPeriodMs(20);
        QTest::qWait(100);
        // Why it did not open is logged once, not at every look for it.
        QCOMPARE(station.log.lines()
                     .filter(QStringLiteral(" Port ") + s.link +
                             QStringLiteral(": No such file or directory"))
                     .size(),
                 1);
        QVERIFY(!radio.start(rigsim).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(
            station.log.lines().filter(QStringLiteral("Port ") + s.link + " back").size() == 1,
            BoundMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 4), BoundMs);
    QCOMPARE(station.ComPortTX.portName, s.link);
    QTRY_COMPARE(station.log.lines()
                     .filter(QStringLiteral(" Radio ready: ") + station.state.ModelLabel.trimmed() +
                             QStringLiteral(" on ") + s.link)
                     .size(),
                 1);
    // The COM menu lists the by-id name of an adapter that was there at start.
    const bool listed =
        !station.windows().Form1->ui.ListBoxPort->findItems(path, Qt::MatchExactly).isEmpty();
    QCOMPARE(listed, where.contains(QLatin1String("by-id")) && !pluggedLater);
    station.MenuSaveClick();
    QVERIFY(TestFiles::readLines(s.fixture.path(QStringLiteral("Ivrelane.ini"))).contains(saved));
}

// The radio goes silent while the server keeps sending TRANSMIT and RECEIVE: it is still asked
// its model, found again under the same traffic, and keyed by the next TRANSMIT. The silence and
// the return are logged once each.
void TestFaultKenwood::silentRadioUnderServerTrafficComesBack()
{
    ServedSetup s;
    Station &station = s.startServed();
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    QVERIFY(s.server.waitForClient(BoundMs));
    int sent = 0;
    QTimer traffic;
    QObject::connect(&traffic, &QTimer::timeout,
                     [&] { s.server.send(sent++ % 2 == 0 ? "TRANSMIT_R\r\n" : "RECEIVE_R\r\n"); });
    traffic.start(750);
    s.radio.order("silent on");
    QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
    const int sentSilent = sent;
    // Ten seconds of traffic to a silent radio: each exchange that reaches it is a question too.
    QTRY_VERIFY_WITH_TIMEOUT(sent >= sentSilent + 14, BoundMs);
    QCOMPARE(logged(station, QStringLiteral("Radio not answering")), 1);

    const qsizetype backFrom = s.radio.receivedCommands().size();
    s.radio.order("silent off");
    QTRY_VERIFY_WITH_TIMEOUT(readyLines(station) == 2, BoundMs);
    QTRY_VERIFY_WITH_TIMEOUT(commandsSince(s.radio, backFrom).contains(QStringLiteral("TX")),
                             BoundMs);
    traffic.stop();
    s.server.send("RECEIVE_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!station.kenwood->radio().state().keyed() && station.requests.isIdle(),
                             BoundMs);
    QCOMPARE(s.radio.receivedCommands().constLast(), QStringLiteral("RX"));
    QCOMPARE(logged(station, QStringLiteral("Radio answers again")), 1);
    QCOMPARE(logged(station, QStringLiteral("Radio not answering")), 1);
    // A glitch keeps the memories read at start: the radio is not read again before keying.
    QVERIFY(commandsSince(s.radio, backFrom).filter(QRegularExpression("^ME ")).isEmpty());
    QVERIFY(initialised(station, 12));

    // Idle and silent again: asked every 2 s with nothing else going on.
    s.radio.order("silent on");
    s.server.send("FREQUENCY\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
    const qsizetype idleFrom = s.radio.receivedCommands().size();
    QTRY_VERIFY_WITH_TIMEOUT(commandsSince(s.radio, idleFrom).count(QStringLiteral("ID")) >= 2,
                             BoundMs);
    QCOMPARE(logged(station, QStringLiteral("Radio not answering")), 2);
}

void TestFaultKenwood::transmitDuringRecoveryIsKept_data()
{
    QTest::addColumn<QByteArray>("whileSilent");
    QTest::addColumn<bool>("outlived"); // silent past the transmit time-out
    QTest::addColumn<bool>("keyedAfter");
    QTest::newRow("TRANSMIT") << QByteArray("TRANSMIT_R\r\n") << false << true;
    QTest::newRow("TRANSMIT then RECEIVE")
        << QByteArray("TRANSMIT_R\r\nRECEIVE_R\r\n") << false << false;
    QTest::newRow("TRANSMIT past the time-out") << QByteArray("TRANSMIT_R\r\n") << true << false;
}

// A TRANSMIT that finds the radio silent is carried out once the radio is back and ready, unless
// a RECEIVE or the transmit time-out came first.
void TestFaultKenwood::transmitDuringRecoveryIsKept()
{
    QFETCH(QByteArray, whileSilent);
    QFETCH(bool, outlived);
    QFETCH(bool, keyedAfter);
    ServedSetup s;
    Station &station = s.startServed({}, {QStringLiteral("TXTIMEOUT=3")});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    QVERIFY(s.server.waitForClient(BoundMs));
    s.radio.order("silent on");
    s.server.send("FREQUENCY\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
    s.server.send(whileSilent);
    QTRY_VERIFY_WITH_TIMEOUT(
        logged(station, QStringLiteral("TRANSMIT kept until the radio is ready")) == 1, BoundMs);
    if (outlived) {
        QTRY_VERIFY_WITH_TIMEOUT(
            logged(station,
                   QStringLiteral("TRANSMIT dropped: radio not ready within the TX time-out")) == 1,
            BoundMs);
    }
    QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle(), BoundMs);
    QVERIFY(!station.kenwood->radio().state().keyed());
    const qsizetype backFrom = s.radio.receivedCommands().size();
    s.radio.order("silent off");
    QTRY_VERIFY_WITH_TIMEOUT(readyLines(station) == 2 && station.requests.isIdle(), BoundMs);
    if (keyedAfter) {
        QTRY_VERIFY_WITH_TIMEOUT(station.kenwood->radio().state().keyed(), BoundMs);
        // Keyed after the radio was sent to receive and set up again, not before.
        const QStringList since = commandsSince(s.radio, backFrom);
        QVERIFY2(since.lastIndexOf(QStringLiteral("TX")) >
                     since.lastIndexOf(QStringLiteral("AI 0")),
                 qPrintable(since.join(QLatin1Char(','))));
        s.server.send("RECEIVE_R\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(s.radio.receivedCommands().constLast() == QStringLiteral("RX"),
                                 BoundMs);
    } else {
        // One more exchange through the queue: a keying due would have gone before it.
        s.server.send("FREQUENCY\r\n");
        QCOMPARE(s.server.waitForLines(2, BoundMs).size(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle(), BoundMs);
        QVERIFY(!commandsSince(s.radio, backFrom).contains(QStringLiteral("TX")));
        QVERIFY(!station.kenwood->radio().state().keyed());
    }
}

// A model reply spoilt by line noise during the recovery ends that initialisation: the radio is
// still counted as not answering, asked again, and taken into service by the next good reply.
void TestFaultKenwood::garbledModelReplyDuringRecovery()
{
    ServedSetup s;
    Station &station = s.startServed();
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    QVERIFY(s.server.waitForClient(BoundMs));
    s.radio.order("silent on");
    s.server.send("FREQUENCY\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(saysNoAnswer(station), BoundMs);
    // The poll that finds it and the initialisation's own model check both get noise.
    s.radio.order("spoil ID");
    s.radio.order("spoil ID");
    s.radio.order("silent off");
    QTRY_VERIFY_WITH_TIMEOUT(logged(station, QStringLiteral("Radio answers again")) == 2 &&
                                 readyLines(station) == 2,
                             BoundMs);
    QCOMPARE(logged(station, QStringLiteral("Radio not answering")), 2);
    QVERIFY(station.state.RigAnswering);
    s.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(s.radio.receivedCommands().constLast() == QStringLiteral("TX"),
                             BoundMs);
    s.server.send("FREQUENCY\r\n");
    QVERIFY(s.server.waitForLines(2, BoundMs).constLast() != "999.999999");
}

// A TM-D700 answers where a TM-D710 is configured: said in the log once, asked again every 2 s,
// and the TM-D710 taken into service once it answers.
void TestFaultKenwood::radioOfAnotherModelIsWatched()
{
    ServedSetup s;
    Station &station = s.startServed({QStringLiteral("--id"), QStringLiteral("TM-D700")});
    const QString wrong = QStringLiteral("Radio answers as TM-D700, TM-D710 configured");
    QTRY_VERIFY_WITH_TIMEOUT(logged(station, wrong) == 1, BoundMs);
    const qsizetype from = s.radio.receivedCommands().size();
    QTRY_VERIFY_WITH_TIMEOUT(commandsSince(s.radio, from).count(QStringLiteral("ID")) >= 2,
                             BoundMs);
    // Polled, not initialised again and again.
    QVERIFY(!commandsSince(s.radio, from).contains(QStringLiteral("AI 0")));
    QCOMPARE(logged(station, wrong), 1);
    QCOMPARE(s.fixture.notifier.messages.size(), 1);
    QVERIFY(!station.state.RigAnswering);
    s.radio.order("id TM-D710");
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12) && readyLines(station) == 1, BoundMs);
    QVERIFY(s.server.waitForClient(BoundMs));
    s.server.send("TRANSMIT_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(s.radio.receivedCommands().constLast() == QStringLiteral("TX"),
                             BoundMs);
}

// A flood of frequency requests behind a slow radio: what the queue cannot hold is answered at
// once as for a radio that does not answer, counted, and logged once per burst.
void TestFaultKenwood::requestsDroppedAtTheBoundAreTold()
{
    ServedSetup s;
    Station &station = s.startServed({QStringLiteral("--delay"), QStringLiteral("5")});
    QTRY_VERIFY_WITH_TIMEOUT(initialised(station, 12), BoundMs);
    QVERIFY(s.server.waitForClient(BoundMs));
    constexpr int Requests = RadioRequests::MaxWaiting + 100;
    QByteArray burst;
    for (int i = 0; i < Requests; ++i)
        burst += "FREQUENCY\r\n";
    s.server.send(burst);
    const QList<QByteArray> answers = s.server.waitForLines(Requests, 120'000);
    QCOMPARE(answers.size(), Requests);
    QTRY_VERIFY_WITH_TIMEOUT(station.requests.isIdle(), BoundMs);
    const int dropped = station.requests.droppedCount();
    QVERIFY(dropped > 0);
    QCOMPARE(answers.count("999.999999"), dropped);
    QCOMPARE(logged(station, QStringLiteral("Radio busy: %1 requests dropped").arg(dropped)), 1);
    const QJsonObject counters =
        station.status->snapshot().value(QLatin1String("counters")).toObject();
    QCOMPARE(counters.value(QLatin1String("requestsDropped")).toInt(), dropped);
}

QTEST_MAIN(TestFaultKenwood)
#include "tst_fault_kenwood.moc"

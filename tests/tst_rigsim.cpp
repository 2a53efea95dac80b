#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"

#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Generous waits: they bound a hung simulator, they do not measure it.
constexpr int WaitMs = 10'000;

// One rigsim process and a serial port opened on its pty, as the program would open it.
class SimulatedRig
{
public:
    explicit SimulatedRig(const QStringList &arguments)
    {
        m_process.start(QStringLiteral(IVRELANE_BUILD_DIR "/rigsim"), arguments);
        if (!m_process.waitForStarted(WaitMs))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(WaitMs)) {
        }
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("PTY "))
            m_ptyPath = QString::fromLocal8Bit(line.mid(4));
        m_process.setReadChannel(QProcess::StandardError);
    }

    ~SimulatedRig()
    {
        m_port.close();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(WaitMs)) {
                m_process.kill();
                m_process.waitForFinished(WaitMs);
            }
        }
    }

    QString ptyPath() const { return m_ptyPath; }
    QProcess &process() { return m_process; }

    bool openPort(const QString &path = QString())
    {
        m_port.setPortName(path.isEmpty() ? m_ptyPath : path);
        m_port.setBaudRate(QSerialPort::Baud9600);
        m_port.setDataBits(QSerialPort::Data8);
        m_port.setParity(QSerialPort::NoParity);
        m_port.setStopBits(QSerialPort::OneStop);
        // The program waits for CTS before sending; a pty must still take the bytes.
        m_port.setFlowControl(QSerialPort::HardwareControl);
        return m_port.open(QIODevice::ReadWrite);
    }
    void closePort() { m_port.close(); }

    void write(const QByteArray &bytes)
    {
        m_port.write(bytes);
        m_port.waitForBytesWritten(WaitMs);
    }

    // The next reply without its carriage return, or "<none>" when none came.
    QString nextReply()
    {
        while (!m_received.contains('\r') && m_port.waitForReadyRead(WaitMs))
            m_received += m_port.readAll();
        const qsizetype end = m_received.indexOf('\r');
        if (end < 0)
            return QStringLiteral("<none>");
        const QString reply = QString::fromLatin1(m_received.left(end));
        m_received.remove(0, end + 1);
        return reply;
    }

    QString exchange(const QString &command)
    {
        write(command.toLatin1() + '\r');
        return nextReply();
    }

    // Waits until the simulator has logged `text`.
    bool waitForLog(const QByteArray &text)
    {
        while (!m_log.contains(text)) {
            if (!m_process.waitForReadyRead(WaitMs))
                return false;
            m_log += m_process.readAllStandardError();
        }
        return true;
    }

    QSerialPort &port() { return m_port; }

private:
    QProcess m_process;
    QSerialPort m_port;
    QString m_ptyPath;
    QByteArray m_received;
    QByteArray m_log;
};

} // namespace

class TestRigsim : public QObject
{
    Q_OBJECT

private slots:
    void commandSequence_data();
    void commandSequence();
    void memoryRecordsMakeTheList_data();
    void memoryRecordsMakeTheList();
    void garbledRecordsKeepTheListGoing();
    void wrongModelInId();
    void silentRigNeverAnswers();
    void commandsSplitJoinedAndOverlong();
    void pacedAndDelayedRepliesStayInOrder();
    void stateOutlivesReopeningThePort();
    void linkLogAndCleanExit();
    void badCommandLine_data();
    void badCommandLine();
};

// Alternating command, expected reply: an initialisation followed by the operations of the panel.
void TestRigsim::commandSequence_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("exchanges");
    QTest::newRow("TMD700")
        << "TMD700"
        << QStringList{"ID",         "ID TM-D700",
                       "AI 0",       "AI 0",
                       "REP 0",      "REP 0",
                       "VSC 0",      "VSC 0",
                       "RC 0",       "RC 0",
                       "MR 0,0,001", "MR 0,0,001,00145225000,0,2,0,0,0,0,09,0010,09,000600000,0,0",
                       "MR 0,0,011", "N",
                       "BC",         "BC 0,0",
                       "BC 0,0",     "BC 0,0",
                       "RBN",        "RBN 2",
                       "VR 2",       "VR 2,00145225000,0,0,0,0,0,0,09,0010,09,000000000,0",
                       "VMC 0",      "VMC 0,0",
                       "VMC 1",      "VMC 1,2",
                       "MC 1",       "MC 1,003",
                       "MC 0",       "N",
                       "VMC 0,2",    "VMC 0,2",
                       "MC 0",       "MC 0,001",
                       "MC 0,015",   "N",
                       "MC 0,005",   "MC 0,005",
                       "MC 0",       "MC 0,005",
                       "BC 1,1",     "BC 1,1",
                       "RBN",        "RBN 5",
                       "PC 1",       "PC 1,2",
                       "PC 1,0",     "PC 1,0",
                       "PC 1",       "PC 1,0",
                       "SC",         "SC 0",
                       "SC 1",       "SC 1",
                       "SC",         "SC 1",
                       "SC 0",       "SC 0",
                       "TX",         "TX 1",
                       "RX",         "RX",
                       "VMC 0,0",    "VMC 0,0",
                       "MC 0",       "N",
                       "FO 0",       "?",
                       "ZZ",         "?",
                       "",           "?",
                       "VMC 0,1",    "N",
                       "PC 2",       "N",
                       "VR 9",       "N"};
    QTest::newRow("TMD710")
        << "TMD710"
        << QStringList{
               "ID",         "ID TM-D710",
               "AI 0",       "AI 0",
               "REP 0",      "REP 0",
               "ME 001",     "ME 001,0145225000,0,2,0,0,0,0,08,08,000,00600000,0,0000000000,0,0",
               "ME 005",     "ME 005,0145430000,0,1,0,0,0,0,08,08,000,00600000,0,0000000000,0,0",
               "ME 011",     "N",
               "BC",         "BC 0,0",
               "BC 1,1",     "BC 1,1",
               "FO 1",       "FO 1,0433500000,0,2,0,0,0,0,08,08,000,01600000,0",
               "VM 0",       "VM 0,0",
               "VM 1",       "VM 1,1",
               "MR 1",       "MR 1,003",
               "MR 1,007",   "MR 1,007",
               "MR 1",       "MR 1,007",
               "MR 0",       "N",
               "VM 0,1",     "VM 0,1",
               "MR 0",       "MR 0,001",
               "PC 0,1",     "PC 0,1",
               "PC 0",       "PC 0,1",
               "SC",         "SC 0",
               "SC 0",       "?",
               "TX",         "TX 1",
               "RX",         "RX",
               "VMC 0",      "?",
               "RBN",        "?",
               "MR 0,0,001", "N",
               "VM 5,0",     "N",
               "ME 1x3",     "N",
               "",           "?"};
    QTest::newRow("TMV71") << "TMV71"
                           << QStringList{"ID",
                                          "ID TM-V71",
                                          "AI 0",
                                          "AI 0",
                                          "ME 003",
                                          "ME 003,0430025000,0,2,0,0,0,0,08,08,000,09400000,0,"
                                          "0000000000,0,0",
                                          "BC",
                                          "BC 0,0",
                                          "BC 0,0",
                                          "BC 0,0",
                                          "FO 0",
                                          "FO 0,0145225000,0,0,0,0,0,0,08,08,000,00000000,0",
                                          "VM 0",
                                          "VM 0,0",
                                          "MR 0,002",
                                          "N",
                                          "VM 1,0",
                                          "VM 1,0",
                                          "MR 1",
                                          "N",
                                          "PC 1",
                                          "PC 1,2",
                                          "PC 0,3",
                                          "N",
                                          "SC 1",
                                          "?",
                                          "TX 1",
                                          "N",
                                          "id",
                                          "?"};
}

void TestRigsim::commandSequence()
{
    QFETCH(QString, model);
    QFETCH(QStringList, exchanges);
    SimulatedRig rig({"--model", model});
    QVERIFY2(!rig.ptyPath().isEmpty(), "rigsim printed no pty");
    QVERIFY(rig.openPort());
    for (qsizetype i = 0; i + 1 < exchanges.size(); i += 2)
        QCOMPARE(rig.exchange(exchanges[i]), exchanges[i + 1]);
}

// The records the simulator sends must read back through the program's own parser.
void TestRigsim::memoryRecordsMakeTheList_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("programmed");
    QTest::addColumn<QStringList>("someEntries");
    QTest::newRow("TMD700 wraps the pattern")
        << "TMD700" << 12
        << QStringList{"001=145.225000 shift=-0.600", "003=430.025000 shift=-9.400",
                       "011=145.237500 shift=-0.600"};
    QTest::newRow("TMD710 three channels")
        << "TMD710" << 3
        << QStringList{"001=145.225000 shift=-0.600", "002=145.500000 shift=0",
                       "003=430.025000 shift=-9.400"};
    QTest::newRow("TMV71 none programmed") << "TMV71" << 0 << QStringList();
}

void TestRigsim::memoryRecordsMakeTheList()
{
    QFETCH(QString, model);
    QFETCH(int, programmed);
    QFETCH(QStringList, someEntries);
    const Kenwood::Model kenwood = *Kenwood::modelFromName(model);
    SimulatedRig rig({"--model", model, "--memories", QString::number(programmed)});
    QVERIFY(rig.openPort());
    QString replies;
    for (int channel = 1; channel <= programmed + 2; ++channel)
        replies += rig.exchange(Kenwood::memoryReadCommand(channel, kenwood)) + '\r';
    const QStringList list = Kenwood::memoryListFromReplies(replies, kenwood);
    QCOMPARE(list.size(), programmed);
    for (const QString &entry : someEntries)
        QVERIFY2(list.contains(entry), qPrintable(entry));
}

void TestRigsim::garbledRecordsKeepTheListGoing()
{
    SimulatedRig rig({"--model", "TMD710", "--memories", "6", "--garble"});
    QVERIFY(rig.openPort());
    QString replies;
    for (int channel = 1; channel <= 6; ++channel)
        replies += rig.exchange(Kenwood::memoryReadCommand(channel, Kenwood::Model::TMD710)) + '\r';
    // 003 and 006 carry a spoilt shift code, 005 is cut short and gives no entry.
    const QStringList expected{"001=145.225000 shift=-0.600", "002=145.500000 shift=0",
                               "003=430.025000 shift=x", "004=144.800000 shift=0",
                               "006=438.500000 shift=x"};
    QCOMPARE(Kenwood::memoryListFromReplies(replies, Kenwood::Model::TMD710), expected);
    const QString vfo = rig.exchange(QStringLiteral("FO 0")) + '\r' + rig.exchange("REP 0");
    QCOMPARE(Kenwood::vfoDisplayText(vfo, u"FO 0", Kenwood::Model::TMD710),
             std::optional<QString>(QStringLiteral("F=145.225000 shift=x")));
}

void TestRigsim::wrongModelInId()
{
    SimulatedRig rig({"--model", "TMV71", "--id", "TM-D710"});
    QVERIFY(rig.openPort());
    const QString reply = rig.exchange(QStringLiteral("ID"));
    QCOMPARE(reply, QStringLiteral("ID TM-D710"));
    QVERIFY(!Kenwood::idReplyMatches(reply, Kenwood::Model::TMV71));
    // The rest of the set is still a TM-V71.
    QCOMPARE(rig.exchange(QStringLiteral("VM 0")), QStringLiteral("VM 0,0"));
}

void TestRigsim::silentRigNeverAnswers()
{
    SimulatedRig rig({"--silent"});
    QVERIFY(rig.openPort());
    rig.write("ID\r");
    rig.write("AI 0\r");
    // Once the simulator has logged both commands as unanswered it will write nothing more.
    QVERIFY(rig.waitForLog("- ID (silent)"));
    QVERIFY(rig.waitForLog("- AI 0 (silent)"));
    QCOMPARE(rig.port().bytesAvailable(), 0);
    QVERIFY(!rig.port().waitForReadyRead(200));
}

void TestRigsim::commandsSplitJoinedAndOverlong()
{
    SimulatedRig rig({"--model", "TMD710"});
    QVERIFY(rig.openPort());
    rig.write("I");
    rig.write("D\r");
    QCOMPARE(rig.nextReply(), QStringLiteral("ID TM-D710"));
    rig.write("AI 0\rBC\r\nPC 1\r");
    QCOMPARE(rig.nextReply(), QStringLiteral("AI 0"));
    QCOMPARE(rig.nextReply(), QStringLiteral("BC 0,0"));
    QCOMPARE(rig.nextReply(), QStringLiteral("PC 1,2"));
    // Line noise without a carriage return is cut into unknown commands, then work goes on.
    rig.write(QByteArray(300, 'A') + '\r');
    QCOMPARE(rig.nextReply(), QStringLiteral("?"));
    QCOMPARE(rig.nextReply(), QStringLiteral("?"));
    QCOMPARE(rig.exchange(QStringLiteral("ID")), QStringLiteral("ID TM-D710"));
}

void TestRigsim::pacedAndDelayedRepliesStayInOrder()
{
    SimulatedRig rig({"--model", "TMD700", "--pace", "--delay", "20"});
    QVERIFY(rig.openPort());
    rig.write("ID\rMR 0,0,002\rBC 1,1\rBC\r");
    QCOMPARE(rig.nextReply(), QStringLiteral("ID TM-D700"));
    QCOMPARE(rig.nextReply(),
             QStringLiteral("MR 0,0,002,00145500000,0,0,0,0,0,0,09,0010,09,000000000,0,0"));
    QCOMPARE(rig.nextReply(), QStringLiteral("BC 1,1"));
    QCOMPARE(rig.nextReply(), QStringLiteral("BC 1,1"));
}

void TestRigsim::stateOutlivesReopeningThePort()
{
    SimulatedRig rig({"--model", "TMD710"});
    QVERIFY(rig.openPort());
    QCOMPARE(rig.exchange(QStringLiteral("PC 0,2")), QStringLiteral("PC 0,2"));
    QCOMPARE(rig.exchange(QStringLiteral("VM 0,1")), QStringLiteral("VM 0,1"));
    rig.closePort();
    QVERIFY(rig.openPort());
    QCOMPARE(rig.exchange(QStringLiteral("PC 0")), QStringLiteral("PC 0,2"));
    QCOMPARE(rig.exchange(QStringLiteral("VM 0")), QStringLiteral("VM 0,1"));
}

void TestRigsim::linkLogAndCleanExit()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("ttyV0"));
    const QString logPath = dir.filePath(QStringLiteral("rig.log"));
    QFile::link(QStringLiteral("/dev/null"), link); // a stale link from an earlier run
    {
        SimulatedRig rig({"--model", "TMD700", "--link", link, "--log", logPath});
        QVERIFY(rig.openPort(link));
        QCOMPARE(rig.exchange(QStringLiteral("ID")), QStringLiteral("ID TM-D700"));
        rig.closePort();
        rig.process().terminate();
        QVERIFY(rig.process().waitForFinished(WaitMs));
        QCOMPARE(rig.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(rig.process().exitCode(), 0);
    }
    QVERIFY(!QFileInfo(link).isSymLink());
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY(text.contains(" < ID\n"));
    QVERIFY(text.contains(" > ID TM-D700\n"));

    // A file that is not a link is left alone and the simulator refuses to start.
    QFile plain(link);
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QProcess refused;
    refused.start(QStringLiteral(IVRELANE_BUILD_DIR "/rigsim"), {"--link", link});
    QVERIFY(refused.waitForFinished(WaitMs));
    QCOMPARE(refused.exitCode(), 1);
    QVERIFY(QFileInfo(link).isFile());
}

void TestRigsim::badCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("unknown model")
        << QStringList{"--model", "FT817"} << 2 << QByteArray("unknown model");
    QTest::newRow("too many TM-D700 channels")
        << QStringList{"--model", "TMD700", "--memories", "500"} << 2 << QByteArray("--memories");
    QTest::newRow("negative delay") << QStringList{"--delay", "-1"} << 2 << QByteArray("--delay");
    QTest::newRow("stray argument") << QStringList{"extra"} << 2 << QByteArray("unexpected");
    QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("--garble");
}

void TestRigsim::badCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    QProcess process;
    process.start(QStringLiteral(IVRELANE_BUILD_DIR "/rigsim"), arguments);
    QVERIFY(process.waitForFinished(WaitMs));
    QCOMPARE(process.exitCode(), exitCode);
    const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
    QVERIFY2(output.contains(said), output.constData());
}

QTEST_GUILESS_MAIN(TestRigsim)
#include "tst_rigsim.moc"

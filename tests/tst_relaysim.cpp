#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

// Generous guard for things that must happen; never a measure of speed.
constexpr int GuardMs = 20000;

// relaysim as a child process, with its stdout collected line by line.
class Sim
{
public:
    ~Sim()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(GuardMs))
                m_process.kill();
            m_process.waitForFinished(GuardMs);
        }
    }

    bool start(const QStringList &arguments)
    {
        m_process.setProgram(QStringLiteral(IVRELANE_BUILD_DIR "/relaysim"));
        m_process.setArguments(arguments);
        m_process.start();
        if (!m_process.waitForStarted(GuardMs))
            return false;
        const QString listening = take(QStringLiteral("LISTENING "));
        m_port = quint16(listening.section(QLatin1Char(' '), 1).toUInt());
        return m_port != 0;
    }

    // The first not yet taken stdout line starting with prefix; empty if none came.
    QString take(const QString &prefix)
    {
        const QDeadlineTimer deadline(GuardMs);
        for (;;) {
            for (qsizetype i = 0; i < m_lines.size(); ++i) {
                if (m_lines.at(i).startsWith(prefix))
                    return m_lines.takeAt(i);
            }
            if (deadline.hasExpired() || !readMore(deadline))
                return QString();
        }
    }

    // The text of the next "RECV"/"PARTIAL" line, without the tag and timestamp.
    QString takeTraffic(const QString &tag)
    {
        const QString line = take(tag + QLatin1Char(' '));
        static const QRegularExpression format(
            QStringLiteral("^\\w+ \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d (.*)$"));
        const QRegularExpressionMatch match = format.match(line);
        return match.hasMatch() ? match.captured(1) : QStringLiteral("<no %1 line>").arg(tag);
    }

    // Blocking test code has no event loop to push QProcess's buffer out, so wait for it.
    bool write(const QByteArray &bytes)
    {
        m_process.write(bytes);
        return m_process.waitForBytesWritten(GuardMs);
    }
    QStringList collected() const { return m_lines; }
    QProcess &process() { return m_process; }
    quint16 port() const { return m_port; }

    bool finish()
    {
        if (!m_process.waitForFinished(GuardMs))
            return false;
        readMore(QDeadlineTimer(0));
        return true;
    }

private:
    bool readMore(const QDeadlineTimer &deadline)
    {
        if (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        bool any = false;
        while (m_process.canReadLine()) {
            m_lines.append(QString::fromUtf8(m_process.readLine()).chopped(1));
            any = true;
        }
        return any || m_process.state() == QProcess::Running;
    }

    QProcess m_process;
    QStringList m_lines;
    quint16 m_port = 0;
};

bool connectTo(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(GuardMs);
}

// Reads until the received bytes end with the marker or the peer closes.
QByteArray readUntil(QTcpSocket &socket, const QByteArray &marker)
{
    QByteArray got;
    const QDeadlineTimer deadline(GuardMs);
    while (!got.endsWith(marker) && !deadline.hasExpired()) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(100) &&
            socket.state() != QAbstractSocket::ConnectedState)
            break;
        got += socket.readAll();
    }
    return got + socket.readAll();
}

bool waitForClose(QTcpSocket &socket)
{
    const QDeadlineTimer deadline(GuardMs);
    while (socket.state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired()) {
        socket.readAll();
        socket.waitForDisconnected(100);
    }
    return socket.state() == QAbstractSocket::UnconnectedState;
}

} // namespace

class TestRelaySim : public QObject
{
    Q_OBJECT

private slots:
    void sendsInputLines_data();
    void sendsInputLines();
    void printsStationLines_data();
    void printsStationLines();
    void scriptWaitsForConnectionAndExits();
    void exitsAtEndOfStdin();
    void pauseHoldsLaterLines();
    void closeThenServesNextConnection();
    void sendsToEveryStation();
    void endsCleanlyOnSignal_data();
    void endsCleanlyOnSignal();
    void refusesBadStart_data();
    void refusesBadStart();
};

void TestRelaySim::sendsInputLines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("line gets CR LF") << QByteArray("FREQUENCY\n") << QByteArray("FREQUENCY\r\n");
    QTest::newRow("several lines in order") << QByteArray("TRANSMIT_L\nRECEIVE_L\n1234\n")
                                            << QByteArray("TRANSMIT_L\r\nRECEIVE_L\r\n1234\r\n");
    QTest::newRow("raw has no line end")
        << QByteArray("raw 12\nraw 34\\r\\n\n") << QByteArray("1234\r\n");
    QTest::newRow("@raw") << QByteArray("@raw FREQ\n@raw UENCY\\r\\n\n")
                          << QByteArray("FREQUENCY\r\n");
    QTest::newRow("escapes make two lines in one write")
        << QByteArray("1\\r\\n2\n") << QByteArray("1\r\n2\r\n");
    QTest::newRow("hex and NUL escapes")
        << QByteArray("raw \\x00\\xFf\\0\\t\\\\\n") << QByteArray("\0\xff\0\t\\", 5);
    QTest::newRow("unknown escape kept")
        << QByteArray("a\\qb\\x4\n") << QByteArray("a\\qb\\x4\r\n");
    QTest::newRow("blank lines skipped") << QByteArray("\n  \nA\n") << QByteArray("A\r\n");
    QTest::newRow("CR LF input lines") << QByteArray("A\r\nB\r\n") << QByteArray("A\r\nB\r\n");
    QTest::newRow("short pause keeps order")
        << QByteArray("A\npause 5\n@pause 0\nB\n") << QByteArray("A\r\nB\r\n");
    QTest::newRow("bad pause skipped")
        << QByteArray("pause x\npause -4\nB\n") << QByteArray("B\r\n");
    QTest::newRow("unknown command skipped") << QByteArray("@bogus\nC\n") << QByteArray("C\r\n");
    QTest::newRow("DTMF hash line is data") << QByteArray("#12\n") << QByteArray("#12\r\n");
}

void TestRelaySim::sendsInputLines()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);

    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    QVERIFY(!sim.take(QStringLiteral("CONNECTED 127.0.0.1:")).isEmpty());

    // The end marker proves nothing extra was sent in between.
    QVERIFY(sim.write(input + "END\n"));
    QCOMPARE(readUntil(socket, "END\r\n"), expected + "END\r\n");
}

void TestRelaySim::printsStationLines_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("partial");

    QTest::newRow("frequency report")
        << QByteArray("145.225000\r\n") << QStringList{"145.225000"} << QString();
    QTest::newRow("two lines in one write") << QByteArray("145.225000\r\n999.999999\r\n")
                                            << QStringList{"145.225000", "999.999999"} << QString();
    QTest::newRow("bare LF stays visible")
        << QByteArray("000.000000\n") << QStringList{"000.000000\\n"} << QString();
    QTest::newRow("control and high bytes escaped")
        << QByteArray("a\tb\\c\x01\xe9\r\n") << QStringList{"a\\tb\\\\c\\x01\\xe9"} << QString();
    QTest::newRow("empty line") << QByteArray("\r\n") << QStringList{""} << QString();
    QTest::newRow("no line end before close") << QByteArray("145.2") << QStringList{} << "145.2";
    QTest::newRow("line then remainder")
        << QByteArray("145.225000\r\n14") << QStringList{"145.225000"} << "14";
}

void TestRelaySim::printsStationLines()
{
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, lines);
    QFETCH(QString, partial);

    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    socket.write(sent);
    QVERIFY(socket.waitForBytesWritten(GuardMs));
    for (const QString &line : lines)
        QCOMPARE(sim.takeTraffic(QStringLiteral("RECV")), line);

    socket.disconnectFromHost();
    if (!partial.isEmpty())
        QCOMPARE(sim.takeTraffic(QStringLiteral("PARTIAL")), partial);
    QVERIFY(!sim.take(QStringLiteral("DISCONNECTED 127.0.0.1:")).isEmpty());
    // Output is in event order, so every line of the station came before its disconnection.
    QCOMPARE(sim.collected().filter(QRegularExpression(QStringLiteral("^(RECV|PARTIAL) "))),
             QStringList());
}

void TestRelaySim::scriptWaitsForConnectionAndExits()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("script.txt"));
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("FREQUENCY\r\nraw 1\nraw 2\\r\\n\npause 20\n\n1234\n@pause 1\nZZZZZ");
    script.close();

    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--script"),
                       path, QStringLiteral("--exit-after-script")}));
    // The script was read before anyone connected; nothing of it may be lost.
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    QCOMPARE(readUntil(socket, "ZZZZZ\r\n"), QByteArray("FREQUENCY\r\n12\r\n1234\r\nZZZZZ\r\n"));
    QVERIFY(waitForClose(socket));
    QVERIFY(sim.finish());
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!sim.take(QStringLiteral("DONE")).isEmpty());
}

void TestRelaySim::exitsAtEndOfStdin()
{
    Sim sim;
    QVERIFY(sim.start(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--exit-after-script")}));
    QVERIFY(sim.write("GENERIC_U\nGENERIC_D"));
    sim.process().closeWriteChannel();
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    // The last line had no line end on stdin; it is still sent, as a line.
    QCOMPARE(readUntil(socket, "GENERIC_D\r\n"), QByteArray("GENERIC_U\r\nGENERIC_D\r\n"));
    QVERIFY(sim.finish());
    QCOMPARE(sim.process().exitCode(), 0);
}

void TestRelaySim::pauseHoldsLaterLines()
{
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    QVERIFY(sim.write("A\npause 600000\nB\n"));
    QCOMPARE(readUntil(socket, "A\r\n"), QByteArray("A\r\n"));

    // A round trip through the simulator's event loop while the pause runs: it still reads
    // the station, and "B" (which a broken pause would have written together with "A") is not
    // there.
    socket.write("PING\r\n");
    QVERIFY(socket.waitForBytesWritten(GuardMs));
    QCOMPARE(sim.takeTraffic(QStringLiteral("RECV")), QStringLiteral("PING"));
    socket.waitForReadyRead(50);
    QCOMPARE(socket.readAll(), QByteArray());
    QVERIFY(sim.take(QStringLiteral("SENT")).endsWith(QStringLiteral(" A\\r\\n")));
}

void TestRelaySim::closeThenServesNextConnection()
{
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket first;
    QVERIFY(connectTo(first, sim.port()));
    QVERIFY(sim.write("ONE\n@close\nTWO\n"));
    QCOMPARE(readUntil(first, "ONE\r\n"), QByteArray("ONE\r\n"));
    QVERIFY(waitForClose(first));
    QVERIFY(!sim.take(QStringLiteral("DISCONNECTED")).isEmpty());

    // What follows the close waited for the next station.
    QTcpSocket second;
    QVERIFY(connectTo(second, sim.port()));
    QCOMPARE(readUntil(second, "TWO\r\n"), QByteArray("TWO\r\n"));
}

void TestRelaySim::sendsToEveryStation()
{
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket first;
    QTcpSocket second;
    QVERIFY(connectTo(first, sim.port()));
    QVERIFY(connectTo(second, sim.port()));
    QVERIFY(!sim.take(QStringLiteral("CONNECTED")).isEmpty());
    QVERIFY(!sim.take(QStringLiteral("CONNECTED")).isEmpty());
    QVERIFY(sim.write("FREQUENCY\n"));
    QCOMPARE(readUntil(first, "\r\n"), QByteArray("FREQUENCY\r\n"));
    QCOMPARE(readUntil(second, "\r\n"), QByteArray("FREQUENCY\r\n"));
}

void TestRelaySim::endsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestRelaySim::endsCleanlyOnSignal()
{
    QFETCH(int, signalNumber);

    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--port"), QStringLiteral("0")}));
    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port()));
    QVERIFY(!sim.take(QStringLiteral("CONNECTED")).isEmpty());
    QCOMPARE(::kill(pid_t(sim.process().processId()), signalNumber), 0);
    QVERIFY(waitForClose(socket));
    QVERIFY(sim.finish());
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!sim.take(QStringLiteral("DISCONNECTED")).isEmpty());
}

void TestRelaySim::refusesBadStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("port not a number") << QStringList{"--port", "abc"} << 2;
    QTest::newRow("port out of range") << QStringList{"--port", "70000"} << 2;
    QTest::newRow("negative port") << QStringList{"--port", "-1"} << 2;
    QTest::newRow("missing script")
        << QStringList{"--port", "0", "--script", "/nonexistent/dir/script.txt"} << 2;
    QTest::newRow("port in use") << QStringList{"--port", "BUSY"} << 1;
}

void TestRelaySim::refusesBadStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);

    Sim holder;
    if (arguments.contains(QStringLiteral("BUSY"))) {
        QVERIFY(holder.start({QStringLiteral("--port"), QStringLiteral("0")}));
        arguments.replace(arguments.indexOf(QStringLiteral("BUSY")),
                          QString::number(holder.port()));
    }
    QProcess process;
    process.start(QStringLiteral(IVRELANE_BUILD_DIR "/relaysim"), arguments);
    QVERIFY(process.waitForFinished(GuardMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY(!process.readAllStandardOutput().contains("LISTENING"));
    QVERIFY(process.readAllStandardError().startsWith("relaysim: "));
}

QTEST_GUILESS_MAIN(TestRelaySim)
#include "tst_relaysim.moc"

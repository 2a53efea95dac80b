// scripts/try-without-radio run as an ordinary user with sudo, as a new operator runs it: the
// radio's port must be the user's, the demonstration must reach the radio and the log, and the
// end of the input or Ctrl+C must end everything. Needs root to set up that user's sudo; skipped
// elsewhere.

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

constexpr char SudoersFile[] = "/etc/sudoers.d/ivrelane-try-test";
constexpr char User[] = "65534"; // nobody: an ordinary user every Debian system has

QString scriptPath()
{
    return QStringLiteral(IVRELANE_SOURCE_DIR "/scripts/try-without-radio");
}

} // namespace

class TestTryWithoutRadio : public QObject
{
    Q_OBJECT

    // The script as the ordinary user, on the programs of this build.
    void start(QProcess &process)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("setpriv"),
                      {"--reuid", User, "--regid", User, "--clear-groups", "bash", scriptPath(),
                       "--built", IVRELANE_BUILD_DIR});
        QVERIFY(process.waitForStarted());
    }

    static bool waitFor(QProcess &process, QByteArray &output, const QByteArray &text,
                        int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!output.contains(text) && !deadline.hasExpired()) {
            if (!process.waitForReadyRead(200) && process.state() == QProcess::NotRunning)
                break;
            output += process.readAll();
        }
        return output.contains(text);
    }

    static void finish(QProcess &process, QByteArray &output)
    {
        QVERIFY2(process.waitForFinished(30000), output.constData());
        output += process.readAll();
        QVERIFY2(output.contains("Files of this run"), output.constData());
        QVERIFY2(!output.contains(" lost"), output.constData());
        QVERIFY2(!QFileInfo::exists("/dev/ttyIvrelaneTry") &&
                     !QFileInfo("/dev/ttyIvrelaneTry").isSymLink(),
                 "the port's link is left in /dev");
    }

private slots:
    void initTestCase()
    {
        if (::getuid() != 0)
            QSKIP("needs root to let an ordinary user use sudo for the port's link");
        if (QStandardPaths::findExecutable("sudo").isEmpty() ||
            QStandardPaths::findExecutable("setpriv").isEmpty() ||
            !QFileInfo(QStringLiteral("/etc/sudoers.d")).isDir())
            QSKIP("needs sudo and setpriv");
        if (QFileInfo("/dev/ttyIvrelaneTry").isSymLink())
            QSKIP("a demonstration is running on this machine");
        // A checkout in a private folder (mktemp -d makes one) is out of the ordinary user's
        // reach: there is nothing that user could run.
        QProcess reach;
        reach.start(QStringLiteral("setpriv"),
                    {"--reuid", User, "--regid", User, "--clear-groups", "test", "-r",
                     scriptPath(), "-a", "-x", IVRELANE_BUILD_DIR "/ivrelane"});
        if (!reach.waitForFinished(10000) || reach.exitCode() != 0)
            QSKIP("the checkout or its build is out of an ordinary user's reach");
        // Only the two commands the script runs as root, without a password, their arguments
        // matched whole (a wildcard would also match "/dev/pts/../../etc/...").
        QFile sudoers(QString::fromLatin1(SudoersFile));
        QVERIFY(sudoers.open(QIODevice::WriteOnly));
        sudoers.write("#65534 ALL=(root) NOPASSWD: /usr/bin/ln ^-sfn /dev/pts/[0-9]+ "
                      "/dev/ttyIvrelaneTry$, /usr/bin/rm ^-f /dev/ttyIvrelaneTry$\n");
        sudoers.close();
        QVERIFY(sudoers.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
    }

    void cleanupTestCase() { QFile::remove(QString::fromLatin1(SudoersFile)); }

    // The whole demonstration: the radio is received first, gets the memory and is keyed and
    // unkeyed; the log shows the memory; the end of the input ends all of it, Ivrelane logging
    // "Quit" before the radio goes.
    void demonstrationThenEndOfInput()
    {
        QProcess process;
        start(process);
        QByteArray output;
        QVERIFY2(waitFor(process, output, "radio: RX", 60000), output.constData());
        QVERIFY2(waitFor(process, output, "MEM A=003", 60000), output.constData());
        QVERIFY2(waitFor(process, output, "radio: TX", 30000), output.constData());
        const qsizetype keyed = output.indexOf("radio: TX");
        QVERIFY2(waitFor(process, output, "RECEIVE_R", 30000), output.constData());
        QTRY_VERIFY_WITH_TIMEOUT(
            (output += process.readAll(), output.indexOf("radio: RX", keyed) > keyed), 30000);
        QVERIFY(output.contains("radio: MR 0,003"));
        QVERIFY(output.contains("server: RECV"));
        process.closeWriteChannel();
        finish(process, output);
        QVERIFY2(output.contains(" Quit"), output.constData());
    }

    // Ctrl+C while Ivrelane still starts, and the end of the input before the server link is
    // up: neither waits for the demonstration.
    void interruptedEarly_data()
    {
        QTest::addColumn<bool>("interrupt");
        QTest::newRow("Ctrl+C") << true;
        QTest::newRow("Ctrl+D") << false;
    }
    void interruptedEarly()
    {
        QFETCH(bool, interrupt);
        QProcess process;
        start(process);
        QByteArray output;
        QVERIFY2(waitFor(process, output, "Ctrl+D or Ctrl+C ends it", 60000), output.constData());
        if (interrupt)
            ::kill(pid_t(process.processId()), SIGINT);
        else
            process.closeWriteChannel();
        finish(process, output);
    }
};

QTEST_GUILESS_MAIN(TestTryWithoutRadio)
#include "tst_try_without_radio.moc"

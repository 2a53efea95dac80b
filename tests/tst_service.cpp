#include "support/RigSimProcess.h"
#include "support/RigctldProcess.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>

namespace {

constexpr uid_t Nobody = 65534; // an ordinary user every Debian system has
constexpr uid_t Daemon = 1;     // stands for the service's own user

const QString Program = QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane");

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a short command of the program (or of `program`) to its end.
Run command(const QStringList &arguments, const QString &program = Program)
{
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// The same as the ordinary user `nobody`, without any group.
Run commandAsNobody(const QStringList &arguments)
{
    return command(QStringList{"--reuid", QString::number(Nobody), "--regid",
                               QString::number(Nobody), "--clear-groups", Program} +
                       arguments,
                   QStringLiteral("setpriv"));
}

// Whether this test may run the program as an ordinary user: it runs as root, has setpriv,
// and the build is within that user's reach.
bool canRunAsNobody()
{
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return false;
    return commandAsNobody({"--help"}).exitCode == 0;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

// One datagram socket standing for the service manager's notify socket.
class NotifySocket
{
public:
    explicit NotifySocket(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, m_path.constData(), size_t(m_path.size()));
        ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    }
    ~NotifySocket() { ::close(m_fd); }

    // The messages received within `timeoutMs`, until `last` is among them.
    QList<QByteArray> receiveUntil(const QByteArray &last, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_messages.contains(last) && !deadline.hasExpired()) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, int(qMin<qint64>(100, deadline.remainingTime()))) > 0) {
                char buffer[256];
                const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
                if (n > 0)
                    m_messages << QByteArray(buffer, int(n));
            }
        }
        return m_messages;
    }

private:
    QByteArray m_path;
    int m_fd = -1;
    QList<QByteArray> m_messages;
};

} // namespace

class TestService : public QObject
{
    Q_OBJECT

private slots:
    // Arguments that cannot be obeyed are refused in one line, exit code 2, nothing touched.
    void badArgumentsTouchNothing()
    {
        QTemporaryDir dir;
        TestFiles::writeBytes(dir.filePath("file"), "not a folder");
        const QString under = dir.filePath("file/station");
        for (const QStringList &arguments :
             {QStringList{"--bogus"}, QStringList{"--folder"}, QStringList{"--reset", "--status"},
              QStringList{"--folder", under}, QStringList{"--folder", dir.path(), "extra"}}) {
            const Run run = command(arguments);
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.err.startsWith("Ivrelane: ") && run.err.count('\n') == 1,
                     run.err.constData());
            QCOMPARE(filesIn(dir.path()), QStringList{"file"});
        }
    }

    // A keyed radio left by a copy that died: the reset unkeys it and leaves every file of the
    // folder as it was. A copy running there keeps the radio.
    void resetUnkeysAKeyedRadioAndWritesNothing()
    {
        QTemporaryDir dir;
        RigSimProcess rig;
        const QString link = dir.filePath("ttyRig");
        QVERIFY(!rig.start({"--model", "TMD710", "--link", link}).isEmpty());
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            port.write("TX\r");
            QTRY_VERIFY(rig.receivedCommands().contains(QStringLiteral("TX")));
        }
        const QStringList configuration{"[IvrelaneTMD7x0]", "MODEL=TMD710", "COM=" + link};
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"), configuration);
        const QString station = dir.filePath("station");
        QVERIFY(QDir().mkdir(station));
        QVERIFY(QFile::copy(dir.filePath("Ivrelane.ini"), station + "/Ivrelane.ini"));

        const Run run = command({"--reset", "--folder", station});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(rig.receivedCommands().mid(1), (QStringList{"RX", "SC 0"}));
        QVERIFY2(rig.logText().contains("> RX"), qPrintable(rig.logText()));
        QCOMPARE(filesIn(station), QStringList{"Ivrelane.ini"});
        QCOMPARE(TestFiles::readLines(station + "/Ivrelane.ini"), configuration);

        // A copy runs in the folder: the radio is its own.
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        copy.setProcessEnvironment(env);
        copy.start(Program, {"--folder", station});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(station + "/Ivrelane.status"), 20'000);
        const Run refused = command({"--reset", "--folder", station});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("already running in " + QFile::encodeName(station)),
                 refused.err.constData());
        QVERIFY(QFile::exists(station + "/Ivrelane.lock"));
        ::kill(pid_t(copy.processId()), SIGTERM);
        QVERIFY(copy.waitForFinished(20'000));
    }

    // The same through Hamlib: a rigctld keyed by a copy that died is unkeyed.
    void resetUnkeysAHamlibRadio()
    {
        RigctldProcess rigctld;
        if (!rigctld.start({"-m", "1", "-P", "RIG"}))
            QSKIP("rigctld did not start");
        QVERIFY(rigctld.ask({"T", "1"}).isEmpty());
        QCOMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
        QTemporaryDir dir;
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=HAMLIB", "HAMLIBMODEL=2",
                               "HAMLIBPORT=" + rigctld.address()});
        const Run run = command({"--reset", "--folder", dir.path()});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(rigctld.ask({"t"}), QStringLiteral("0"));
        rigctld.kill();
        const Run gone = command({"--reset", "--folder", dir.path()});
        QCOMPARE(gone.exitCode, 1);
        QVERIFY2(gone.err.contains("rig_open"), gone.err.constData());
    }

    // Exit 1 with the reason when the port is missing or the radio silent (after the 3 s
    // deadline, not forever).
    void resetFailuresSayWhy()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("ttyGone");
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TMD700", "COM=" + missing});
        Run run = command({"--reset", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("port " + QFile::encodeName(missing) + " is missing"),
                 run.err.constData());

        RigSimProcess rig;
        const QString link = dir.filePath("ttyRig");
        QVERIFY(!rig.start({"--model", "TMD710", "--link", link, "--control"}).isEmpty());
        rig.order("silent on");
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TMD710", "COM=" + link});
        run = command({"--reset", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("does not answer"), run.err.constData());
        QCOMPARE(run.err.count('\n'), 1);

        TestFiles::writeLines(dir.filePath("Ivrelane.ini"), {"[IvrelaneTMD7x0]", "LANGUAGE=E"});
        run = command({"--reset", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("no radio model"), run.err.constData());
    }

    // Started by a service manager: "READY=1" once started, the watchdog's heartbeat from
    // then on, "STOPPING=1" at the end; each log line on standard error too. The status file
    // tells a running copy from a stopped one.
    void serviceNotifyAndStatus()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("2m"); // created by the program
        NotifySocket notify(dir.filePath("notify"));
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("NOTIFY_SOCKET", dir.filePath("notify"));
        env.insert("WATCHDOG_USEC", "400000");
        copy.setProcessEnvironment(env);
        copy.start(Program, {"--folder", folder});
        QVERIFY(copy.waitForStarted());

        QList<QByteArray> messages = notify.receiveUntil("never", 3000);
        QVERIFY2(!messages.isEmpty() && messages.first() == "READY=1",
                 messages.join(' ').constData());
        QVERIFY2(messages.count("WATCHDOG=1") >= 3, messages.join(' ').constData());

        Run status = command({"--status", "--folder", folder});
        QVERIFY2(status.exitCode == 0, status.err.constData());
        QVERIFY2(status.out.contains("running") && status.out.contains("Server:"),
                 status.out.constData());
        QFile file(folder + "/Ivrelane.status");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(report.value("pid").toInteger(), copy.processId());
        QCOMPARE(report.value("running").toBool(), true);
        QVERIFY(report.value("counters").toObject().contains("keyings"));

        ::kill(pid_t(copy.processId()), SIGTERM);
        QVERIFY(copy.waitForFinished(20'000));
        QVERIFY(notify.receiveUntil("STOPPING=1", 2000).contains("STOPPING=1"));
        const QByteArray err = copy.readAllStandardError();
        QVERIFY2(err.contains(" Start\n") && err.contains(" Quit\n"), err.constData());

        status = command({"--status", "--folder", folder});
        QCOMPARE(status.exitCode, 1);
        QVERIFY2(status.err.contains("no copy runs"), status.err.constData());
        QVERIFY(status.out.contains("stopped"));
        QCOMPARE(command({"--status", "--folder", dir.filePath("none")}).exitCode, 1);
    }

    // What the station does, in one line, as "STATUS=" whenever it changes: a generic
    // transmitter's lines (a pseudo-terminal standing in for the USB interface) working, then
    // gone. `--status` shows the lines too.
    void serviceStatusFollowsTheLines()
    {
        QTemporaryDir dir;
        int master = -1;
        int slave = -1;
        QCOMPARE(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        // Unplugging is closing the last copy of the master: the program must not inherit one.
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        const QString device = QString::fromLocal8Bit(::ttyname(slave));
        ::close(slave);
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TX16UD", "WARNING=Y", "LINES=CM108",
                               "LINESDEVICE=" + device, "LPT=0"});
        NotifySocket notify(dir.filePath("notify"));
        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("NOTIFY_SOCKET", dir.filePath("notify"));
        copy.setProcessEnvironment(env);
        copy.start(Program, {"--folder", dir.path()});
        QVERIFY(copy.waitForStarted());

        const QByteArray working =
            "STATUS=TX16UD on " + QFile::encodeName(device) + ", lines OK, server not connected";
        QList<QByteArray> messages = notify.receiveUntil(working, 20'000);
        QVERIFY2(messages.contains(working) && messages.contains("READY=1"),
                 messages.join('|').constData());
        const Run status = command({"--status", "--folder", dir.path()});
        QVERIFY2(status.out.contains("Lines:    CM108 " + QFile::encodeName(device) + " OK"),
                 status.out.constData());

        ::close(master); // the interface unplugged
        const QByteArray lost =
            "STATUS=TX16UD on " + QFile::encodeName(device) + ", lines lost, server not connected";
        messages = notify.receiveUntil(lost, 10'000);
        QVERIFY2(messages.contains(lost), messages.join('|').constData());
        QJsonObject report;
        QTRY_VERIFY_WITH_TIMEOUT(
            (report = QJsonDocument::fromJson(TestFiles::readBytes(dir.filePath("Ivrelane.status")))
                          .object(),
             report.value("lines").toObject().value("state") == QStringLiteral("lost")),
            5000);
        QCOMPARE(report.value("counters").toObject().value("portLosses").toInt(), 1);

        ::kill(pid_t(copy.processId()), SIGTERM);
        QVERIFY(copy.waitForFinished(20'000));
    }

    // A service's folder (mode 0750) hides its copy from other users: --status says it cannot
    // read it, why and how to ask, rather than "no copy runs". A copy killed outright is not
    // shown running from the status it left.
    void statusSaysWhatItCannotKnow()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther |
                                                      QFile::ReadOther));
        const QString folder = dir.filePath("2m");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadGroup |
                                                  QFile::ExeGroup));
        const passwd *service = ::getpwuid(Daemon);
        const group *serviceGroup = ::getgrgid(Daemon);
        const bool asNobody = canRunAsNobody() && service && serviceGroup &&
                              ::chown(QFile::encodeName(folder).constData(), Daemon, Daemon) == 0;

        QProcess copy;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        copy.setProcessEnvironment(env);
        copy.start(Program, {"--folder", folder});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder + "/Ivrelane.status"), 20'000);
        QCOMPARE(command({"--status", "--folder", folder}).exitCode, 0);

        if (asNobody) {
            const Run denied = commandAsNobody({"--status", "--folder", folder});
            QCOMPARE(denied.exitCode, 1);
            const QByteArray where = QFile::encodeName(folder);
            QVERIFY2(denied.err.contains("cannot read " + where + ": Permission denied") &&
                         denied.err.contains(QByteArray("sudo -u ") + service->pw_name + ' ' +
                                             QFile::encodeName(Program) + " --status --folder " +
                                             where) &&
                         denied.err.contains(QByteArray("sudo adduser $USER ") +
                                             serviceGroup->gr_name) &&
                         !denied.err.contains("no copy runs"),
                     denied.err.constData());
        }

        ::kill(pid_t(copy.processId()), SIGKILL);
        QVERIFY(copy.waitForFinished(20'000));
        const Run killed = command({"--status", "--folder", folder});
        QCOMPARE(killed.exitCode, 1);
        QVERIFY2(killed.out.contains("killed") && !killed.out.contains("running"),
                 killed.out.constData());
        QVERIFY2(killed.err.contains("no copy runs"), killed.err.constData());
        if (!asNobody)
            QSKIP("the unreadable folder needs root, setpriv and a build an ordinary user reaches");
    }

    // --check reads the configuration as the station would, lists the devices, and asks the
    // radio its model only: nothing keyed, no file written. Exit 0 only when the radio answers.
    void checkAsksTheKenwoodItsModelOnly()
    {
        QTemporaryDir dir;
        RigSimProcess rig;
        const QString link = dir.filePath("ttyRig");
        QVERIFY(!rig.start({"--model", "TMD710", "--link", link, "--control"}).isEmpty());
        const QStringList configuration{
            "[IvrelaneTMD7x0]", "# the station on 2 m", "MODEL=TMD710",
            "COM=COM3",         "COM=" + link,          "FORMTOP = 3",
            "LANGUAGE=e",       "TXTIMEOUT=60",         "TXTIMEOUT=120"};
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"), configuration);
        const QByteArray before = TestFiles::readBytes(dir.filePath("Ivrelane.ini"));

        Run run = command({"--check", "--folder", dir.path()});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        for (const char *said : {"MODEL=TMD710", "IGNORED: empty, or a Windows port name",
                                 "IGNORED: line 9 gives it again",
                                 "IGNORED: unknown key: FORMTOP=", "IGNORED: not one of F, E",
                                 "serial ports:", "hidraw:", "GPIO chips:", "Radio: TMD710 on ",
                                 "would start and reach its radio"}) {
            QVERIFY2(run.out.contains(said), (said + QByteArray("\n") + run.out).constData());
        }
        QVERIFY(!run.out.contains("# the station"));
        QCOMPARE(rig.receivedCommands(), QStringList{"ID"});
        QCOMPARE(filesIn(dir.path()).filter("Ivrelane"), QStringList{"Ivrelane.ini"});
        QCOMPARE(TestFiles::readBytes(dir.filePath("Ivrelane.ini")), before);

        rig.order("silent on");
        run = command({"--check", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("does not answer") && run.err.count('\n') == 1,
                 run.err.constData());
        rig.order("silent off");
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TMD700", "COM=" + link});
        run = command({"--check", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("is no TM-D700"), run.err.constData());
        QVERIFY(!rig.receivedCommands().contains("TX"));

        QVERIFY(QFile::remove(dir.filePath("Ivrelane.ini")));
        run = command({"--check", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("no configuration"), run.err.constData());
    }

    // A Hamlib radio is opened and read, its keying left as it was; the generic transmitter's
    // lines device is opened and nothing written to it.
    void checkLeavesHamlibAndLinesAsTheyWere()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("hidraw9");
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TX16UD", "LINES=CM108",
                               "LINESDEVICE=" + device, "LINESMAP=1,2,4,3,VOLDN"});
        Run run = command({"--check", "--folder", dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QFile::encodeName(device) + ": No such file or directory"),
                 run.err.constData());
        TestFiles::writeBytes(device, "");
        run = command({"--check", "--folder", dir.path()});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(TestFiles::readBytes(device), QByteArray());

        RigctldProcess rigctld;
        if (!rigctld.start({"-m", "1", "-P", "RIG"}))
            QSKIP("rigctld did not start");
        QVERIFY(rigctld.ask({"T", "1"}).isEmpty());
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=HAMLIB", "HAMLIBMODEL=2",
                               "HAMLIBPORT=" + rigctld.address()});
        run = command({"--check", "--folder", dir.path()});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY2(run.out.contains("answers"), run.out.constData());
        QCOMPARE(rigctld.ask({"t"}), QStringLiteral("1"));
    }

    // The package's unit, as systemd reads it for the instance "2m" (the program's path made
    // that of this build, which the check wants executable).
    void serviceUnitVerifies()
    {
        const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
        if (analyze.isEmpty())
            QSKIP("systemd-analyze is not installed");
        QTemporaryDir dir;
        QByteArray unit = TestFiles::readBytes(
            QStringLiteral(IVRELANE_SOURCE_DIR "/packaging/systemd/ivrelane@.service"));
        QVERIFY(unit.contains("ExecStopPost=-/usr/bin/ivrelane --reset --folder"));
        unit.replace("/usr/bin/ivrelane", QFile::encodeName(Program));
        const QString instance = dir.filePath(QStringLiteral("ivrelane@2m.service"));
        TestFiles::writeBytes(instance, unit);
        QProcess verify;
        verify.setProcessChannelMode(QProcess::MergedChannels);
        verify.start(analyze, {"verify", "--man=no", instance});
        QVERIFY(verify.waitForFinished(60'000));
        const QByteArray said = verify.readAll();
        // Outside a booted systemd (a container) the check cannot load the boot targets;
        // anything else it says is about the unit.
        QByteArray aboutTheUnit;
        for (const QByteArray &line : said.split('\n')) {
            if (!line.isEmpty() && !line.contains(".target not found"))
                aboutTheUnit += line + '\n';
        }
        QVERIFY2(aboutTheUnit.isEmpty(), said.constData());
    }
};

QTEST_GUILESS_MAIN(TestService)
#include "tst_service.moc"

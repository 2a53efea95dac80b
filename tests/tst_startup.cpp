#include "app/KenwoodWiring.h"
#include "app/Station.h"
#include "radio/RadioState.h"
#include "support/RecordingNotifier.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/TestFiles.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {
// "Log" and "Start", and on a machine without parallel port the generic transmitter's note.
qsizetype linesOfAFirstStart()
{
    const bool noPort = QDir(QStringLiteral("/proc/sys/dev/parport"))
                            .entryList({QStringLiteral("parport*")}, QDir::Dirs)
                            .isEmpty();
    return noPort ? 3 : 2;
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    static std::unique_ptr<Station> station(QTemporaryDir &dir, RecordingNotifier &notifier)
    {
        auto s = std::make_unique<Station>(dir.path(), notifier);
        s->deviceDirectory = dir.path();
        s->terminate = nullptr;
        return s;
    }

private slots:
    // The program copied alone into an empty folder of a machine without a display starts
    // offscreen, says so, logs, and on SIGTERM shuts down like "Quitter": "Quit" logged and a
    // read-only configuration of defaults written.
    void copiedProgramStartsAndStopsOnSigterm()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("ivrelane");
        QVERIFY(QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program));
        QProcess process;
        process.setWorkingDirectory(QDir::rootPath());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        const QString log = dir.filePath("Ivrelane.log");
        QTRY_VERIFY_WITH_TIMEOUT(TestFiles::readLines(log).size() == linesOfAFirstStart(), 20000);
        QCOMPARE(TestFiles::readLines(log).first(), QStringLiteral("Log"));
        QVERIFY(TestFiles::readLines(log).at(1).endsWith(QStringLiteral(" Start")));

        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY(TestFiles::readLines(log).last().endsWith(QStringLiteral(" Quit")));
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.contains("running without a window; log and configuration in " +
                                 QFile::encodeName(dir.path()) + "\n"),
                 errors.constData());

        const QString ini = dir.filePath("Ivrelane.ini");
        QVERIFY(!(QFile::permissions(ini) &
                  (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)));
        QStringList keys;
        for (const QString &line : TestFiles::readLines(ini))
            keys << line.section(QLatin1Char('='), 0, 0);
        const QStringList expected = {"[IvrelaneTMD7x0]", "LANGUAGE", "MODEL", "NUMBERMEM",
                                      // No power is known: none is saved, none sent at the
                                      // next start.
                                      "IPSERVER", "PORT", "CHANNEL", "FORMTOP", "FORMLEFT", "COMRI",
                                      "COMRTC", "COMRTM", "OPTITX16", "CHANNELNUMTX16",
                                      "BASECHANNELTX16", "TEMPOTX16", "DELAYPIN14", "DELAYPIN1",
                                      "DELAYPIN16", "VERSTART", "TXTIMEOUT"};
        QCOMPARE(keys, expected);
        const QStringList lines = TestFiles::readLines(ini);
        for (const char *line :
             {"MODEL=TX16UD", "NUMBERMEM=199", "PORT=10901", "FORMTOP=2", "FORMLEFT=8", "COMRI=25",
              "COMRTC=1", "COMRTM=25", "CHANNELNUMTX16=16", "BASECHANNELTX16=8", "VERSTART=0",
              "TXTIMEOUT=300"})
            QVERIFY2(lines.contains(QString::fromLatin1(line)), line);
    }

    // A second copy in the same folder is refused and touches nothing; a lock left by a copy
    // that was killed does not stop the next start.
    void oneCopyPerFolder()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("ivrelane");
        QVERIFY(QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        auto launch = [&](QProcess &process) {
            process.setProcessEnvironment(env);
            process.start(program, {});
            return process.waitForStarted();
        };
        const QString log = dir.filePath("Ivrelane.log");
        auto starts = [&] { return TestFiles::readLines(log).filter(QStringLiteral(" Start")); };
        // The running copy keeps its status file up to date meanwhile: that one is its own.
        auto snapshot = [&] {
            QStringList files;
            for (const QFileInfo &file : QDir(dir.path()).entryInfoList(QDir::Files)) {
                if (file.fileName() == QLatin1String("Ivrelane.status"))
                    continue;
                files << file.fileName() + QLatin1Char(' ') + QString::number(file.size()) +
                             QLatin1Char(' ') + file.lastModified().toString(Qt::ISODateWithMs);
            }
            return files;
        };

        QProcess first;
        QVERIFY(launch(first));
        QTRY_COMPARE_WITH_TIMEOUT(TestFiles::readLines(log).size(), linesOfAFirstStart(), 20000);
        QCOMPARE(starts().size(), 1);
        const QStringList before = snapshot();
        QProcess second;
        QVERIFY(launch(second));
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
        const QString refusal = QStringLiteral("Ivrelane is already running in ") + dir.path();
        QVERIFY2(second.readAllStandardError().contains(refusal.toUtf8()), qPrintable(refusal));
        QCOMPARE(snapshot(), before);
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(20000));
        QVERIFY(QFile::exists(dir.filePath("Ivrelane.lock")));
        QProcess third;
        QVERIFY(launch(third));
        QTRY_COMPARE_WITH_TIMEOUT(starts().size(), 2, 20000);
        ::kill(pid_t(third.processId()), SIGTERM);
        QVERIFY(third.waitForFinished(20000));
        QCOMPARE(third.exitCode(), 0);
        QVERIFY(!QFile::exists(dir.filePath("Ivrelane.lock")));

        // A copy killed between creating its lock and writing its process number left an empty
        // lock: nobody holds it.
        TestFiles::writeLines(dir.filePath("Ivrelane.lock"), {});
        QProcess fourth;
        QVERIFY(launch(fourth));
        QTRY_COMPARE_WITH_TIMEOUT(starts().size(), 3, 20000);
        ::kill(pid_t(fourth.processId()), SIGTERM);
        QVERIFY(fourth.waitForFinished(20000));
        QCOMPARE(fourth.exitCode(), 0);
    }

    // A lock left by a killed copy whose process number, after a reboot, belongs to another copy
    // running in another folder: that copy holds its own folder, not this one, so the start goes
    // on and takes the lock; the other copy runs on undisturbed.
    void staleLockWithTheNumberOfACopyElsewhere()
    {
        QTemporaryDir here;
        QTemporaryDir elsewhere;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        auto launch = [&](QProcess &process, const QTemporaryDir &dir) {
            const QString program = dir.filePath("ivrelane");
            if (!QFile::exists(program) &&
                !QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program))
                return false;
            process.setProcessEnvironment(env);
            process.start(program, {});
            return process.waitForStarted();
        };
        auto started = [](const QTemporaryDir &dir) {
            return !TestFiles::readLines(dir.filePath("Ivrelane.log"))
                        .filter(QStringLiteral(" Start"))
                        .isEmpty();
        };

        QProcess other;
        QVERIFY(launch(other, elsewhere));
        QTRY_VERIFY_WITH_TIMEOUT(started(elsewhere), 20000);
        // The left-over lock names the other copy: its number, program name and host.
        QVERIFY(QFile::copy(elsewhere.filePath("Ivrelane.lock"), here.filePath("Ivrelane.lock")));
        QVERIFY(TestFiles::readLines(here.filePath("Ivrelane.lock"))
                    .value(0)
                    .startsWith(QString::number(other.processId())));

        QProcess copy;
        QVERIFY(launch(copy, here));
        QTRY_VERIFY_WITH_TIMEOUT(started(here) || copy.state() == QProcess::NotRunning, 20000);
        QVERIFY2(started(here), copy.readAllStandardError().constData());
        QVERIFY(TestFiles::readLines(here.filePath("Ivrelane.lock"))
                    .value(0)
                    .startsWith(QString::number(copy.processId())));
        QCOMPARE(other.state(), QProcess::Running);

        for (QProcess *process : {&copy, &other}) {
            ::kill(pid_t(process->processId()), SIGTERM);
            QVERIFY(process->waitForFinished(20000));
            QCOMPARE(process->exitCode(), 0);
        }
    }

    // A service manager stops a program with SIGTERM at any moment, start-up included. Sent at
    // many points of start-up, it always ends the program: at once while nothing can be saved
    // yet (killed by the signal, files untouched), or like "Quitter" once the configuration is
    // read ("Quit" logged, the configuration saved with what was read). Never ignored, never a
    // silent exit, never a configuration of defaults over the operator's.
    void sigtermAtAnyMomentOfStartup()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("ivrelane");
        QVERIFY(QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program));
        const QString ini = dir.filePath("Ivrelane.ini");
        const QString log = dir.filePath("Ivrelane.log");
        const QStringList configuration{"[IvrelaneTMD7x0]", "LANGUAGE=E", "MODEL=TX16UD",
                                        "NUMBERMEM=42", "WARNING=Y"};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        int quitCount = 0;
        int killedCount = 0;
        // The sweep covers start-up on an idle machine; on a loaded one start-up takes longer,
        // so the delay keeps growing (doubling past 400 ms) until one signal lands after it.
        for (int delayMs = 0; delayMs <= 400 || (quitCount == 0 && delayMs <= 15000);
             delayMs += delayMs < 100   ? 4
                        : delayMs < 400 ? 25
                                        : delayMs) {
            QFile::remove(ini);
            QFile::remove(log);
            TestFiles::writeLines(ini, configuration);
            QProcess process;
            process.setProcessEnvironment(env);
            process.start(program, {});
            QVERIFY(process.waitForStarted());
            QThread::usleep(ulong(delayMs) * 1000);
            ::kill(pid_t(process.processId()), SIGTERM);
            QVERIFY2(process.waitForFinished(10000), qPrintable(QString::number(delayMs)));
            const QStringList logged = TestFiles::readLines(log);
            const QString where = QStringLiteral("after %1 ms: log %2")
                                      .arg(delayMs)
                                      .arg(logged.join(QLatin1Char('|')));
            if (process.exitStatus() == QProcess::CrashExit) {
                QCOMPARE(process.exitCode(), SIGTERM);
                QVERIFY2(logged.filter(QStringLiteral(" Quit")).isEmpty(), qPrintable(where));
                QCOMPARE(TestFiles::readLines(ini), configuration);
                ++killedCount;
            } else {
                QCOMPARE(process.exitCode(), 0);
                QVERIFY2(!logged.isEmpty() && logged.last().endsWith(QStringLiteral(" Quit")),
                         qPrintable(where));
                const QStringList saved = TestFiles::readLines(ini);
                QVERIFY2(saved.contains(QStringLiteral("NUMBERMEM=42")), qPrintable(where));
                QVERIFY(saved.contains(QStringLiteral("LANGUAGE=E")));
                ++quitCount;
            }
        }
        qInfo("SIGTERM during start-up: %d ended at once, %d ended like Quitter", killedCount,
              quitCount);
        QVERIFY(quitCount > 0);
    }

    void otherSignalsEndLikeQuitter_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGQUIT") << SIGQUIT;
        QTest::newRow("SIGUSR1") << SIGUSR1;
        QTest::newRow("SIGUSR2") << SIGUSR2;
    }

    // A login that started the program and dropped, Ctrl+\ or a script's signal: the program
    // ends the way "Quitter" does, the radio the server keyed is sent back to receive, "Quit" is
    // logged and the configuration saved. A SIGPIPE before it changes nothing.
    void otherSignalsEndLikeQuitter()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString program = dir.filePath("ivrelane");
        QVERIFY(QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program));
        ServerPeer server;
        RigSimProcess rig;
        const QString link = dir.filePath("ttyV0");
        QVERIFY(!rig.start({"--model", "TMD710", "--memories", "5", "--link", link}).isEmpty());
        const QString ini = dir.filePath("Ivrelane.ini");
        TestFiles::writeLines(ini,
                              {"[IvrelaneTMD7x0]", "MODEL=TMD710", "COM=" + link, "NUMBERMEM=5",
                               "WARNING=Y", "CONNECT=1", "CHANNEL=RIGHT", "IPSERVER=127.0.0.1",
                               QStringLiteral("PORT=%1").arg(server.port())});
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QVERIFY(server.waitForClient(30'000));
        const pid_t pid = pid_t(process.processId());

        ::kill(pid, SIGPIPE);
        server.send("TRANSMIT_R\r\n");
        auto received = [&](const char *command) {
            return int(rig.receivedCommands().count(QString::fromLatin1(command)));
        };
        QVERIFY2(QTest::qWaitFor([&] { return received("TX") == 1; }, 10'000),
                 qPrintable(rig.logText()));
        QCOMPARE(process.state(), QProcess::Running);
        const int unkeys = received("RX");

        ::kill(pid, signalNumber);
        QVERIFY(process.waitForFinished(20'000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(received("RX") > unkeys, qPrintable(rig.logText()));
        QVERIFY(TestFiles::readLines(dir.filePath("Ivrelane.log"))
                    .last()
                    .endsWith(QStringLiteral(" Quit")));
        const QStringList saved = TestFiles::readLines(ini);
        QVERIFY(saved.contains(QStringLiteral("NUMBERMEM=5")));
        QVERIFY(saved.contains(QStringLiteral("TXTIMEOUT=300"))); // written by the save
    }

    // Started with SIGHUP ignored (nohup), the program outlives its terminal as asked.
    void sighupIgnoredAtStartStaysIgnored()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath("ivrelane");
        QVERIFY(QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), program));
        ServerPeer server;
        TestFiles::writeLines(dir.filePath("Ivrelane.ini"),
                              {"[IvrelaneTMD7x0]", "MODEL=TX16UD", "WARNING=Y", "CONNECT=1",
                               "IPSERVER=127.0.0.1", QStringLiteral("PORT=%1").arg(server.port())});
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setChildProcessModifier([] { ::signal(SIGHUP, SIG_IGN); });
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QVERIFY(server.waitForClient(30'000));
        ::kill(pid_t(process.processId()), SIGHUP);
        // Two requests answered after the signal: a shut-down it had asked for would have run.
        for (int answers = 1; answers <= 2; ++answers) {
            server.send("FREQUENCY\r\n");
            QCOMPARE(server.waitForLines(answers, 10'000).size(), answers);
        }
        QVERIFY(server.hasClient());
        QCOMPARE(process.state(), QProcess::Running);
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20'000));
        QCOMPARE(process.exitCode(), 0);
        const QStringList logged = TestFiles::readLines(dir.filePath("Ivrelane.log"));
        QCOMPARE(logged.filter(QStringLiteral(" Quit")).size(), 1);
    }

    // An installed copy keeps its files in the user's configuration folder even where it could
    // write its own folder (root under /usr): what an earlier version left beside it moves
    // there, so removing the package leaves no folder behind. A start without XDG_RUNTIME_DIR
    // draws no warning about it.
    void installedCopyKeepsItsFilesInTheConfigurationFolder()
    {
        QTemporaryDir dir;
        const QString programDir = dir.filePath("prefix/lib/ivrelane");
        QVERIFY(QDir().mkpath(programDir));
        QVERIFY(
            QFile::copy(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"), programDir + "/ivrelane"));
        TestFiles::writeLines(programDir + "/Ivrelane.ini", {"[IvrelaneTMD7x0]", "PORT=10977"});
        QVERIFY(QDir().mkpath(dir.filePath("tmp")));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("TMPDIR", dir.filePath("tmp"));
        process.setProcessEnvironment(env);
        process.start(programDir + "/ivrelane", {});
        QVERIFY(process.waitForStarted());
        const QString config = dir.filePath("config/Ivrelane/Ivrelane");
        // Started once "Start" is logged; what follows it depends on the machine (a parallel
        // port or none, a server or none).
        QTRY_VERIFY_WITH_TIMEOUT(!TestFiles::readLines(config + "/Ivrelane.log")
                                      .filter(QStringLiteral(" Start"))
                                      .isEmpty(),
                                 20000);
        ::kill(pid_t(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);

        QCOMPARE(QDir(programDir).entryList(QDir::Files | QDir::Hidden), QStringList{"ivrelane"});
        QVERIFY(TestFiles::readLines(config + "/Ivrelane.ini").contains("PORT=10977"));
        QVERIFY(TestFiles::readLines(config + "/Ivrelane.log").last().endsWith(" Quit"));
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(!errors.contains("XDG_RUNTIME_DIR"), errors.constData());
        QVERIFY2(errors.contains(QFile::encodeName(config)), errors.constData());
    }

    void firstStartWithNoFiles()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        auto s = station(dir, notifier);
        s->windows().Form1->show();
        QTRY_VERIFY(s->state.StartupDone);
        // Start, and nothing else but the note of a machine without parallel port.
        QCOMPARE(s->log.lines().size() - s->log.lines().filter(QStringLiteral(" LPT: ")).size(), 2);
        QVERIFY(s->windows().Form1->ui.MenuTX16UD->isChecked());
        QVERIFY(s->windows().FormWarning->isVisible());
        QCOMPARE(s->windows().Form1->ui.ComboBoxTXMEM->count(), 40);
        QCOMPARE(s->windows().Form1->ui.ComboBoxTXMEM->itemText(39), QStringLiteral("040= []"));
        QCOMPARE(s->windows().Form1->ui.StaticTextIPConnect->text(),
                 QStringLiteral("Serveur non connecté"));
    }

    void startupRunsOnce()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        auto s = station(dir, notifier);
        QSignalSpy finished(s.get(), &Station::startupFinished);
        s->windows().Form1->show();
        QTRY_COMPARE(finished.count(), 1);
        s->windows().Form1->hide();
        s->windows().Form1->show();
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        // Start, and nothing else but the note of a machine without parallel port.
        QCOMPARE(s->log.lines().size() - s->log.lines().filter(QStringLiteral(" LPT: ")).size(), 2);
    }

    void spaceBarNeedsAnAnsweringRig()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        auto s = station(dir, notifier);
        s->FormActivate();
        // The space bar is the transceiver panel's TRANSMIT.
        s->windows().Form1->ui.MenuTMD710->trigger();
        QSignalSpy keyings(&s->kenwood->radio().state(), &RadioState::keyedChanged);
        s->state.RigAnswering = false;
        QTest::keyClick(s->windows().Form1.get(), Qt::Key_Space);
        QCOMPARE(keyings.count(), 0);
        s->state.RigAnswering = true;
        QTest::keyClick(s->windows().Form1.get(), Qt::Key_Space);
        QCOMPARE(keyings.count(), 1);
        QVERIFY(s->kenwood->radio().state().keyed());
        // A radio that stopped answering can still be unkeyed by it.
        s->state.RigAnswering = false;
        QTest::keyClick(s->windows().Form1.get(), Qt::Key_Space);
        QCOMPARE(keyings.count(), 2);
        QVERIFY(!s->kenwood->radio().state().keyed());
    }

    // The close box and "Quitter" run one sequence, and only once.
    void closeBoxIsQuitter()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        auto s = station(dir, notifier);
        int terminations = 0;
        s->terminate = [&] { ++terminations; };
        s->FormActivate();
        s->windows().Form1->close();
        s->windows().Form1->ui.MenuQuitter->trigger();
        QCOMPARE(terminations, 1);
        QCOMPARE(s->log.lines().filter(QStringLiteral(" Quit")).size(), 1);
        QVERIFY(QFile::exists(dir.filePath("Ivrelane.ini")));
    }

    void portMenuShowsAndHidesTheList()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        auto s = station(dir, notifier);
        s->windows().Form1->show();
        QTRY_VERIFY(s->state.StartupDone);
        QListWidget *list = s->windows().Form1->ui.ListBoxPort;
        // The item is disabled for the generic model; its handler is what is under test.
        s->MenuPortClick();
        QVERIFY(list->isVisible());
        s->MenuPortClick();
        QVERIFY(!list->isVisible());
        s->MenuPortClick();
        s->FormClick();
        QVERIFY(!list->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

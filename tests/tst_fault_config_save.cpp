#include "app/ConfigFile.h"
#include "app/Station.h"
#include "platform/ProgramFiles.h"
#include "platform/TextFile.h"
#include "support/RecordingNotifier.h"
#include "support/TestFiles.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

// The configuration save under faults that only a separate process can suffer: killed with
// SIGKILL at each step of the save and at random moments, and saving into a folder that is
// read-only or full (a tmpfs of its own in a private mount namespace). "Ivrelane.ini" must
// always be a complete file, the old one or the new one. The event log on the same folder must
// not be lost either.
//
// The test binary is also the saving process: started with --save-child it runs a station in
// the given folder and saves, once or in a loop.
namespace SaveChild {

constexpr int LoopA = 111;
constexpr int LoopB = 222;

QByteArray configurationBytes(Station &station, int memories)
{
    station.state.NumberOfMemories = memories;
    return TextFile::encodeLines(ConfigFile::build(station.configBinding()));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray base64Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("-");
    return file.readAll().toBase64();
}

// once: save one new configuration (the memory count plus one) and report what is on disk.
// loop: save two configurations in turn until killed.
int run(const QString &directory, const QString &mode, const QString &references)
{
    RecordingNotifier notifier;
    Station station(directory, notifier);
    station.terminate = [] {};
    station.FormActivate();
    const QDir dir(directory);
    if (mode == QLatin1String("loop")) {
        writeFile(QDir(references).filePath(QStringLiteral("a")),
                  configurationBytes(station, LoopA));
        writeFile(QDir(references).filePath(QStringLiteral("b")),
                  configurationBytes(station, LoopB));
        std::fputs("READY\n", stdout);
        std::fflush(stdout);
        for (quint64 i = 0;; ++i) {
            station.state.NumberOfMemories = (i % 2) ? LoopB : LoopA;
            station.MenuSaveClick();
        }
    }
    const int next = station.state.NumberOfMemories + 1;
    writeFile(QDir(references).filePath(QStringLiteral("expected")),
              configurationBytes(station, next));
    station.MenuSaveClick();
    const QByteArray report =
        "messages=" + notifier.messages.join(QLatin1Char('|')).toUtf8().toBase64() + '\n' +
        "ini=" + base64Of(dir.filePath(QStringLiteral("Ivrelane.ini"))) + '\n' +
        "log=" + base64Of(dir.filePath(QStringLiteral("Ivrelane.log"))) + '\n' +
        "tmp=" + (QFile::exists(dir.filePath(QStringLiteral("Ivrelane.~in"))) ? "1" : "0") + '\n';
    std::fputs(report.constData(), stdout);
    return 0;
}

// Starts a station the way the program does, on the folder `locate` chooses for `directory`,
// and reports what the operator would see: the folder, the memory count read, the server
// information line at start, once a DTMF entry there is over, and in English.
int runStation(const QString &directory)
{
    const ProgramFiles::Location location = ProgramFiles::locate(directory);
    RecordingNotifier notifier;
    Station station(location.directory, notifier);
    station.terminate = [] {};
    station.FormActivate();
    QLineEdit *line = station.windows().Form1->ui.StaticTextDTMF;
    const QString atStart = line->text();
    const bool red = line->styleSheet().contains(QLatin1String("rgb(255, 0, 0)"));
    line->setText(QStringLiteral("1230"));
    const bool entryRed = line->styleSheet().contains(QLatin1String("rgb(255, 0, 0)"));
    line->clear();
    QCoreApplication::processEvents();
    const QString afterEntry = line->text();
    station.windows().Form1->ui.menuEnglish->trigger();
    const QString english = line->text();
    station.MenuQuitterClick();
    const QByteArray report =
        "directory=" + location.directory.toUtf8().toBase64() + '\n' +
        "writable=" + (location.writable ? "1" : "0") + '\n' +
        "memories=" + QByteArray::number(station.state.NumberOfMemories) + '\n' +
        "start=" + atStart.toUtf8().toBase64() + '\n' + "red=" + (red ? "1" : "0") + '\n' +
        "entryRed=" + (entryRed ? "1" : "0") + '\n' +
        "afterEntry=" + afterEntry.toUtf8().toBase64() + '\n' +
        "english=" + english.toUtf8().toBase64() + '\n' +
        "messages=" + notifier.messages.join(QLatin1Char('|')).toUtf8().toBase64() + '\n';
    std::fputs(report.constData(), stdout);
    return 0;
}

} // namespace SaveChild

class TestFaultConfigSave : public QObject
{
    Q_OBJECT

    static constexpr int BoundMs = 60'000; // bounds a hung child; never a measurement

    struct Folder
    {
        QTemporaryDir dir;
        QTemporaryDir references;
        QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }
        QByteArray ini() const
        {
            return TestFiles::readBytes(path(QStringLiteral("Ivrelane.ini")));
        }
        QByteArray reference(const QString &name) const
        {
            return TestFiles::readBytes(QDir(references.path()).filePath(name));
        }
        void writeOldFiles()
        {
            TestFiles::writeLines(path(QStringLiteral("Ivrelane.ini")),
                                  {QStringLiteral("[IvrelaneTMD7x0]"),
                                   QStringLiteral("NUMBERMEM=77"), QStringLiteral("WARNING=Y")});
            QFile::setPermissions(path(QStringLiteral("Ivrelane.ini")), QFile::ReadOwner);
        }
        QStringList childArguments(const QString &mode) const
        {
            return {QStringLiteral("--save-child"), dir.path(), mode, references.path()};
        }
    };

    static QHash<QString, QByteArray> parseReport(const QByteArray &output)
    {
        QHash<QString, QByteArray> fields;
        for (const QByteArray &line : output.split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                fields.insert(QString::fromLatin1(line.left(eq)), line.mid(eq + 1));
        }
        return fields;
    }

    static QByteArray runChild(const QString &program, const QStringList &arguments,
                               int *exitCode = nullptr)
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(program, arguments);
        if (!child.waitForFinished(BoundMs))
            child.kill();
        child.waitForFinished(BoundMs);
        if (exitCode)
            *exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
        return child.readAllStandardOutput();
    }

    static bool toolAvailable(const QString &name)
    {
        return !QStandardPaths::findExecutable(name).isEmpty();
    }

private slots:
    void killedAtEachStepOfTheSave_data();
    void killedAtEachStepOfTheSave();
    void killedAtRandomMoments();
    void unwritableFolder_data();
    void unwritableFolder();
    void logThatCannotBeWrittenLosesNothing();
    void readOnlyFolderRunsOnItsConfiguration();
};

void TestFaultConfigSave::killedAtEachStepOfTheSave_data()
{
    QTest::addColumn<QString>("injection");
    QTest::addColumn<bool>("newFileExpected");
    QTest::newRow("new file written, not yet synced") << "fsync:signal=KILL:when=1" << false;
    // The log's "Start" entry is written before the save, with one chmod and one rename of its
    // own (and no fsync): the save's are the second ones.
    QTest::newRow("new file synced, before its permissions") << "chmod:signal=KILL:when=2" << false;
    QTest::newRow("before the rename") << "rename:signal=KILL:when=2" << false;
    QTest::newRow("after the rename, before the folder sync") << "fsync:signal=KILL:when=2" << true;
}

void TestFaultConfigSave::killedAtEachStepOfTheSave()
{
    QFETCH(QString, injection);
    QFETCH(bool, newFileExpected);
    if (!toolAvailable(QStringLiteral("strace")))
        QSKIP("strace is not installed: no way to stop the save at one system call");
    Folder f;
    f.writeOldFiles();
    const QByteArray old = f.ini();
    int exitCode = 0;
    runChild(QStringLiteral("strace"),
             QStringList{QStringLiteral("-f"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                         QStringLiteral("-e"), QStringLiteral("trace=fsync,chmod,rename"),
                         QStringLiteral("-e"), QStringLiteral("inject=") + injection,
                         QCoreApplication::applicationFilePath()} +
                 f.childArguments(QStringLiteral("once")),
             &exitCode);
    QVERIFY2(exitCode != 0, "the child was not stopped by the injected signal");
    const QByteArray expected = f.reference(QStringLiteral("expected"));
    QVERIFY(!expected.isEmpty() && expected != old);
    QCOMPARE(f.ini(), newFileExpected ? expected : old);

    // The next start reads that file, clears any leftover and saves normally.
    const QHash<QString, QByteArray> report =
        parseReport(runChild(QCoreApplication::applicationFilePath(),
                             f.childArguments(QStringLiteral("once")), &exitCode));
    QCOMPARE(exitCode, 0);
    QCOMPARE(QByteArray::fromBase64(report.value(QStringLiteral("messages"))), QByteArray());
    QCOMPARE(f.ini(), f.reference(QStringLiteral("expected")));
    QVERIFY(!QFile::exists(f.path(QStringLiteral("Ivrelane.~in"))));
}

void TestFaultConfigSave::killedAtRandomMoments()
{
    const int kills = qEnvironmentVariableIntValue("IVRELANE_SAVE_KILLS") > 0
                          ? qEnvironmentVariableIntValue("IVRELANE_SAVE_KILLS")
                          : 100;
    const quint32 seed = qEnvironmentVariableIsSet("IVRELANE_SAVE_SEED")
                             ? quint32(qEnvironmentVariableIntValue("IVRELANE_SAVE_SEED"))
                             : 4242u;
    qInfo("%d kills, seed %u", kills, seed);
    QRandomGenerator random(seed);
    Folder f;
    f.writeOldFiles();
    int leftovers = 0;
    int changed = 0;
    for (int k = 0; k < kills; ++k) {
        const QByteArray before = f.ini();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    f.childArguments(QStringLiteral("loop")));
        QVERIFY(child.waitForStarted(BoundMs));
        while (!child.canReadLine() && child.waitForReadyRead(BoundMs)) {
        }
        QCOMPARE(child.readLine(), QByteArray("READY\n"));
        QThread::usleep(random.bounded(20'000u));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(BoundMs));

        const QByteArray after = f.ini();
        const bool complete = after == before || after == f.reference(QStringLiteral("a")) ||
                              after == f.reference(QStringLiteral("b"));
        QVERIFY2(complete,
                 qPrintable(QStringLiteral("kill %1: %2 bytes on disk").arg(k).arg(after.size())));
        changed += after != before;
        leftovers += QFile::exists(f.path(QStringLiteral("Ivrelane.~in")));
    }
    qInfo("%d kills: file replaced %d times, temporary file left %d times, never partial", kills,
          changed, leftovers);
    QVERIFY2(leftovers > 0, "no kill landed inside a save: the test proves nothing");
}

void TestFaultConfigSave::unwritableFolder_data()
{
    QTest::addColumn<QString>("preparation");
    QTest::newRow("read-only folder") << QStringLiteral("mount -o remount,ro \"$1\"");
    QTest::newRow("full folder") << QStringLiteral(
        "cat /dev/zero > \"$1/filler\" 2>/dev/null; true");
}

void TestFaultConfigSave::unwritableFolder()
{
    QFETCH(QString, preparation);
    if (!toolAvailable(QStringLiteral("unshare")) ||
        QProcess::execute(QStringLiteral("unshare"),
                          {QStringLiteral("-rm"), QStringLiteral("true")}) != 0)
        QSKIP("no private mount namespace on this machine: cannot mount a small folder");
    Folder staging;
    staging.writeOldFiles();
    QStringList oldLog{QStringLiteral("Log")};
    for (int i = 0; i < 450; ++i)
        oldLog << QStringLiteral("01/01/2026 10:00:00 Code 12%1 : action 26=TX").arg(i);
    TestFiles::writeLines(staging.path(QStringLiteral("Ivrelane.log")), oldLog);
    const QByteArray oldIni = staging.ini();
    const QByteArray oldLogBytes =
        TestFiles::readBytes(staging.path(QStringLiteral("Ivrelane.log")));

    // The station's folder becomes a 256 KiB tmpfs seen by the child alone.
    QTemporaryDir mountPoint;
    const QString script =
        QStringLiteral("mount -t tmpfs -o size=256k tmpfs \"$1\" && "
                       "cp -p \"$2/Ivrelane.ini\" \"$2/Ivrelane.log\" \"$1/\" && ") +
        preparation + QStringLiteral(" && exec \"$3\" --save-child \"$1\" once \"$4\"");
    int exitCode = 0;
    const QHash<QString, QByteArray> report =
        parseReport(runChild(QStringLiteral("unshare"),
                             {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                              script, QStringLiteral("sh"), mountPoint.path(), staging.dir.path(),
                              QCoreApplication::applicationFilePath(), staging.references.path()},
                             &exitCode));
    QCOMPARE(exitCode, 0);
    QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(report.value(QStringLiteral("messages")))),
             QStringLiteral("error:Erreur création fichier .ini"));
    QCOMPARE(QByteArray::fromBase64(report.value(QStringLiteral("ini"))), oldIni);
    QCOMPARE(report.value(QStringLiteral("tmp")), QByteArray("0"));
    // What was on disk is still there, whole. "Start" is appended only when it fits whole in the
    // room the file already has (a full tmpfs still has the rest of the file's last page): a
    // log never ends in a cut line.
    const QByteArray log = QByteArray::fromBase64(report.value(QStringLiteral("log")));
    QVERIFY(log.startsWith(oldLogBytes));
    const QByteArray added = log.mid(oldLogBytes.size());
    // After "Start", a machine without parallel port may have its note logged, whole too.
    QVERIFY2(added.isEmpty() ||
                 (added.endsWith("\r\n") && added.split('\n').first().endsWith(" Start\r")),
             added.constData());
}

void TestFaultConfigSave::logThatCannotBeWrittenLosesNothing()
{
    QTemporaryDir dir;
    const QString logPath = QDir(dir.path()).filePath(QStringLiteral("Ivrelane.log"));
    // A folder where the log should be: no write can succeed, even for root.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ivrelane.log")));
    RecordingNotifier notifier;
    Station station(dir.path(), notifier);
    station.terminate = [] {};
    station.FormActivate();
    QVERIFY(station.log.lastWriteFailed());
    QVERIFY(!station.log.lines().filter(QRegularExpression(QStringLiteral(" Start$"))).isEmpty());
    station.MenuSaveClick();
    QVERIFY(notifier.messages.isEmpty());
    QVERIFY(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("Ivrelane.ini"))));

    // Once the log can be written again, it holds the entries made while it could not.
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("Ivrelane.log")));
    station.MenuQuitterClick();
    QVERIFY(!station.log.lastWriteFailed());
    QStringList written = TestFiles::readLines(logPath);
    written.removeIf([](const QString &line) { return line.contains(QLatin1String(" LPT: ")); });
    QCOMPARE(written.size(), 3);
    QCOMPARE(written.first(), QStringLiteral("Log"));
    QVERIFY(written[1].endsWith(QLatin1String(" Start")));
    QVERIFY(written[2].endsWith(QLatin1String(" Quit")));
}

// A station's folder that became read-only still holds its configuration: the program runs on
// it, not on defaults from the user's folder, says on standard error and on the server
// information line that settings will not be saved, and writes nothing anywhere.
void TestFaultConfigSave::readOnlyFolderRunsOnItsConfiguration()
{
    if (!toolAvailable(QStringLiteral("unshare")) ||
        QProcess::execute(QStringLiteral("unshare"),
                          {QStringLiteral("-rm"), QStringLiteral("true")}) != 0)
        QSKIP("no private mount namespace on this machine: cannot mount a read-only folder");
    Folder staging;
    TestFiles::writeLines(staging.path(QStringLiteral("Ivrelane.ini")),
                          {QStringLiteral("[IvrelaneTMD7x0]"), QStringLiteral("MODEL=TX16UD"),
                           QStringLiteral("NUMBERMEM=77"), QStringLiteral("WARNING=Y")});
    const QString out = staging.references.path();
    QTemporaryDir mountPoint;
    // The station's folder, with the program and its configuration, is a tmpfs remounted
    // read-only, seen by the children alone; the user's configuration folder is one of ours.
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=512m tmpfs \"$1\" && "
        "cp \"$2/Ivrelane.ini\" \"$5\" \"$1/\" && mount -o remount,ro \"$1\" || exit 9; "
        "export XDG_CONFIG_HOME=\"$4/config\" QT_QPA_PLATFORM=offscreen; "
        "\"$3\" --station-child \"$1\" > \"$4/report\"; "
        "timeout -s TERM 3 \"$1/ivrelane\" 2> \"$4/stderr\"; true");
    int exitCode = 0;
    runChild(QStringLiteral("unshare"),
             {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script,
              QStringLiteral("sh"), mountPoint.path(), staging.dir.path(),
              QCoreApplication::applicationFilePath(), out,
              QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane")},
             &exitCode);
    QCOMPARE(exitCode, 0);

    const QHash<QString, QByteArray> report =
        parseReport(TestFiles::readBytes(QDir(out).filePath(QStringLiteral("report"))));
    auto text = [&](const char *key) {
        return QString::fromUtf8(QByteArray::fromBase64(report.value(QString::fromLatin1(key))));
    };
    QCOMPARE(text("directory"), mountPoint.path());
    QCOMPARE(report.value(QStringLiteral("writable")), QByteArray("0"));
    QCOMPARE(report.value(QStringLiteral("memories")), QByteArray("77"));
    const QString french = QStringLiteral("Réglages non sauvegardés (dossier en lecture seule)");
    QCOMPARE(text("start"), french);
    QCOMPARE(report.value(QStringLiteral("red")), QByteArray("1"));
    // A DTMF entry shows in the line's own colours, and the notice comes back after it.
    QCOMPARE(report.value(QStringLiteral("entryRed")), QByteArray("0"));
    QCOMPARE(text("afterEntry"), french);
    QCOMPARE(text("english"), QStringLiteral("Settings will not be saved (read-only folder)"));
    // Quitting (in English by then) tried the save, which could only fail, and said so.
    QCOMPARE(text("messages"), QStringLiteral("error:Error when creating ini file"));

    const QByteArray errors = TestFiles::readBytes(QDir(out).filePath(QStringLiteral("stderr")));
    QVERIFY2(errors.contains("Ivrelane: " + QFile::encodeName(mountPoint.path()) +
                             " cannot be written: running on the configuration there, settings "
                             "will not be saved\n"),
             errors.constData());
    QVERIFY2(!QFileInfo::exists(QDir(out).filePath(QStringLiteral("config"))),
             "something was written in the user's configuration folder");
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--station-child") == 0)
        return SaveChild::runStation(QString::fromLocal8Bit(argv[2]));
    if (argc == 5 && qstrcmp(argv[1], "--save-child") == 0)
        return SaveChild::run(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                              QString::fromLocal8Bit(argv[4]));
    TestFaultConfigSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fault_config_save.moc"

#include "core/EventLog.h"
#include "core/LocalTime.h"
#include "app/Station.h"
#include "platform/TextFile.h"
#include "support/RecordingNotifier.h"
#include "support/TestFiles.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList numberedLog(int entries)
{
    QStringList lines{QStringLiteral("Log")};
    for (int i = 1; i <= entries; ++i)
        lines << QStringLiteral("entry %1").arg(i);
    return lines;
}
} // namespace

class TestEventLog : public QObject
{
    Q_OBJECT
private slots:
    void appendKeepsHeaderAndNewest()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Ivrelane.log");
        TestFiles::writeLines(file, numberedLog(499));
        EventLog log(file);
        log.load(file);
        log.append(QStringLiteral("Start"));
        QCOMPARE(log.lines().size(), 500);
        log.append(QStringLiteral("Quit"));
        QCOMPARE(log.lines().size(), 500);
        QCOMPARE(log.lines().first(), QStringLiteral("Log"));
        QCOMPARE(log.lines().at(1), QStringLiteral("entry 3"));
        QVERIFY(log.lines().last().endsWith(QStringLiteral(" Quit")));
        // The file got both lines appended, and is cut back to the list at shut-down.
        QCOMPARE(TestFiles::readLines(file).size(), 502);
        QCOMPARE(TestFiles::readLines(file).mid(3), log.lines().mid(1));
        log.compact();
        QCOMPARE(TestFiles::readLines(file), log.lines());
    }

    // Each entry costs a write of its own size at the end of the file, in the log's own encoding
    // and line ends, and is there as soon as append() returns; the file is cut back to the newest
    // MaxLines lines in batches, never beyond MaxFileLines.
    void entriesAreAppendedAndTrimmedInBatches()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Ivrelane.log");
        EventLog log(file);
        log.append(QStringLiteral("Start"));
        QCOMPARE(TestFiles::readLines(file), log.lines());
        QByteArray before = TestFiles::readBytes(file);
        int appended = 0;
        int trims = 0;
        for (int i = 1; i <= 700; ++i) {
            log.append(QStringLiteral("entry %1 réseau").arg(i));
            const QByteArray after = TestFiles::readBytes(file);
            const QByteArray line = TextFile::encodeLines({log.lines().last()});
            QVERIFY(line.endsWith(QByteArray("r\xe9seau\r\n")));
            if (after == before + line) {
                ++appended;
            } else {
                ++trims;
                QCOMPARE(TestFiles::readLines(file), log.lines());
                QCOMPARE(log.lines().size(), EventLog::MaxLines);
            }
            QVERIFY(after.count("\r\n") <= EventLog::MaxFileLines);
            QVERIFY(!QFile::exists(file + QLatin1Char('~')));
            before = after;
        }
        QCOMPARE(trims, 2);
        QCOMPARE(appended, 698);
        QCOMPARE(TestFiles::readLines(file).mid(TestFiles::readLines(file).size() - 499),
                 log.lines().mid(1));
        log.compact();
        QCOMPARE(TestFiles::readLines(file), log.lines());
    }

    // Lines are appended only to a file in the log's own format: one saved as UTF-8 with LF by
    // an editor, or whose last line lost its line end, is rewritten whole by the first entry, so
    // no line is joined to another and the file keeps one encoding. A file removed while the
    // program runs comes back whole with the next entry.
    void foreignOrMissingFileIsWrittenWhole_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("UTF-8, LF") << QByteArray("Log\nentr\xc3\xa9"
                                                 "e 1\nentry 2\n");
        QTest::newRow("last line end missing") << QByteArray("Log\r\nentr\xe9"
                                                             "e 1\r\nentry 2");
        QTest::newRow("own format") << QByteArray("Log\r\nentr\xe9"
                                                  "e 1\r\nentry 2\r\n");
    }

    void foreignOrMissingFileIsWrittenWhole()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString file = dir.filePath("Ivrelane.log");
        TestFiles::writeBytes(file, contents);
        EventLog log(file);
        log.load(file);
        log.append(QStringLiteral("Start"));
        QCOMPARE(log.lines().size(), 4);
        QCOMPARE(log.lines().at(1), QStringLiteral("entrée 1"));
        QCOMPARE(TestFiles::readBytes(file), TextFile::encodeLines(log.lines()));
        QVERIFY(QFile::remove(file));
        log.append(QStringLiteral("Quit"));
        QVERIFY(!log.lastWriteFailed());
        QCOMPARE(TestFiles::readBytes(file), TextFile::encodeLines(log.lines()));
    }

    void oversizedLogIsCutAtTheFirstEntry()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Ivrelane.log");
        TestFiles::writeLines(file, numberedLog(700));
        EventLog log(file);
        log.load(file);
        QCOMPARE(log.lines().size(), 701);
        log.append(QStringLiteral("Start"));
        QCOMPARE(log.lines().size(), 500);
        QCOMPARE(log.lines().first(), QStringLiteral("Log"));
        QCOMPARE(log.lines().at(1), QStringLiteral("entry 203"));
        QCOMPARE(TestFiles::readLines(file), log.lines());
    }

    // An entry is "date time text" in the system's formats; the text is the last field, and no
    // time-zone word stands between the time and the text.
    void entryLayout()
    {
        qputenv("TZ", "UTC");
        QTemporaryDir dir;
        EventLog log(dir.filePath("Ivrelane.log"));
        log.append(QStringLiteral("Code 12 : action 26= TX en émission (Tous)"));
        const QString entry = log.lines().last();
        const QString text = QStringLiteral(" Code 12 : action 26= TX en émission (Tous)");
        QVERIFY(entry.endsWith(text));
        QVERIFY(entry.contains(QString::number(QDate::currentDate().year() % 100)));
        QVERIFY2(!entry.contains(QStringLiteral("UTC")), qPrintable(entry));
        const QString stamp = entry.chopped(text.size());
        QVERIFY2(QRegularExpression(QStringLiteral("\\d:\\d\\d:\\d\\d( ?[AP]M)?$"))
                     .match(stamp)
                     .hasMatch(),
                 qPrintable(stamp));
    }

    void timeFormatWithoutZone_data()
    {
        QTest::addColumn<QString>("longFormat");
        QTest::addColumn<QString>("kept");
        QTest::newRow("zone last") << "HH:mm:ss t"
                                   << "HH:mm:ss";
        QTest::newRow("AM/PM kept") << "h:mm:ss AP t"
                                    << "h:mm:ss AP";
        QTest::newRow("zone first") << "t HH:mm:ss"
                                    << "HH:mm:ss";
        QTest::newRow("AM/PM first") << "AP h:mm:ss t"
                                     << "AP h:mm:ss";
        QTest::newRow("zone in brackets") << "H:mm:ss (t)"
                                          << "H:mm:ss";
        QTest::newRow("quoted text kept") << "HH 'h' mm 'min' ss 's' t"
                                          << "HH 'h' mm 'min' ss 's'";
        QTest::newRow("quoted t kept") << "H'ht' mm t"
                                       << "H'ht' mm";
        QTest::newRow("no zone") << "HH:mm:ss"
                                 << "HH:mm:ss";
    }

    void timeFormatWithoutZone()
    {
        QFETCH(QString, longFormat);
        QFETCH(QString, kept);
        QCOMPARE(LocalTime::withoutTimeZone(longFormat), kept);
    }

    void unwritableLogCostsOnlyTheFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Ivrelane.log");
        QVERIFY(QDir().mkpath(file)); // a folder where the file should be
        EventLog log(file);
        log.append(QStringLiteral("Start"));
        QVERIFY(log.lastWriteFailed());
        QCOMPARE(log.lines().size(), 2);
    }

    void legacyLogOnly()
    {
        QTemporaryDir dir;
        TestFiles::writeLines(dir.filePath("IvrelaneTMD700.log"),
                              {QStringLiteral("Log"), QStringLiteral("old entry")});
        RecordingNotifier notifier;
        Station station(dir.path(), notifier);
        station.deviceDirectory = dir.path();
        station.terminate = nullptr;
        station.FormActivate();
        QCOMPARE(station.log.lines().at(1), QStringLiteral("old entry"));
        QVERIFY(QFile::exists(dir.filePath("Ivrelane.log")));
        station.MenuQuitterClick();
        QVERIFY(!QFile::exists(dir.filePath("IvrelaneTMD700.log")));
        QStringList written = TestFiles::readLines(dir.filePath("Ivrelane.log"));
        // The generic transmitter of a first start says when the machine has no parallel port.
        written.removeIf(
            [](const QString &line) { return line.contains(QLatin1String(" LPT: ")); });
        QCOMPARE(written.size(), 4);
        QVERIFY(written.at(2).endsWith(QStringLiteral(" Start")));
        QVERIFY(written.at(3).endsWith(QStringLiteral(" Quit")));
    }
};

QTEST_MAIN(TestEventLog)
#include "tst_event_log.moc"

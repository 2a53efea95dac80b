#include "app/EventLog.h"
#include "app/LocalTime.h"
#include "app/Station.h"
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
        QCOMPARE(TestFiles::readLines(file), log.lines());
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
        const QStringList written = TestFiles::readLines(dir.filePath("Ivrelane.log"));
        QCOMPARE(written.size(), 4);
        QVERIFY(written.at(2).endsWith(QStringLiteral(" Start")));
        QVERIFY(written.at(3).endsWith(QStringLiteral(" Quit")));
    }
};

QTEST_MAIN(TestEventLog)
#include "tst_event_log.moc"

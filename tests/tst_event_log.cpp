#include "app/EventLog.h"
#include "app/Station.h"
#include "support/RecordingNotifier.h"
#include "support/TestFiles.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QDir>
#include <QFile>
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

    // An entry is "date time text" in the system's formats; the text is the last field.
    void entryLayout()
    {
        QTemporaryDir dir;
        EventLog log(dir.filePath("Ivrelane.log"));
        log.append(QStringLiteral("Code 12 : action 26= TX en émission (Tous)"));
        const QString entry = log.lines().last();
        QVERIFY(entry.endsWith(QStringLiteral(" Code 12 : action 26= TX en émission (Tous)")));
        QVERIFY(entry.contains(QString::number(QDate::currentDate().year() % 100)));
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

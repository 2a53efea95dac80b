#include "app/InterfaceWiring.h"
#include "platform/VersionCheck.h"
#include "platform/VersionCheckFile.h"
#include "support/LoopbackHttpServer.h"
#include "support/StationFixture.h"
#include "ui/UnitTMD700.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestVersionCheck : public QObject
{
    Q_OBJECT

    // A station set to check at start, whose checker asks `server`; start-up has run and the
    // idle-time check is due at the next turn of the event loop.
    static Station &startChecking(StationFixture &fixture, const LoopbackHttpServer &server,
                                  const QStringList &configuration = {"VERSTART=1"})
    {
        fixture.writeConfiguration(configuration);
        Station &station = fixture.start();
        station.interface->versionCheck().site = server.url();
        return station;
    }

private slots:
    void versionValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("2.1.4") << "2.1.4" << 214;
        QTest::newRow("2.1.5") << "2.1.5" << 215;
        QTest::newRow("major only") << "3" << 300;
        QTest::newRow("two-digit minor counts its first digit") << "2.10" << 210;
        QTest::newRow("two dots") << "2..4" << 204;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("leading dot") << ".5" << 50;
        QTest::newRow("trailing dot") << "2." << 200;
        QTest::newRow("fourth component ignored") << "2.1.4.9" << 214;
        QTest::newRow("two-digit major counts its first digit") << "10.2" << 120;
        QTest::newRow("letter first") << "a.1.1" << 0;
        QTest::newRow("letter stops the sum") << "2.x.4" << 200;
        QTest::newRow("blank before the number") << " 2.2.0" << 0;
        QTest::newRow("non-ASCII digit is not a digit") << QString::fromUtf8("٢.1") << 0;
    }
    void versionValue()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(VersionCheckFile::versionValue(text), value);
    }

    void latestVersionFromFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("fileKept");
        QTest::newRow("only line") << QByteArray("ivrelane=2.1.5\r\n") << "2.1.5" << false;
        QTest::newRow("among others")
            << QByteArray("quorvel=1.9.0\r\nivrelane=2.2.0\r\nx=1\r\n") << "2.2.0" << false;
        QTest::newRow("no line end") << QByteArray("ivrelane=2.2.0") << "2.2.0" << false;
        QTest::newRow("LF only") << QByteArray("a=1\nivrelane=3\n") << "3" << false;
        QTest::newRow("first match wins")
            << QByteArray("ivrelane=2.1.4\r\nivrelane=9\r\n") << "2.1.4" << false;
        QTest::newRow("capital first letter") << QByteArray("Ivrelane=2.2.0\r\n") << "" << false;
        QTest::newRow("blank before =") << QByteArray("ivrelane =2.2.0\r\n") << "" << false;
        QTest::newRow("longer key") << QByteArray("ivrelanetmd700=2.2.0\r\n") << "" << false;
        QTest::newRow("no key line") << QByteArray("quorvel=1.9.0\r\n") << "" << false;
        QTest::newRow("web page") << QByteArray("<html>ivrelane=9.9.9</html>") << "" << false;
        QTest::newRow("tag in third byte") << QByteArray("ab<\nivrelane=9.9.9\n") << "" << false;
        QTest::newRow("tag in fourth byte is fine")
            << QByteArray("abc<\nivrelane=2.3\n") << "2.3" << false;
        QTest::newRow("empty file stays") << QByteArray() << "" << true;
    }
    void latestVersionFromFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, version);
        QFETCH(bool, fileKept);
        QTemporaryDir dir;
        const QString path = dir.filePath("versions.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QCOMPARE(VersionCheckFile::latestVersion(path, QStringLiteral("ivrelane")), version);
        QCOMPARE(QFile::exists(path), fileKept);
    }

    void missingFileGivesNothing()
    {
        QTemporaryDir dir;
        QCOMPARE(VersionCheckFile::latestVersion(dir.filePath("versions.txt"), "ivrelane"),
                 QString());
    }

    // The whole check at start-up against a local site: what is published decides the notice.
    void checkAtStart_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<bool>("notice");
        QTest::newRow("same version") << 200 << QByteArray("ivrelane=2.1.4\r\n") << false;
        QTest::newRow("newer") << 200 << QByteArray("quorvel=1.9\r\nivrelane=2.2.0\r\n") << true;
        QTest::newRow("older") << 200 << QByteArray("ivrelane=2.0.9\r\n") << false;
        QTest::newRow("capitalised key") << 200 << QByteArray("Ivrelane=9.9.9\r\n") << false;
        QTest::newRow("blank in key") << 200 << QByteArray("ivrelane =9.9.9\r\n") << false;
        QTest::newRow("error page") << 200 << QByteArray("<html>ivrelane=9.9.9</html>") << false;
        QTest::newRow("not found") << 404 << QByteArray("ivrelane=9.9.9\r\n") << false;
    }
    void checkAtStart()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, published);
        QFETCH(bool, notice);
        LoopbackHttpServer server;
        server.status = status;
        server.body = published;
        StationFixture fixture;
        Station &station = startChecking(fixture, server);
        QSignalSpy done(&station.interface->versionCheck(), &VersionCheck::finished);
        QVERIFY(done.wait(20000));

        QCOMPARE(server.requests.size(), 1);
        const QByteArray request = server.requests.first();
        QVERIFY(request.startsWith("GET /index_fichiers/versions.txt "));
        QVERIFY(request.contains("Cache-Control: no-cache"));
        QCOMPARE(fixture.notifier.beeps, notice ? 1 : 0);
        const QStringList expected =
            notice ? QStringList{QStringLiteral("info:") + station.state.NewVersionMessage}
                   : QStringList();
        QCOMPARE(fixture.notifier.messages, expected);
        QVERIFY(!QFile::exists(fixture.path("versions.txt")));
    }

    void noticeAtMostOncePerRun()
    {
        LoopbackHttpServer server;
        server.body = "ivrelane=3.0.0\r\n";
        StationFixture fixture;
        Station &station = startChecking(fixture, server);
        VersionCheck &check = station.interface->versionCheck();
        QSignalSpy done(&check, &VersionCheck::finished);
        QVERIFY(done.wait(20000));
        // Neither a second idle moment nor a second look-up brings a second box.
        station.interface->ApplicationEvents1Idle();
        QVERIFY(!check.isRunning());
        check.lookUp(QStringLiteral("ivrelane"));
        QVERIFY(done.wait(20000));
        QCOMPARE(done.count(), 2);
        QCOMPARE(done.last().first().toString(), QStringLiteral("3.0.0"));
        QCOMPARE(fixture.notifier.beeps, 1);
        QCOMPARE(fixture.notifier.messages.size(), 1);
        QVERIFY(station.state.NewVersionMessage.startsWith(
            QStringLiteral("Une version plus récente est disponible sur http")));
    }

    void nothingDownloadedWhenUnchecked()
    {
        LoopbackHttpServer server;
        server.body = "ivrelane=9.9.9\r\n";
        StationFixture fixture;
        Station &station = startChecking(fixture, server, {"VERSTART=0"});
        Ui::TForm1 &m = station.windows().Form1->ui;
        QVERIFY(!m.MenuInfoVersion->isChecked());
        QCoreApplication::processEvents(); // the idle moment after start-up
        QVERIFY(!station.interface->versionCheck().isRunning());

        // Checking the item now is for the next start: it is saved, not run.
        m.MenuInfoVersion->trigger();
        QVERIFY(station.state.CheckVersionAtStart);
        station.interface->ApplicationEvents1Idle();
        QVERIFY(!station.interface->versionCheck().isRunning());
        QCoreApplication::processEvents();
        QVERIFY(server.requests.isEmpty());
        m.MenuInfoVersion->trigger();
        QVERIFY(!station.state.CheckVersionAtStart);
    }

    // A site that sends too much, or stops sending, ends in no notice and no file left behind.
    void badDownloadsEndQuietly_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("stall");
        QTest::newRow("too large")
            << QByteArray("ivrelane=9.9.9\r\n") + QByteArray(VersionCheck::MaximumFileSize, 'x')
            << false;
        QTest::newRow("stalled") << QByteArray() << true;
    }
    void badDownloadsEndQuietly()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, stall);
        LoopbackHttpServer server;
        server.body = body;
        server.stall = stall;
        StationFixture fixture;
        Station &station = startChecking(fixture, server);
        VersionCheck &check = station.interface->versionCheck();
        check.transferTimeoutMs = 300;
        QSignalSpy done(&check, &VersionCheck::finished);
        QVERIFY(done.wait(20000));
        QCOMPARE(done.first().first().toString(), QString());
        QVERIFY(fixture.notifier.messages.isEmpty());
        QVERIFY(!QFile::exists(fixture.path("versions.txt")));
    }
};

QTEST_MAIN(TestVersionCheck)
#include "tst_version_check.moc"

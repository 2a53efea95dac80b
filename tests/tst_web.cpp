// The station's web page, served by the program itself (build/ivrelane run on a folder with
// WEB=) and asked over plain HTTP from here: every endpoint, every refusal, the live events
// following the relay server stand-in, the controls reaching rigsim through the request queue
// in order with the server's requests, the settings form saving, and --web-password.
#include "core/ConfigValues.h"
#include "platform/TextFile.h"
#include "web/WebPassword.h"
#include "web/WebSettings.h"

#include "support/HttpClient.h"
#include "support/RigSimProcess.h"
#include "support/ServerPeer.h"
#include "support/StationProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int WaitMs = 10'000;
const QByteArray Password = "right horse battery";

void writeConfiguration(const QString &folder, const QStringList &lines)
{
    QFile file(QDir(folder).filePath(QStringLiteral("Ivrelane.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TextFile::encodeLines(QStringList{QStringLiteral("[IvrelaneTMD7x0]")} + lines));
}

QStringList iniLines(const QString &folder)
{
    QStringList lines;
    TextFile::readLines(QDir(folder).filePath(QStringLiteral("Ivrelane.ini")), &lines);
    return lines;
}

qsizetype indexFrom(const QStringList &commands, const QString &command, qsizetype from)
{
    for (qsizetype i = from; i < commands.size(); ++i) {
        if (commands.at(i) == command)
            return i;
    }
    return -1;
}

} // namespace

class TestWeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void passwordHashAndKeys();
    void pageAndData();
    void refusals_data();
    void refusals();
    void loginPausesAfterWrongPassword();
    void eventsFollowTheServer();
    void controlQueuedInOrderWithTheServer();
    void settingsSavedAndChecked();
    void testKeyingEndsByTheTimeOut();
    void readOnlyWithoutPassword();
    void addressInUseLoggedStationRunsOn();
    void webPasswordCommand();
    void settingsChooseHamlib();

private:
    QByteArray login();

    QTemporaryDir m_dir;
    RigSimProcess m_rig;
    std::unique_ptr<ServerPeer> m_server;
    StationProcess m_station;
    std::unique_ptr<HttpClient> m_http;
    QByteArray m_cookie;
};

void TestWeb::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkdir(QStringLiteral("dev"));
    const QString link = m_dir.filePath(QStringLiteral("dev/ttyV0"));
    QVERIFY(!m_rig.start({"--model", "TMD710", "--control", "--link", link}).isEmpty());
    m_server = std::make_unique<ServerPeer>();
    // A quick hash: the stored iteration count is the one the check uses.
    writeConfiguration(m_dir.path(),
                       {"LANGUAGE=E", "MODEL=TMD710", "COM=" + link, "CONNECT=1", "WARNING=Y",
                        "IPSERVER=127.0.0.1", QStringLiteral("PORT=%1").arg(m_server->port()),
                        "CHANNEL=BOTH", "WEB=127.0.0.1:0",
                        "WEBPASSWORD=" + WebPassword::hash(QString::fromUtf8(Password), 1000)});
    QVERIFY(m_station.start(m_dir.path()));
    QVERIFY(m_server->waitForClient(WaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(!m_station.logLines().filter(" Radio ready: ").isEmpty(), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_station.webPort() != 0, WaitMs);
    m_http = std::make_unique<HttpClient>(m_station.webPort());
}

QByteArray TestWeb::login()
{
    if (!m_cookie.isEmpty())
        return m_cookie;
    HttpClient::Response r;
    // A pause left by a test of wrong passwords ends by itself.
    const bool tried = QTest::qWaitFor(
        [&] {
            r = m_http->request("POST", "/login", m_http->sameOrigin(), "password=" + Password);
            return r.status != 429;
        },
        WaitMs);
    const QByteArray cookie = r.header("Set-Cookie");
    if (!tried || r.status != 200 || !cookie.contains("HttpOnly") ||
        !cookie.contains("SameSite=Strict"))
        qWarning() << "login:" << r.status << cookie;
    m_cookie = cookie.left(cookie.indexOf(';'));
    return m_cookie;
}

void TestWeb::passwordHashAndKeys()
{
    const QString stored = WebPassword::hash(QStringLiteral("s3cret"), 1000);
    QVERIFY(WebPassword::isHash(stored));
    QVERIFY(!stored.contains(QLatin1String("s3cret")));
    QVERIFY(WebPassword::matches(QStringLiteral("s3cret"), stored));
    QVERIFY(!WebPassword::matches(QStringLiteral("s3cret "), stored));
    QVERIFY(!WebPassword::matches(QStringLiteral("s3cret"), QStringLiteral("s3cret")));
    // Salted: the same password never gives the same line twice.
    QVERIFY(WebPassword::hash(QStringLiteral("s3cret"), 1000) != stored);

    WebSettings settings;
    QVERIFY(WebConfigKeys::apply(settings, QStringLiteral("WEB="), QStringLiteral("[::1]:8080")));
    QCOMPARE(settings.address, QStringLiteral("[::1]:8080"));
    // A value that does not fit, or a password typed in plain, is not taken.
    WebConfigKeys::apply(settings, QStringLiteral("WEB="), QStringLiteral("127.0.0.1"));
    WebConfigKeys::apply(settings, QStringLiteral("WEB="), QStringLiteral("127.0.0.1:99999"));
    WebConfigKeys::apply(settings, QStringLiteral("WEBPASSWORD="), QStringLiteral("hunter2"));
    QCOMPARE(settings.address, QStringLiteral("[::1]:8080"));
    QVERIFY(settings.passwordHash.isEmpty());
    QVERIFY(!WebConfigKeys::apply(settings, QStringLiteral("WEBX="), QStringLiteral("1")));
    QCOMPARE(WebConfigKeys::lines(settings), QStringList{QStringLiteral("WEB=[::1]:8080")});
}

void TestWeb::pageAndData()
{
    const HttpClient::Response page = m_http->request("GET", "/");
    QCOMPARE(page.status, 200);
    QVERIFY(page.header("Content-Type").startsWith("text/html"));
    QVERIFY(page.body.contains("<html lang=\"en\">"));
    QVERIFY(page.body.contains("\"controls\":true"));
    QVERIFY(page.body.contains("\"loggedIn\":false"));
    QVERIFY(page.header("Content-Security-Policy").contains("default-src 'self'"));
    for (const QByteArray &file : {QByteArray("/page.js"), QByteArray("/page.css")}) {
        const HttpClient::Response r = m_http->request("GET", file);
        QCOMPARE(r.status, 200);
        QVERIFY2(r.body.size() > 1000, file);
    }

    // The status file's fields, as the station has them now.
    const HttpClient::Response json = m_http->request("GET", "/status.json");
    QCOMPARE(json.status, 200);
    const QJsonObject served = QJsonDocument::fromJson(json.body).object();
    // The file is written at most once a second: it may not have the radio's band yet.
    QTRY_COMPARE_WITH_TIMEOUT(m_station.status().keys(), served.keys(), WaitMs);
    QCOMPARE(served.value("model").toString(), QStringLiteral("TMD710"));
    QCOMPARE(served.value("answers").toBool(), true);
    QCOMPARE(served.value("server").toObject().value("connected").toBool(), true);
    QCOMPARE(served.value("counters").toObject().keys(),
             m_station.status().value("counters").toObject().keys());

    const HttpClient::Response metrics = m_http->request("GET", "/metrics");
    QCOMPARE(metrics.status, 200);
    for (const char *name :
         {"up", "keyed", "radio_answering", "server_connected", "keyings_total",
          "transmit_seconds_total", "transmit_timeouts_total", "radio_faults_total",
          "port_losses_total", "server_reconnections_total"}) {
        const QByteArray metric = QByteArray("ivrelane_") + name;
        QVERIFY2(metrics.body.contains("# HELP " + metric + ' '), name);
        QVERIFY2(metrics.body.contains("# TYPE " + metric + ' '), name);
        QVERIFY2(metrics.body.contains('\n' + metric + ' '), name);
    }
    QVERIFY(metrics.body.contains("\nivrelane_up 1\n"));
    QVERIFY(metrics.body.contains("\nivrelane_radio_answering 1\n"));
    QVERIFY(metrics.body.contains("\nivrelane_server_connected 1\n"));

    // A page connecting gets the state and the last log lines at once.
    HttpClient events(m_http->port());
    QVERIFY(events.openEvents());
    QTRY_VERIFY_WITH_TIMEOUT(events.events().contains("event: log"), WaitMs);
    const QByteArray text = events.events();
    QVERIFY(text.startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(text.contains("Content-Type: text/event-stream"));
    QVERIFY(text.contains("event: state\ndata: {"));
    QVERIFY(text.contains("Radio ready: "));
}

void TestWeb::refusals_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("path");
    // none, same (origin), cookie (same origin, logged in), forged (cookie), foreign (origin),
    // foreign-cookie, endless (logged in, a body announced far larger than it comes)
    QTest::addColumn<QString>("headers");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");

    const QByteArray receive = "action=receive";
    QTest::newRow("unknown path") << QByteArray("GET") << QByteArray("/Ivrelane.ini") << "none"
                                  << QByteArray() << 404;
    QTest::newRow("path out of the page")
        << QByteArray("GET") << QByteArray("/../Ivrelane.ini") << "none" << QByteArray() << 404;
    QTest::newRow("encoded path out")
        << QByteArray("GET") << QByteArray("/%2e%2e/Ivrelane.ini") << "none" << QByteArray() << 404;
    QTest::newRow("POST on data") << QByteArray("POST") << QByteArray("/status.json") << "same"
                                  << QByteArray() << 405;
    QTest::newRow("GET on a control")
        << QByteArray("GET") << QByteArray("/control") << "cookie" << QByteArray() << 405;
    QTest::newRow("PUT on the page")
        << QByteArray("PUT") << QByteArray("/") << "same" << QByteArray() << 405;
    QTest::newRow("no origin") << QByteArray("POST") << QByteArray("/control") << "none" << receive
                               << 403;
    QTest::newRow("foreign origin")
        << QByteArray("POST") << QByteArray("/control") << "foreign" << receive << 403;
    QTest::newRow("foreign origin, logged in")
        << QByteArray("POST") << QByteArray("/control") << "foreign-cookie" << receive << 403;
    QTest::newRow("login from a foreign origin")
        << QByteArray("POST") << QByteArray("/login") << "foreign"
        << QByteArray("password=" + Password) << 403;
    QTest::newRow("no cookie") << QByteArray("POST") << QByteArray("/control") << "same" << receive
                               << 401;
    QTest::newRow("forged cookie")
        << QByteArray("POST") << QByteArray("/control") << "forged" << receive << 401;
    QTest::newRow("settings without cookie")
        << QByteArray("GET") << QByteArray("/settings.json") << "none" << QByteArray() << 401;
    QTest::newRow("body over 4 KB")
        << QByteArray("POST") << QByteArray("/control") << "cookie" << QByteArray(8000, 'a') << 413;
    QTest::newRow("body over 16 KB") << QByteArray("POST") << QByteArray("/control") << "cookie"
                                     << QByteArray(200'000, 'a') << 413;
    // Announced far larger than it comes: answered without waiting for the rest.
    QTest::newRow("body without end") << QByteArray("POST") << QByteArray("/control") << "endless"
                                      << QByteArray(64 * 1024, 'a') << 413;
    QTest::newRow("unknown action") << QByteArray("POST") << QByteArray("/control") << "cookie"
                                    << QByteArray("action=format") << 400;
}

void TestWeb::refusals()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, path);
    QFETCH(QString, headers);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QList<QPair<QByteArray, QByteArray>> sent;
    const QByteArray foreign = "http://evil.example";
    if (headers == QLatin1String("same"))
        sent = m_http->sameOrigin();
    else if (headers == QLatin1String("cookie"))
        sent = m_http->sameOrigin(login());
    else if (headers == QLatin1String("forged"))
        sent = m_http->sameOrigin(QByteArray("ivrelane_session=00112233"));
    else if (headers == QLatin1String("foreign"))
        sent = {{"Origin", foreign}};
    else if (headers == QLatin1String("endless"))
        sent = m_http->sameOrigin(login())
               << qMakePair(QByteArray("Content-Length"), QByteArray("100000000"));
    else if (headers == QLatin1String("foreign-cookie"))
        sent = {{"Origin", foreign}, {"Cookie", login()}};
    const HttpClient::Response r = m_http->request(method, path, sent, body);
    QCOMPARE(r.status, status);
    QVERIFY(!r.body.contains("[IvrelaneTMD7x0]"));
}

void TestWeb::loginPausesAfterWrongPassword()
{
    const auto tryLogin = [this](const QByteArray &password) {
        return m_http->request("POST", "/login", m_http->sameOrigin(), "password=" + password);
    };
    QCOMPARE(tryLogin("wrong").status, 403);
    // Even the right password waits for the pause to end.
    const HttpClient::Response paused = tryLogin(Password);
    QCOMPARE(paused.status, 429);
    QVERIFY(paused.header("Retry-After").toInt() >= 1);
    QVERIFY(paused.header("Set-Cookie").isEmpty());
    m_cookie.clear();
    QVERIFY(!login().isEmpty());
    // A session of its own: the page shows the controls to it.
    const HttpClient::Response page = m_http->request("GET", "/", {{"Cookie", m_cookie}});
    QVERIFY(page.body.contains("\"loggedIn\":true"));
}

void TestWeb::eventsFollowTheServer()
{
    HttpClient page(m_http->port());
    QVERIFY(page.openEvents());
    QTRY_VERIFY_WITH_TIMEOUT(page.events().contains("event: log"), WaitMs);
    const qsizetype start = page.events().size();
    const auto since = [&] { return page.events().mid(start); };
    m_server->send("TRANSMIT_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(since().contains("\"keyed\":true"), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_rig.receivedCommands().contains(QStringLiteral("TX")), WaitMs);
    const qsizetype keyedAt = page.events().size();
    m_server->send("RECEIVE_R\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(page.events().mid(keyedAt).contains("\"keyed\":false"), WaitMs);
    // A new log line reaches the page too.
    QCOMPARE(m_http->request("POST", "/control", m_http->sameOrigin(login()), "action=init").status,
             200);
    QTRY_VERIFY_WITH_TIMEOUT(page.events().mid(keyedAt).contains("event: log"), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(page.events().mid(keyedAt).contains("Radio ready: "), WaitMs);
}

// A click on the page is one more request in the station's queue: made while the server's
// frequency request waits for a slow radio, it goes to the radio after that one and before the
// server's next.
void TestWeb::controlQueuedInOrderWithTheServer()
{
    const QByteArray cookie = login();
    QTRY_VERIFY_WITH_TIMEOUT(
        m_http->request("GET", "/status.json").body.contains("\"answers\": true"), WaitMs);
    const qsizetype before = m_rig.receivedCommands().size();
    const qsizetype answered = m_server->received().count("\r\n");
    m_rig.order("late SC 600");
    m_server->send("FREQUENCY\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(m_rig.receivedCommands().mid(before).contains(QStringLiteral("SC")),
                             WaitMs);
    QCOMPARE(m_http->request("POST", "/control", m_http->sameOrigin(cookie), "action=band&band=B")
                 .status,
             200);
    m_server->send("FREQUENCY\r\n");
    QVERIFY(m_server->waitForLines(int(answered) + 2, WaitMs).size() >= answered + 2);
    const QStringList commands = m_rig.receivedCommands().mid(before);
    const qsizetype firstQuery = indexFrom(commands, QStringLiteral("SC"), 0);
    const qsizetype band = indexFrom(commands, QStringLiteral("BC 1,1"), 0);
    const qsizetype secondQuery = indexFrom(commands, QStringLiteral("SC"), firstQuery + 1);
    QVERIFY2(firstQuery >= 0 && band > firstQuery && secondQuery > band,
             qPrintable(commands.join(QLatin1Char('|'))));
    QTRY_VERIFY_WITH_TIMEOUT(
        m_http->request("GET", "/status.json").body.contains("\"band\": \"B\""), WaitMs);
}

void TestWeb::settingsSavedAndChecked()
{
    const QByteArray cookie = login();
    const HttpClient::Response form =
        m_http->request("GET", "/settings.json", {{"Cookie", cookie}});
    QCOMPARE(form.status, 200);
    const QJsonObject values =
        QJsonDocument::fromJson(form.body).object().value("values").toObject();
    QCOMPARE(values.value("TXTIMEOUT").toString(), QStringLiteral("300"));
    QCOMPARE(values.value("CONNECT").toBool(), true);

    auto post = [&](const QByteArray &json) {
        QList<QPair<QByteArray, QByteArray>> headers = m_http->sameOrigin(cookie);
        headers[1].second = "application/json";
        return m_http->request("POST", "/settings", headers, json);
    };
    // Refused as the server window refuses it: nothing changes, nothing is saved.
    const QStringList before = iniLines(m_dir.path());
    QCOMPARE(post(R"({"IPSERVER":"192.0.2","TXTIMEOUT":"5"})").status, 400);
    QCOMPARE(post(R"({"TXTIMEOUT":"3601"})").status, 400);
    QCOMPARE(post(R"({"model":"FT817"})").status, 400);
    QCOMPARE(post("not json").status, 400);
    QCOMPARE(iniLines(m_dir.path()), before);

    const HttpClient::Response saved = post(R"({"TXTIMEOUT":"1","RECONNECT":true})");
    QCOMPARE(saved.status, 200);
    const QStringList lines = iniLines(m_dir.path());
    QVERIFY2(lines.contains(QStringLiteral("TXTIMEOUT=1")), qPrintable(lines.join('|')));
    QVERIFY(lines.contains(QStringLiteral("RECONNECT=1")));
    // What the save writes keeps the page's own keys.
    QVERIFY(lines.contains(QStringLiteral("WEB=127.0.0.1:0")));
    QCOMPARE(lines.filter(QStringLiteral("WEBPASSWORD=pbkdf2-sha256$")).size(), 1);
}

// The page's test keying keys the radio through the queue, and the transmit time-out (set to
// 1 s by the settings form) ends it as it ends any keying.
void TestWeb::testKeyingEndsByTheTimeOut()
{
    const qsizetype before = m_rig.receivedCommands().size();
    QCOMPARE(
        m_http->request("POST", "/control", m_http->sameOrigin(login()), "action=transmit").status,
        200);
    QTRY_VERIFY_WITH_TIMEOUT(m_rig.receivedCommands().mid(before).contains(QStringLiteral("TX")),
                             WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!m_station.logLines().filter(QStringLiteral(" TX time-out")).isEmpty(),
                             WaitMs);
    const QStringList commands = m_rig.receivedCommands().mid(before);
    QVERIFY(indexFrom(commands, QStringLiteral("RX"), indexFrom(commands, "TX", 0)) > 0);
    QVERIFY(
        m_http->request("GET", "/metrics").body.contains("\nivrelane_transmit_timeouts_total 1\n"));
}

void TestWeb::readOnlyWithoutPassword()
{
    QTemporaryDir dir;
    writeConfiguration(dir.path(), {"LANGUAGE=F", "MODEL=TX16UD", "WARNING=Y", "WEB=127.0.0.1:0"});
    StationProcess station;
    QVERIFY(station.start(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(station.webPort() != 0, WaitMs);
    HttpClient http(station.webPort());
    const HttpClient::Response page = http.request("GET", "/");
    QVERIFY(page.body.contains("<html lang=\"fr\">"));
    QVERIFY(page.body.contains("\"controls\":false"));
    QVERIFY(page.body.contains("ivrelane --web-password --folder"));
    const HttpClient::Response refused =
        http.request("POST", "/login", http.sameOrigin(), "password=");
    QCOMPARE(refused.status, 403);
    QVERIFY(refused.header("Set-Cookie").isEmpty());
    QCOMPARE(http.request("POST", "/control", http.sameOrigin(), "action=transmit").status, 403);
    // The generic transmitter answers nothing: no sample for "answering".
    QVERIFY(!http.request("GET", "/metrics").body.contains("\nivrelane_radio_answering "));
}

void TestWeb::addressInUseLoggedStationRunsOn()
{
    QTemporaryDir dir;
    const QString taken = QStringLiteral("127.0.0.1:%1").arg(m_http->port());
    writeConfiguration(dir.path(), {"MODEL=TX16UD", "WARNING=Y", "WEB=" + taken});
    StationProcess station;
    QVERIFY(station.start(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(
        !station.logLines()
             .filter(QStringLiteral("Web page: cannot listen on ") + taken + QStringLiteral(": "))
             .isEmpty(),
        WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(station.status().value("running").toBool(), WaitMs);
    QVERIFY(station.isRunning());
}

void TestWeb::webPasswordCommand()
{
    QTemporaryDir dir;
    writeConfiguration(dir.path(),
                       {"# kept", "LANGUAGE=E", "WEBPASSWORD=pbkdf2-sha256$1$AA==$AA=="});
    const auto run = [](const QString &folder, const QByteArray &input) {
        QProcess p;
        p.start(QStringLiteral(IVRELANE_BUILD_DIR "/ivrelane"),
                {QStringLiteral("--web-password"), QStringLiteral("--folder"), folder});
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(WaitMs);
        return p.exitCode();
    };
    QCOMPARE(run(dir.path(), "tr0mb0ne\n"), 0);
    const QStringList lines = iniLines(dir.path());
    const QStringList stored = lines.filter(QStringLiteral("WEBPASSWORD="));
    QCOMPARE(stored.size(), 1);
    QVERIFY(!lines.join(QLatin1Char('\n')).contains(QLatin1String("tr0mb0ne")));
    QVERIFY(WebPassword::matches(QStringLiteral("tr0mb0ne"), stored.first().mid(12)));
    QVERIFY(lines.contains(QStringLiteral("# kept")));
    QVERIFY(!(QFileInfo(dir.filePath("Ivrelane.ini")).permissions() & QFile::WriteOwner));

    // No password: nothing changes. A station running in the folder: refused.
    QCOMPARE(run(dir.path(), "\n"), 1);
    const QStringList running = iniLines(m_dir.path());
    QCOMPARE(run(m_dir.path(), "other\n"), 1);
    QCOMPARE(iniLines(dir.path()), lines);
    QCOMPARE(iniLines(m_dir.path()), running);
}

// Last: the station leaves its Kenwood for Hamlib's dummy radio, as the Hamlib window's OK does.
void TestWeb::settingsChooseHamlib()
{
    const QByteArray cookie = login();
    auto post = [&](const QByteArray &json) {
        QList<QPair<QByteArray, QByteArray>> headers = m_http->sameOrigin(cookie);
        headers[1].second = "application/json";
        return m_http->request("POST", "/settings", headers, json);
    };
    const QStringList before = iniLines(m_dir.path());
    QCOMPARE(post(R"({"model":"HAMLIB","HAMLIBMODEL":"abc"})").status, 400);
    QCOMPARE(post(R"({"model":"HAMLIB","HAMLIBMODEL":"1","HAMLIBSPEED":"12345"})").status, 400);
    QCOMPARE(post(R"({"model":"HAMLIB","HAMLIBMODEL":"2","HAMLIBPORT":"no blanks please"})").status,
             400);
    QCOMPARE(iniLines(m_dir.path()), before);
    QCOMPARE(post(R"({"model":"HAMLIB","HAMLIBMODEL":"1"})").status, 200);
    QTRY_VERIFY_WITH_TIMEOUT(
        m_http->request("GET", "/status.json").body.contains("\"model\": \"HAMLIB\""), WaitMs);
    // Saved again once the model in use has changed.
    QTRY_VERIFY_WITH_TIMEOUT(iniLines(m_dir.path()).contains(QStringLiteral("MODEL=HAMLIB")),
                             WaitMs);
    const QStringList lines = iniLines(m_dir.path());
    QVERIFY(lines.contains(QStringLiteral("HAMLIBMODEL=1")));
}

QTEST_GUILESS_MAIN(TestWeb)
#include "tst_web.moc"

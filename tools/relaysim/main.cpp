// relaysim: a stand-in for the relay server, for trying the station by hand and for tests.

#include "Console.h"
#include "RelayServer.h"
#include "ScriptRunner.h"
#include "SignalWatcher.h"
#include "StdinReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

namespace {

constexpr quint16 DefaultPort = 10901;

const char *const Description = R"(Relay server stand-in on 127.0.0.1.

Waits for the station to connect, sends it the lines read from standard input
(or from --script FILE), and prints what happens on standard output:
  LISTENING <port>            ready (the port actually used, also with --port 0)
  CONNECTED <addr:port>       a station connected
  SENT <time> <bytes>         bytes sent, escaped (\r \n \t \\ \xHH)
  RECV <time> <line>          a line from the station, its CR LF removed, escaped
  PARTIAL <time> <bytes>      bytes without a line end left when the station went away
  DISCONNECTED <addr:port>    a station went away
  DONE                        every input line has been played

Input lines are sent with CR LF once a station is connected; lines typed or
scripted before that wait for it. Escapes \r \n \t \0 \\ \xHH are decoded.
Commands:
  pause MS | @pause MS        wait MS milliseconds
  raw TEXT | @raw TEXT        send TEXT without a line end
  @close                      close the connection from this side
  @quit                       end the simulator
Blank lines are skipped.)";

void quitSoon()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("relaysim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (0 picks a free one)."),
                                        QStringLiteral("N"), QString::number(DefaultPort));
    const QCommandLineOption scriptOption(QStringLiteral("script"),
                                          QStringLiteral("Read the lines from FILE, not stdin."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption exitOption(QStringLiteral("exit-after-script"),
                                        QStringLiteral("Exit once every line has been played."));
    parser.addOptions({portOption, scriptOption, exitOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        Console::error(QStringLiteral("bad port: %1").arg(parser.value(portOption)));
        return 2;
    }

    QList<QByteArray> scriptLines;
    const bool fromScript = parser.isSet(scriptOption);
    if (fromScript) {
        QFile script(parser.value(scriptOption));
        if (!script.open(QIODevice::ReadOnly)) {
            Console::error(QStringLiteral("cannot read script %1: %2")
                               .arg(script.fileName(), script.errorString()));
            return 2;
        }
        scriptLines = script.readAll().split('\n');
    }

    SignalWatcher signalWatcher;
    QString error;
    if (!signalWatcher.install(&error)) {
        Console::error(QStringLiteral("cannot watch signals: %1").arg(error));
        return 1;
    }
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, &app, quitSoon);

    RelayServer server;
    if (!server.listen(quint16(port), &error)) {
        Console::error(QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(error));
        return 1;
    }
    Console::print(QStringLiteral("LISTENING %1").arg(server.port()));

    ScriptRunner runner(server);
    QObject::connect(&runner, &ScriptRunner::quitRequested, &app, quitSoon);
    if (parser.isSet(exitOption))
        QObject::connect(&runner, &ScriptRunner::finished, &app, quitSoon);

    StdinReader stdinReader;
    if (fromScript) {
        for (const QByteArray &line : std::as_const(scriptLines))
            runner.addLine(line);
        runner.endOfInput();
    } else {
        QObject::connect(&stdinReader, &StdinReader::lineRead, &runner, &ScriptRunner::addLine);
        QObject::connect(&stdinReader, &StdinReader::finished, &runner, &ScriptRunner::endOfInput);
        stdinReader.start();
    }

    const int result = app.exec();
    server.shutdown();
    return result;
}

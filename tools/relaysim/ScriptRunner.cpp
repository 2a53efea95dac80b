#include "ScriptRunner.h"

#include "Console.h"
#include "RelayServer.h"

namespace {

// Splits "name argument" at the first blank; returns the directive name without any '@'.
bool directive(const QByteArray &line, const char *name, QByteArray *argument)
{
    QByteArray body = line.startsWith('@') ? line.mid(1) : line;
    const QByteArray word(name);
    if (body == word) {
        *argument = QByteArray();
        return true;
    }
    if (!body.startsWith(word + ' '))
        return false;
    *argument = body.mid(word.size() + 1);
    return true;
}

} // namespace

ScriptRunner::ScriptRunner(RelayServer &server, QObject *parent) : QObject(parent), m_server(server)
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &ScriptRunner::runQueue);
    connect(&m_server, &RelayServer::clientConnected, this, &ScriptRunner::runQueue);
}

void ScriptRunner::addLine(QByteArray line)
{
    // Scripts written on another system may end their lines with CR LF.
    while (line.endsWith('\r') || line.endsWith('\n'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return;
    m_queue.enqueue(line);
    runQueue();
}

void ScriptRunner::endOfInput()
{
    m_inputEnded = true;
    runQueue();
}

void ScriptRunner::runQueue()
{
    while (!m_pause.isActive() && !m_queue.isEmpty() && m_server.clientCount() > 0) {
        if (!runLine(m_queue.dequeue()))
            break;
    }
    if (m_inputEnded && m_queue.isEmpty() && !m_pause.isActive() && !m_finished) {
        m_finished = true;
        Console::print(QStringLiteral("DONE"));
        emit finished();
    }
}

bool ScriptRunner::runLine(const QByteArray &line)
{
    QByteArray argument;
    if (directive(line, "pause", &argument)) {
        startPause(argument);
        return !m_pause.isActive();
    }
    if (directive(line, "raw", &argument)) {
        m_server.send(Console::unescape(argument));
        return true;
    }
    if (line == "@close") {
        m_server.closeClients();
        // The rest waits for the next connection.
        return false;
    }
    if (line == "@quit") {
        m_finished = true;
        emit quitRequested();
        return false;
    }
    if (line.startsWith('@')) {
        Console::error(QStringLiteral("unknown command skipped: %1").arg(Console::escape(line)));
        return true;
    }
    m_server.send(Console::unescape(line) + "\r\n");
    return true;
}

void ScriptRunner::startPause(const QByteArray &argument)
{
    bool ok = false;
    const int ms = argument.trimmed().toInt(&ok);
    if (!ok || ms < 0) {
        Console::error(QStringLiteral("bad pause skipped (want milliseconds): %1")
                           .arg(Console::escape(argument)));
        return;
    }
    m_pause.start(ms);
}

#pragma once

#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QTimer>

class RelayServer;

// Plays script lines to the connected station in order. Lines wait in a queue while no station
// is connected, so nothing typed or scripted before the connection is lost.
//
// A line is sent with CR LF after its escapes are decoded; these lines are commands instead:
//   pause MS   or  @pause MS   wait MS milliseconds before the next line
//   raw TEXT   or  @raw TEXT   send TEXT (escapes decoded) without a line end
//   @close                     close the connection from the server side
//   @quit                      end the simulator
// Blank lines are skipped; send a bare line end with "raw \r\n".
class ScriptRunner : public QObject
{
    Q_OBJECT

public:
    explicit ScriptRunner(RelayServer &server, QObject *parent = nullptr);

    void addLine(QByteArray line);

    // No more lines will come; finished() follows once the queue is played out.
    void endOfInput();

signals:
    void finished();
    void quitRequested();

private:
    void runQueue();
    // Returns false when the queue must stop here (a pause started, or the simulator quits).
    bool runLine(const QByteArray &line);
    void startPause(const QByteArray &argument);

    RelayServer &m_server;
    QQueue<QByteArray> m_queue;
    QTimer m_pause;
    bool m_inputEnded = false;
    bool m_finished = false;
};

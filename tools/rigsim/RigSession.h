#pragma once

#include "PtyPort.h"
#include "RigModel.h"
#include "RigOptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QQueue>
#include <QTimer>

// Ties the pty to the radio: each command is answered in order, after the time the line and the
// radio would take, and every exchange is logged.
class RigSession : public QObject
{
    Q_OBJECT

public:
    explicit RigSession(const RigOptions &options, QObject *parent = nullptr);

    // Creates the pty (and the link); on failure `error` says why.
    bool start(QString *error);
    QString ptyPath() const { return m_port.slavePath(); }
    // One order of --control: "send TEXT", "late CMD MS", "silent on|off" or "lost on|off".
    // False when it is not understood.
    bool obey(const QByteArray &order);

private:
    struct Pending
    {
        QByteArray command;
        qint64 dueNs;
    };

    void onCommand(const QByteArray &command);
    void answerDue();
    void scheduleNext();
    void log(char direction, const QByteArray &text);

    RigOptions m_options;
    RigModel m_model;
    PtyPort m_port;
    QFile m_log;
    QQueue<Pending> m_pending;
    QTimer m_replyTimer;
    QElapsedTimer m_clock;
    qint64 m_lastDueNs = 0;
    QHash<QByteArray, int> m_lateReplies; // command -> extra milliseconds, once
    QHash<QByteArray, int> m_spoiltReplies; // command -> how many of its next replies are noisy
    bool m_repliesLost = false;
};

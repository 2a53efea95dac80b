#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// One Hamlib rigctld for a test, on 127.0.0.1 and a free port, with its trace kept so a test can
// see which commands its radio was given; rigctl runs single commands against it the way
// another program sharing the radio would. Ended by SIGKILL when the object goes.
class RigctldProcess
{
public:
    // On `port`, or on a free one.
    explicit RigctldProcess(int port = 0);
    ~RigctldProcess();
    RigctldProcess(const RigctldProcess &) = delete;
    RigctldProcess &operator=(const RigctldProcess &) = delete;

    // Starts rigctld with `arguments` (model, device...) on port(); true once it takes clients.
    bool start(const QStringList &arguments);
    void kill();

    int port() const { return m_port; }
    QString address() const;
    // rigctl's answer to `commands` through this rigctld, trimmed.
    QString ask(const QStringList &commands) const;
    // rigctld's trace so far.
    QString trace();

private:
    QProcess m_process;
    int m_port = 0;
    QString m_trace;
};

#include "support/RigctldProcess.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// Bounds a hung process; never a measurement.
constexpr int WaitMs = 10'000;

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

RigctldProcess::RigctldProcess(int port) : m_port(port > 0 ? port : freePort()) {}

RigctldProcess::~RigctldProcess()
{
    kill();
}

bool RigctldProcess::start(const QStringList &arguments)
{
    m_process.setProgram(QStringLiteral("rigctld"));
    m_process.setArguments(arguments +
                           QStringList{"-T", "127.0.0.1", "-t", QString::number(m_port), "-vvvv"});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    if (!m_process.waitForStarted(WaitMs))
        return false;
    return QTest::qWaitFor(
        [this] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
            return probe.waitForConnected(200);
        },
        WaitMs);
}

void RigctldProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(WaitMs);
    m_trace += QString::fromLatin1(m_process.readAll());
}

QString RigctldProcess::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString RigctldProcess::ask(const QStringList &commands) const
{
    QProcess rigctl;
    rigctl.start(QStringLiteral("rigctl"), QStringList{"-m", "2", "-r", address()} + commands);
    rigctl.waitForFinished(WaitMs);
    return QString::fromLatin1(rigctl.readAllStandardOutput()).trimmed();
}

QString RigctldProcess::trace()
{
    m_trace += QString::fromLatin1(m_process.readAll());
    return m_trace;
}

#include "support/RelaySimProcess.h"

#include "support/ProcessEnd.h"

#include <QTest>

namespace {

// Bounds a hung simulator; never a measurement.
constexpr int GuardMs = 10'000;

} // namespace

RelaySimProcess::RelaySimProcess()
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &RelaySimProcess::collect);
}

RelaySimProcess::~RelaySimProcess()
{
    endProcess(m_process, GuardMs);
}

quint16 RelaySimProcess::start()
{
    m_process.setProgram(QStringLiteral(IVRELANE_BUILD_DIR "/relaysim"));
    m_process.setArguments({QStringLiteral("--port"), QStringLiteral("0")});
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(GuardMs))
        return 0;
    QString listening;
    [[maybe_unused]] const bool ready = QTest::qWaitFor(
        [&] {
            for (const QString &line : std::as_const(m_lines)) {
                if (line.startsWith(QLatin1String("LISTENING "))) {
                    listening = line;
                    return true;
                }
            }
            return false;
        },
        GuardMs);
    m_port = quint16(listening.section(QLatin1Char(' '), 1).toUInt());
    return m_port;
}

void RelaySimProcess::sendLine(const QByteArray &line)
{
    m_process.write(line + '\n');
}

bool RelaySimProcess::waitForStation(int timeoutMs)
{
    return QTest::qWaitFor(
        [this] {
            for (const QString &line : std::as_const(m_lines)) {
                if (line.startsWith(QLatin1String("CONNECTED ")))
                    return true;
            }
            return false;
        },
        timeoutMs);
}

QString RelaySimProcess::waitForReceived(int count, int timeoutMs)
{
    if (!QTest::qWaitFor([&] { return received().size() >= count; }, timeoutMs))
        return QString();
    return received().at(count - 1);
}

QStringList RelaySimProcess::received() const
{
    // "RECV hh:mm:ss.zzz text"
    QStringList texts;
    for (const QString &line : m_lines) {
        if (line.startsWith(QLatin1String("RECV ")))
            texts << line.section(QLatin1Char(' '), 2);
    }
    return texts;
}

void RelaySimProcess::collect()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(end)).trimmed();
        m_partial.remove(0, end + 1);
    }
}

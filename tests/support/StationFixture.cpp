#include "support/StationFixture.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QTest>

namespace {

constexpr qsizetype TrafficKept = 64 * 1024;

} // namespace

StationFixture::StationFixture()
{
    QDir(dir.path()).mkdir(QStringLiteral("dev"));
}

void StationFixture::writeConfiguration(const QStringList &lines)
{
    TestFiles::writeLines(path(QStringLiteral("Ivrelane.ini")),
                          QStringList{QStringLiteral("[IvrelaneTMD7x0]")} + lines);
}

Station &StationFixture::start()
{
    m_station = std::make_unique<Station>(dir.path(), boxes ? *boxes : notifier);
    m_station->deviceDirectory = path(QStringLiteral("dev"));
    m_station->terminate = [this] { ++terminations; };
    m_traffic.clear();
    QObject::connect(&m_station->traffic, &TrafficLine::appended, [this](const QString &text) {
        m_traffic += text;
        if (m_traffic.size() > 2 * TrafficKept)
            m_traffic.remove(0, m_traffic.size() - TrafficKept);
    });
    m_station->FormActivate();
    return *m_station;
}

Station &StationFixture::start(const QStringList &configuration)
{
    writeConfiguration(configuration);
    return start();
}

QString StationFixture::path(const QString &name) const
{
    return QDir(dir.path()).filePath(name);
}

QStringList StationFixture::kenwoodLines(const QString &model) const
{
    return {QStringLiteral("MODEL=") + model, QStringLiteral("COM=") + radioLink()};
}

QStringList StationFixture::serverLines(quint16 port)
{
    return {QStringLiteral("CONNECT=1"), QStringLiteral("IPSERVER=127.0.0.1"),
            QStringLiteral("PORT=%1").arg(port)};
}

bool StationFixture::waitForTraffic(const QString &text, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_traffic.contains(text); }, timeoutMs);
}

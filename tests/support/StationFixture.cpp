#include "support/StationFixture.h"

#include "support/TestFiles.h"

#include <QDir>

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
    m_station->FormActivate();
    return *m_station;
}

QString StationFixture::path(const QString &name) const
{
    return QDir(dir.path()).filePath(name);
}

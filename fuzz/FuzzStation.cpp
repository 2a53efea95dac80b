#include "FuzzStation.h"

#include "app/GenericTxWiring.h"
#include "app/Station.h"
#include "dtmf/DtmfCatalogue.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/GenericTxRadio.h"
#include "platform/MemoryParallelPort.h"
#include "platform/ParallelPortFactory.h"
#include "platform/TextFile.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitTMD700.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>

#include <cstdlib>

namespace {

QApplication &application()
{
    static int argc = 1;
    static char name[] = "ivrelane-fuzz";
    static char *argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

} // namespace

FuzzStation &FuzzStation::instance(const QStringList &configuration)
{
    static FuzzStation fuzzStation(configuration);
    return fuzzStation;
}

FuzzStation::FuzzStation(const QStringList &configuration)
    : m_port(std::make_shared<MemoryParallelPort>(0x378))
{
    application();
    if (!m_dir.isValid())
        std::abort();
    QDir(m_dir.path()).mkdir(QStringLiteral("dev"));
    if (!TextFile::writeLines(path(QStringLiteral("Ivrelane.ini")),
                              QStringList{QString::fromLatin1(ConfigValues::Header)} +
                                  configuration))
        std::abort();
    // The station works from its own folder; libFuzzer's paths stay relative to where it ran.
    const QString workingDirectory = QDir::currentPath();
    ParallelPortFactory::installTestPort(m_port);
    m_station = std::make_unique<Station>(m_dir.path(), m_notifier);
    m_station->deviceDirectory = path(QStringLiteral("dev"));
    m_station->terminate = [] {};
    m_station->FormActivate();
    QDir::setCurrent(workingDirectory);
}

QString FuzzStation::path(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

void FuzzStation::resetLists()
{
    m_station->dtmfCodes.setLines({DtmfCatalogue::DtmfListHeader});
    QStringList channels;
    ChannelList::padWithEmptyEntries(channels, ChannelList::EntryCount);
    m_station->genericTx->radio().state().setMemories(channels);
}

void FuzzStation::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

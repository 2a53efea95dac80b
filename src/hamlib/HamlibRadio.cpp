#include "hamlib/HamlibRadio.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelList.h"

HamlibRadio::HamlibRadio(StationState &station, EventLog &log, QObject *parent)
    : PanelRadio(parent), m_station(station), m_log(log), m_link(std::make_unique<HamlibLink>())
{
    m_operations = std::make_unique<HamlibOperations>(station, state(), log, *m_link);
    attach(*m_operations);
    state().setModelLabel(QStringLiteral("Hamlib "));
    // Only a radio that answered its initialisation is ready, whenever that happens.
    connect(m_operations.get(), &HamlibOperations::radioReady, this, [this] {
        const QString model = m_station.ModelLabel.trimmed();
        m_log.append(m_settings.port.isEmpty()
                         ? QStringLiteral("Radio ready: ") + model
                         : QStringLiteral("Radio ready: %1 on %2").arg(model, m_settings.port));
    });
    connect(m_link.get(), &HamlibLink::opened, this, [this] { setLinkStatus(LinkStatus::Open); });
    connect(m_link.get(), &HamlibLink::failed, this, [this] { setLinkStatus(LinkStatus::Closed); });
}

HamlibRadio::~HamlibRadio()
{
    close();
}

// Two bands, memories and scanning are offered as the panel offers them; the state's
// availability (from Hamlib's description of the radio) decides each request.
Capabilities HamlibRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    caps.scanOnCommand = true;
    return caps;
}

void HamlibRadio::setLinkStatus(LinkStatus status)
{
    m_linkStatus = status;
    emit linkStatusChanged(status);
}

void HamlibRadio::open()
{
    if (!inUse())
        return;
    m_station.setModelLabel(state().modelLabel());
    state().setTitle(QStringLiteral("Hamlib"));
    m_operations->dropPending();
    if (!HamlibModelList::settingsComplete(m_settings)) {
        close();
        setLinkStatus(LinkStatus::None);
        const QString missing = m_settings.model <= 0 ? QStringLiteral("Hamlib: no radio model")
                                                      : QStringLiteral("Hamlib: no port");
        emit settingsMissing(missing);
        m_log.append(missing);
        emit initialisationOver();
        return;
    }
    m_station.setRigAnswering(true);
    state().setPortName(m_settings.port);
    setLinkStatus(LinkStatus::Closed);
    m_link->start(m_settings.model, m_settings.port, m_settings.speed);
    m_operations->initialise([this] { emit initialisationOver(); });
}

void HamlibRadio::initialise()
{
    if (!inUse() || !HamlibModelList::settingsComplete(m_settings))
        return;
    reopen();
}

void HamlibRadio::reopen()
{
    stopTransmitAndScan();
    open();
}

void HamlibRadio::stopTransmitAndScan()
{
    if (state().keyed())
        m_operations->setTransmit(false);
    for (int band : {0, 1}) {
        if (state().band(band).scanning)
            m_operations->setScan(band, false);
    }
}

QCoro::Task<> HamlibRadio::release()
{
    close();
    co_return;
}

void HamlibRadio::close()
{
    if (!m_link->isStarted())
        return;
    // Back to receive even when the radio missed an exchange or the panel is disabled: it must
    // not stay keyed after exit. stop() unkeys a radio whose keying is unknown.
    stopTransmitAndScan();
    m_operations->dropPending();
    m_link->stop();
    // The next model starts from a panel with every control; the band choice decides the rest.
    // Until its own initialisation, nothing on the panel answers: it is disabled, and the
    // Hamlib radio's last status is not shown as the next radio's.
    m_operations->enableAllControls();
    state().setPanelEnabled(false);
    m_station.setRigAnswering(false);
    m_station.setRigStatus(0);
    emit panelLeft();
}

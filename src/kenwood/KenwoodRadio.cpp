#include "kenwood/KenwoodRadio.h"

#include "core/EventLog.h"
#include "core/Notifier.h"
#include "core/StationState.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/MemoryRefresh.h"
#include "kenwood/RigLink.h"
#include "kenwood/RigRecovery.h"
#include "platform/LinkSettings.h"
#include "radio/RadioRequests.h"

#include <QFileInfo>
#include <utility>

using namespace Kenwood;

KenwoodRadio::KenwoodRadio(Context context, QObject *parent)
    : PanelRadio(parent), m_context(std::move(context)), m_openReport(m_context.log)
{
    StationState &station = m_context.station;
    m_link = std::make_unique<RigLink>(station, m_context.port, &m_context.traffic);
    auto model = [this] { return currentModel(); };
    m_operations =
        std::make_unique<KenwoodOperations>(station, state(), *m_link, m_context.traffic, model);
    attach(*m_operations);
    m_initialisation = std::make_unique<KenwoodInitialisation>(
        station, state(), *m_link, *m_operations, m_context.traffic, m_context.notifier, model,
        [this] { return m_context.port.portName; });
    m_initialisation->completed = [this] {
        m_context.log.append(
            QStringLiteral("Radio ready: %1 on %2")
                .arg(m_context.station.ModelLabel.trimmed(), m_context.port.portName));
    };

    m_recovery = std::make_unique<RigRecovery>(
        *m_link, [this] { return mayPollRadio(); },
        [this](const QString &reply) { return idReplyMatches(reply, m_model); });
    connect(m_recovery.get(), &RigRecovery::answersAgain, this, &KenwoodRadio::radioAnswersAgain);
    m_memoryRefresh = std::make_unique<MemoryRefresh>(*m_link, m_context.requests, state());
    connect(m_recovery.get(), &RigRecovery::silenceBegan, this, &KenwoodRadio::radioStopsAnswering);
    for (QTimer *timer : {&m_initialisationDelay, &m_recoveryInit}) {
        timer->setSingleShot(true);
        timer->setInterval(InitialisationDelayMs);
    }
    connect(&m_initialisationDelay, &QTimer::timeout, this, [this] {
        initialiseAfterPause(true);
        emit initialisationSubmitted();
    });
    // After a glitch the memories are those read before: keying comes back sooner.
    connect(&m_recoveryInit, &QTimer::timeout, this, [this] { initialiseAfterPause(false); });
    connect(m_link.get(), &RigLink::portLost, this, &KenwoodRadio::portLost);
    connect(m_link.get(), &RigLink::portBack, this, &KenwoodRadio::portBack);
}

KenwoodRadio::~KenwoodRadio() = default;

std::optional<Model> KenwoodRadio::currentModel() const
{
    if (!inUse())
        return std::nullopt;
    return m_model;
}

void KenwoodRadio::setModel(Model model)
{
    m_model = model;
    state().setTitle(idText(model));
    state().setModelLabel(modelName(model) + QLatin1Char(' '));
}

void KenwoodRadio::modelChosen(const QString &model)
{
    if (const std::optional<Model> chosen = modelFromName(model)) {
        setModel(*chosen);
        m_context.station.setModelLabel(state().modelLabel());
    }
}

Capabilities KenwoodRadio::capabilities() const
{
    Capabilities caps;
    caps.bands = 2;
    caps.vfoMemoryModes = true;
    caps.memories = true;
    caps.powerSteps = 3;
    caps.comMenuPort = true;
    // The TM-D710 and TM-V71 take no scan command.
    caps.scanOnCommand = m_model == Model::TMD700;
    return caps;
}

void KenwoodRadio::setPortStatus(int status)
{
    m_context.station.setPortStatus(status);
    emit portStatusChanged();
}

void KenwoodRadio::open()
{
    if (!inUse())
        return;
    StationState &station = m_context.station;
    const QString &name = m_context.port.portName;
    state().setPortName(name);
    if (name.isEmpty()) {
        m_context.notifier.beep();
        setPortStatus(0);
        m_context.notifier.information(station.statusMessage(StatusMessage::NoPortSelected));
        return;
    }
    if (m_link->open(name)) {
        m_openReport.clear();
        setPortStatus(1);
        state().setPanelEnabled(false);
        m_initialisationDelay.start();
        station.setRigStatus(2);
        state().announceRigStatus();
    } else {
        m_context.notifier.beep();
        setPortStatus(0);
        emit portOpenFailed();
        m_openReport.failed(name, *m_link);
        // An adapter not plugged in yet (a station started before its USB devices): looked
        // for every 2 s and initialised once there, as after a loss.
        if (!QFileInfo::exists(PortOpenReport::devicePath(name)))
            m_link->awaitPort(name);
    }
}

void KenwoodRadio::initialise()
{
    prepareInitialisation();
}

void KenwoodRadio::pressInit()
{
    m_context.requests.submit([this] { return afterInitPress(); });
}

QCoro::Task<> KenwoodRadio::afterInitPress()
{
    initialise();
    co_return;
}

// The initialisation after the pause, or the port reopened first when the radio was silent.
void KenwoodRadio::prepareInitialisation()
{
    // With another kind of radio the same button runs that radio's own initialisation.
    if (!inUse())
        return;
    StationState &station = m_context.station;
    // While the adapter is away the link looks for it by itself and initialises the radio when
    // it is back; closing the link here would end that search.
    if (!m_link->lostPortName().isEmpty()) {
        m_context.notifier.beep();
        emit portAway(m_link->lostPortName());
        return;
    }
    if (!station.RigAnswering) {
        m_link->close();
        if (!m_link->open(m_context.port.portName)) {
            m_context.notifier.beep();
            m_openReport.failed(m_context.port.portName, *m_link);
            setPortStatus(0);
            return;
        }
    }
    preparePanel();
    m_initialisationDelay.start();
}

// The panel waits for the initialisation.
void KenwoodRadio::preparePanel()
{
    StationState &station = m_context.station;
    state().setPanelEnabled(false);
    station.setRigStatus(2);
    state().announceRigStatus();
    m_operations->resetIndicators();
    station.setActiveBand(0);
}

void KenwoodRadio::runInitialisation(bool readMemories)
{
    m_context.requests.submit([this, readMemories] { return initialiseNow(readMemories); });
}

// The pause after opening, INIT or the radio's return is over. A radio left meanwhile is not
// taken for answering: another one is in use.
void KenwoodRadio::initialiseAfterPause(bool readMemories)
{
    if (inUse())
        m_context.station.setRigAnswering(true);
    runInitialisation(readMemories);
}

QCoro::Task<> KenwoodRadio::initialiseNow(bool readMemories)
{
    if (!inUse())
        co_return;
    // The initialisation finds out by itself whether the radio answers.
    m_recovery->stop();
    m_memoryRefresh->stop();
    // After the port came back, keying does not wait for the whole memory list: the list on show
    // serves until it has been read again behind the requests.
    const bool inBackground =
        std::exchange(m_refreshMemories, false) && !state().memories().isEmpty();
    const KenwoodInitialisation::Outcome outcome =
        co_await m_initialisation->ButtoninitClick(readMemories && !inBackground);
    initialisationEnded(outcome);
    if (!inBackground || !inUse())
        co_return;
    if (outcome.kind == KenwoodInitialisation::Outcome::Ready)
        m_memoryRefresh->start(m_model, m_context.station.NumberOfMemories);
    else
        m_refreshMemories = true; // for the initialisation that takes it into service
}

// A radio that failed its initialisation is watched until it can be taken into service: a silent
// one by the link's own missing reply, one of another model (or a garbled model reply) here.
void KenwoodRadio::initialisationEnded(KenwoodInitialisation::Outcome outcome)
{
    using Outcome = KenwoodInitialisation::Outcome;
    if (!inUse() || !m_link->isOpen())
        return;
    switch (outcome.kind) {
    case Outcome::Ready:
        m_healthLogged.clear();
        break;
    case Outcome::NoAnswer:
        m_recovery->watchSilence();
        radioStopsAnswering();
        break;
    case Outcome::WrongModel:
        m_recovery->watchModel();
        if (outcome.found)
            logHealth(QStringLiteral("Radio answers as %1, %2 configured")
                          .arg(idText(*outcome.found), idText(m_model)));
        else
            radioStopsAnswering();
        break;
    case Outcome::NotRun:
        break;
    }
}

void KenwoodRadio::radioStopsAnswering()
{
    logHealth(QStringLiteral("Radio not answering"));
}

void KenwoodRadio::logHealth(const QString &line)
{
    if (m_healthLogged == line)
        return;
    m_healthLogged = line;
    m_context.log.append(line);
}

QCoro::Task<> KenwoodRadio::ensureReceive()
{
    if (!inUse() || !m_link->isOpen())
        co_return;
    // One at a time: RECEIVEs that come faster than a silent radio's deadline must not pile up.
    if (m_context.station.RigAnswering || m_receiveAsked)
        co_return;
    m_receiveAsked = true;
    co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
    m_receiveAsked = false;
}

QCoro::Task<> KenwoodRadio::release()
{
    co_await releaseRadio();
    closePort();
}

// Goes before the exchanges that wait, so that a quit during a long initialisation is over
// within about one reply deadline.
QCoro::Task<> KenwoodRadio::releaseRadio()
{
    if (!m_link->isOpen()) {
        // Nothing reaches a lost port: the radio is unkeyed when the port is back, but the
        // station stops counting it as keyed now, so that its time-out does not fire later on
        // the radio that takes over.
        state().setKeyed(false);
        co_return;
    }
    // Back to receive whatever the program believes: a radio that missed an exchange, or one
    // keyed by a copy that crashed, must not stay keyed after exit.
    if (state().keyed())
        co_await m_operations->setTransmit(false);
    else
        co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
    if (m_context.station.RigAnswering)
        co_await m_link->exchange(QStringLiteral("SC 0"), RigLink::Turn::First);
}

void KenwoodRadio::closePort()
{
    m_openReport.clear();
    m_recovery->stop();
    m_memoryRefresh->stop();
    m_refreshMemories = false;
    m_recoveryInit.stop();
    m_link->close();
}

// Whatever the request queue holds: a radio that answers again must be found out even under a
// steady flow of server messages.
bool KenwoodRadio::mayPollRadio() const
{
    return inUse() && m_link->isOpen() && m_link->lostPortName().isEmpty() &&
           !m_initialisationDelay.isActive() && !m_recoveryInit.isActive();
}

// Initialised as INIT does, half a second later, but the server link is left as it is: the
// operator's Disconnect and the reconnection's own pace belong to the server side. While an
// initialisation is due anyway (INIT, the port just opened) there is nothing more to do.
void KenwoodRadio::radioAnswersAgain()
{
    if (!mayPollRadio())
        return;
    m_healthLogged.clear();
    m_context.log.append(QStringLiteral("Radio answers again"));
    preparePanel();
    m_recoveryInit.start();
}

void KenwoodRadio::portLost(const QString &portName)
{
    // Keyed when the line went: whatever unkeys it meanwhile (RECEIVE, the time-out) cannot
    // reach the radio, so it is unkeyed first thing when the port is back.
    m_unkeyWhenBack = state().keyed();
    m_memoryRefresh->stop();
    m_context.log.append(QStringLiteral("Port %1 lost").arg(portName));
    emit portAway(portName);
}

// The adapter is back: the radio may have been switched off and on meanwhile, so it is
// initialised again, as a press on INIT would.
void KenwoodRadio::portBack(const QString &portName)
{
    m_context.log.append(QStringLiteral("Port %1 back").arg(portName));
    m_openReport.clear();
    // The unkey is over before the initialisation starts, which then owes the radio no other.
    if (std::exchange(m_unkeyWhenBack, false) && !state().keyed()) {
        m_context.requests.submitUnkey([this]() -> QCoro::Task<> {
            co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
        });
    }
    // Not ready until initialised: a TRANSMIT meanwhile waits for that rather than keying a radio
    // the initialisation then sends back to receive.
    state().setPanelEnabled(false);
    m_refreshMemories = true;
    pressInit();
}

void KenwoodRadio::applyBandChoice()
{
    state().setBandSelectable(0, m_context.station.bandAllowed(0));
    state().setBandSelectable(1, m_context.station.bandAllowed(1));
}

#include "app/KenwoodSubsystem.h"

#include "app/KenwoodDialogs.h"
#include "app/Station.h"
#include "core/Notifier.h"
#include "ui/PanelPictures.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitTMD700.h"

#include <QFileInfo>
#include <utility>

using namespace Kenwood;

namespace {

QString portLostText(const QString &portName)
{
    return QStringLiteral("Port %1 lost").arg(portName);
}

} // namespace

KenwoodSubsystem::KenwoodSubsystem(Station &station) : m_station(station), m_openReport(station.log)
{
    // INIT by a DTMF code, as a click on INIT: the window takes the keyboard back after it.
    auto initialiseByCode = [this] {
        SpeedButtonInitClick();
        releaseFocus();
    };
    m_radio = std::make_unique<KenwoodRadio>(
        KenwoodRadio::Steps{[this] { OpenRigPort(); }, initialiseByCode, [this] { return leave(); },
                            [this] { return unkeyRig(); }});
    for (const Model model : Models)
        station.radios.add(modelName(model), m_radio.get(), [this, model] { selectModel(model); });
    RadioState &radioState = m_radio->state();
    m_link = std::make_unique<RigLink>(station.state, station.ComPortTX, &station.traffic);
    auto showRigStatus = [this] {
        StatusLines::showRig(m_station.Form1->ui.labelTMD, m_station.state);
    };
    connect(m_link.get(), &RigLink::silenceNoticed, this, showRigStatus);
    connect(&radioState, &RadioState::rigStatusChanged, this, showRigStatus);
    auto model = [this] { return currentModel(); };
    auto focus = [this] { releaseFocus(); };
    m_operations = std::make_unique<KenwoodOperations>(station.state, radioState, *m_link,
                                                       station.traffic, model, focus);
    m_radio->attach(*m_operations);
    m_initialisation = std::make_unique<KenwoodInitialisation>(
        station.state, radioState, *m_link, *m_operations, station.traffic, station.notifier(),
        model, [this] { return m_station.ComPortTX.portName; }, focus);
    m_initialisation->completed = [this] {
        m_station.log.append(
            QStringLiteral("Radio ready: %1 on %2")
                .arg(m_station.state.ModelLabel.trimmed(), m_station.ComPortTX.portName));
    };

    m_recovery = std::make_unique<RigRecovery>(*m_link, [this] { return mayPollRadio(); });
    connect(m_recovery.get(), &RigRecovery::answersAgain, this,
            &KenwoodSubsystem::radioAnswersAgain);
    m_recoveryInit.setSingleShot(true);
    m_recoveryInit.setInterval(station.Form1->TimerRX.interval());
    connect(&m_recoveryInit, &QTimer::timeout, this, [this] {
        m_station.state.RigAnswering = true;
        ButtoninitClick();
    });

    m_dialogs = std::make_unique<KenwoodDialogs>(station);

    connect(m_link.get(), &RigLink::portLost, this, &KenwoodSubsystem::portLost);
    connect(m_link.get(), &RigLink::portBack, this, &KenwoodSubsystem::portBack);

    wirePanel();
    wireMenus();
}

KenwoodSubsystem::~KenwoodSubsystem() = default;

bool KenwoodSubsystem::inUse() const
{
    return m_station.radios.current() == m_radio.get();
}

std::optional<Model> KenwoodSubsystem::currentModel() const
{
    if (!inUse())
        return std::nullopt;
    return m_radio->model();
}

void KenwoodSubsystem::releaseFocus()
{
    m_station.Form1->releaseFocus();
}

void KenwoodSubsystem::wirePanel()
{
    Ui::TForm1 &ui = m_station.Form1->ui;
    ui.ImageLEDvert->setPixmap(PanelPictures::ledGreen());
    ui.ImageLEDrouge->setPixmap(PanelPictures::ledRed());
    ui.ImageLEDOFF->setPixmap(PanelPictures::ledOff());
    for (QWidget *tmpl : {ui.ImageLEDvert, ui.ImageLEDrouge, ui.ImageLEDOFF})
        tmpl->hide();
    // The hidden buttons hold the two glyphs; the toggle draws its look from its checked state
    // (red while keyed), which the panel paints from the radio's state.
    ui.SpeedButtonTXon->setIcon(QIcon(PanelPictures::transmitOn()));
    ui.SpeedButtonTXoff->setIcon(QIcon(PanelPictures::transmitOff()));
    ui.SpeedButtonTX->setLook(PanelPictures::transmitOff(), PanelPictures::transmitOn(), Qt::red);
    ui.SpeedButtonTX->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_operations->resetIndicators();

    // Each click is a request; the window takes the keyboard back once it is over.
    auto onClick = [this](QToolButton *button, std::function<QCoro::Task<>()> operation) {
        connect(button, &QToolButton::clicked, this, [this, operation] {
            m_station.requests.submit([this, operation] { return afterClick(operation); });
        });
    };
    // The panel is shared with the Hamlib radio: its buttons act on the radio in use when the
    // click's turn comes. The toggles' clicks reach the radio through the panel's view; the
    // window takes the keyboard back after each.
    auto onRadio = [this](QCoro::Task<> (Radio::*operation)(int), int band) {
        return [this, operation, band] {
            Radio *radio = m_station.radios.current();
            return radio ? (radio->*operation)(band) : afterClick({});
        };
    };
    onClick(ui.SpeedButtonTXA, onRadio(&Radio::selectBand, 0));
    onClick(ui.SpeedButtonTXB, onRadio(&Radio::selectBand, 1));
    onClick(ui.SpeedButtonVFOA, onRadio(&Radio::vfoMode, 0));
    onClick(ui.SpeedButtonVFOB, onRadio(&Radio::vfoMode, 1));
    onClick(ui.SpeedButtonMEMA, onRadio(&Radio::memoryMode, 0));
    onClick(ui.SpeedButtonMEMB, onRadio(&Radio::memoryMode, 1));
    for (QToolButton *toggle : std::initializer_list<QToolButton *>{
             ui.SpeedButtonScanA, ui.SpeedButtonScanB, ui.SpeedButtonTX})
        connect(toggle, &QToolButton::clicked, this, &KenwoodSubsystem::releaseFocus);
    connect(ui.SpeedButtonInit, &QToolButton::clicked, this, &KenwoodSubsystem::pressInit);
    connect(ui.Buttoninit, &QPushButton::clicked, this, &KenwoodSubsystem::ButtoninitClick);
    // Choosing a memory sends nothing; the window takes the keyboard back for the space bar.
    connect(ui.ComboBoxMEM, &QComboBox::activated, this, [this] { releaseFocus(); });
}

// INIT pressed on the panel (or a port that came back): a request like the panel's other clicks.
void KenwoodSubsystem::pressInit()
{
    m_station.requests.submit([this] {
        SpeedButtonInitClick();
        return afterClick({});
    });
}

QCoro::Task<> KenwoodSubsystem::afterClick(std::function<QCoro::Task<>()> operation)
{
    if (operation)
        co_await operation();
    releaseFocus();
}

void KenwoodSubsystem::wireMenus()
{
    Ui::TForm1 &ui = m_station.Form1->ui;
    connect(ui.menuTMD700, &QAction::triggered, this, &KenwoodSubsystem::menuTMD700Click);
    connect(ui.MenuTMD710, &QAction::triggered, this, &KenwoodSubsystem::MenuTMD710Click);
    connect(ui.MenuTMV71, &QAction::triggered, this, &KenwoodSubsystem::MenuTMV71Click);
    connect(&m_station, &Station::bandChoiceChanged, this, &KenwoodSubsystem::MenuChoixTXClick);
}

void KenwoodSubsystem::chooseModel(Model model)
{
    m_station.chooseModel(modelName(model));
}

void KenwoodSubsystem::selectModel(Model model)
{
    Ui::TForm1 &ui = m_station.Form1->ui;
    StationState &state = m_station.state;
    QAction *item = model == Model::TMD700   ? ui.menuTMD700
                    : model == Model::TMD710 ? ui.MenuTMD710
                                             : ui.MenuTMV71;
    item->setChecked(true);
    m_radio->setModel(model);
    m_station.radios.select(modelName(model));
    ui.MenuPort->setEnabled(true);
    ui.LabelConnect->clear();
    ui.SpeedButtonScanA->setVisible(model == Model::TMD700);
    ui.SpeedButtonScanB->setVisible(model == Model::TMD700);
    state.ModelLabel = model == Model::TMD700   ? QStringLiteral("TMD700 ")
                       : model == Model::TMD710 ? QStringLiteral("TMD710 ")
                                                : QStringLiteral("TMV71 ");
    ui.GroupBoxTX->setTitle(idText(model));
    m_station.Form1->setWindowTitle(QStringLiteral("Ivrelane") + state.ModelLabel +
                                    QStringLiteral("V") + state.VersionText);
    ui.GroupBoxTX16UD->hide();
    ui.GroupBoxTX->show();
    ui.MenuMEM->setEnabled(true);
    OpenRigPort();
}

void KenwoodSubsystem::OpenRigPort()
{
    if (!inUse())
        return;
    Ui::TForm1 &ui = m_station.Form1->ui;
    StationState &state = m_station.state;
    const QString &name = m_station.ComPortTX.portName;
    m_radio->state().setPortName(name);
    if (name.isEmpty()) {
        m_station.notifier().beep();
        state.PortStatus = 0;
        StatusLines::showPort(ui.LabelConnect, state, name);
        m_station.notifier().information(state.StatusMessages[1]);
        return;
    }
    if (m_link->open(name)) {
        m_openReport.clear();
        state.PortStatus = 1;
        StatusLines::showPort(ui.LabelConnect, state, name);
        m_radio->state().setPanelEnabled(false);
        m_station.Form1->TimerRX.start();
        state.RigStatus = 2;
        StatusLines::showRig(ui.labelTMD, state);
    } else {
        m_station.notifier().beep();
        state.PortStatus = 0;
        StatusLines::showPort(ui.LabelConnect, state, name);
        ui.ListBoxPort->clearSelection();
        ui.ListBoxPort->setCurrentItem(nullptr);
        m_openReport.failed(name, *m_link);
        // An adapter not plugged in yet (a station started before its USB devices): looked
        // for every 2 s and initialised once there, as after a loss.
        if (!QFileInfo::exists(PortOpenReport::devicePath(name)))
            m_link->awaitPort(name);
    }
}

QCoro::Task<> KenwoodSubsystem::unkeyRig()
{
    if (!inUse() || !m_link->isOpen())
        co_return;
    if (!m_station.state.RigAnswering)
        co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
}

// Goes before the exchanges that wait, so that a quit during a long initialisation is over
// within about one reply deadline.
QCoro::Task<> KenwoodSubsystem::releaseRig()
{
    if (!m_link->isOpen()) {
        // Nothing reaches a lost port: the radio is unkeyed when the port is back, but the
        // station stops counting it as keyed now, so that its time-out does not fire later on
        // the radio that takes over.
        m_radio->state().setKeyed(false);
        co_return;
    }
    // Back to receive whatever the program believes: a radio that missed an exchange, or one
    // keyed by a copy that crashed, must not stay keyed after exit.
    if (m_radio->state().keyed())
        co_await m_operations->setTransmit(false);
    else
        co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
    if (m_station.state.RigAnswering)
        co_await m_link->exchange(QStringLiteral("SC 0"), RigLink::Turn::First);
}

// The radio is left in receive and its port closed: no more polling it or looking for its
// adapter, and the port is free for whatever takes over.
QCoro::Task<> KenwoodSubsystem::leave()
{
    co_await releaseRig();
    closeRigPort();
}

bool KenwoodSubsystem::mayPollRadio() const
{
    return inUse() && m_link->isOpen() && m_link->lostPortName().isEmpty() &&
           m_station.requests.isIdle() && !m_station.Form1->TimerRX.isActive() &&
           !m_recoveryInit.isActive();
}

// Initialised as INIT does, half a second later, but the server link is left as it is: the
// operator's Disconnect and the reconnection's own pace belong to the server side.
void KenwoodSubsystem::radioAnswersAgain()
{
    if (!mayPollRadio())
        return;
    m_station.log.append(QStringLiteral("Radio answers again"));
    preparePanelForInitialisation();
    m_recoveryInit.start();
}

void KenwoodSubsystem::portLost(const QString &portName)
{
    // Keyed when the line went: whatever unkeys it meanwhile (RECEIVE, the time-out) cannot
    // reach the radio, so it is unkeyed first thing when the port is back.
    m_unkeyWhenBack = m_radio->state().keyed();
    m_station.log.append(portLostText(portName));
    showPortLost(portName);
}

void KenwoodSubsystem::showPortLost(const QString &portName)
{
    StatusLines::setPortText(m_station.Form1->ui.labelTMD, QStringLiteral("Port "), portName,
                             QStringLiteral(" lost"), StatusLines::Colour::Red);
}

// The adapter is back: the radio may have been switched off and on meanwhile, so it is
// initialised again, as a press on INIT would.
void KenwoodSubsystem::portBack(const QString &portName)
{
    m_station.log.append(QStringLiteral("Port %1 back").arg(portName));
    m_openReport.clear();
    // The unkey is over before the initialisation starts, which then owes the radio no other.
    if (std::exchange(m_unkeyWhenBack, false) && !m_radio->state().keyed()) {
        m_station.requests.submitUnkey([this]() -> QCoro::Task<> {
            co_await m_link->exchange(QStringLiteral("RX"), RigLink::Turn::First);
        });
    }
    pressInit();
}

void KenwoodSubsystem::closeRigPort()
{
    m_openReport.clear();
    m_recovery->stop();
    m_link->close();
}

void KenwoodSubsystem::SpeedButtonInitClick()
{
    // With another kind of radio the same button runs that radio's own initialisation.
    if (!inUse())
        return;
    Ui::TForm1 &ui = m_station.Form1->ui;
    StationState &state = m_station.state;
    // While the adapter is away the link looks for it by itself and initialises the radio when
    // it is back; closing the link here would end that search.
    if (!m_link->lostPortName().isEmpty()) {
        m_station.notifier().beep();
        showPortLost(m_link->lostPortName());
        return;
    }
    if (!state.RigAnswering) {
        m_link->close();
        if (!m_link->open(m_station.ComPortTX.portName)) {
            m_station.notifier().beep();
            m_openReport.failed(m_station.ComPortTX.portName, *m_link);
            state.PortStatus = 0;
            StatusLines::showPort(ui.LabelConnect, state, m_station.ComPortTX.portName);
            return;
        }
    }
    preparePanelForInitialisation();
    m_station.Form1->TimerRX.start();
}

// The panel waits for the initialisation.
void KenwoodSubsystem::preparePanelForInitialisation()
{
    Ui::TForm1 &ui = m_station.Form1->ui;
    StationState &state = m_station.state;
    m_radio->state().setPanelEnabled(false);
    state.RigStatus = 2;
    StatusLines::showRig(ui.labelTMD, state);
    m_operations->resetIndicators();
    state.ActiveBand = 0;
}

void KenwoodSubsystem::ButtoninitClick()
{
    m_station.requests.submit([this] { return initialise(); });
}

QCoro::Task<> KenwoodSubsystem::initialise()
{
    if (!inUse())
        co_return;
    // The initialisation finds out by itself whether the radio answers.
    m_recovery->stop();
    co_await m_initialisation->ButtoninitClick();
}

void KenwoodSubsystem::MenuChoixTXClick()
{
    m_radio->state().setBandSelectable(0, m_station.state.bandAllowed(0));
    m_radio->state().setBandSelectable(1, m_station.state.bandAllowed(1));
}

#include "app/HamlibWiring.h"

#include "app/HamlibSettingsWindow.h"
#include "app/Station.h"
#include "core/Notifier.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibOperations.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibTexts.h"
#include "ui/Captions.h"
#include "ui/StatusLines.h"
#include "ui/UnitHamlib.h"
#include "ui/UnitTMD700.h"

HamlibWiring::HamlibWiring(Station &station)
    : m_station(station), m_form(std::make_unique<TFormHamlib>()),
      m_link(std::make_unique<HamlibLink>())
{
    Ui::TForm1 &ui = station.windows().Form1->ui;
    m_form->setObjectName(QStringLiteral("TFormHamlib"));
    // Opened with its model, at start-up or on the settings window's OK.
    auto initialise = [this] {
        SpeedButtonInitClick();
        m_station.windows().Form1->releaseFocus();
    };
    m_radio = std::make_unique<HamlibRadio>(
        HamlibRadio::Steps{[] {}, initialise, [this] { release(); }, {}});
    station.radios.add(HamlibRadio::ModelName.toString(), m_radio.get(), [this] {
        checkMenuItem();
        selectModel();
    });
    m_operations =
        std::make_unique<HamlibOperations>(station.state, m_radio->state(), station.log, *m_link,
                                           [this] { m_station.windows().Form1->releaseFocus(); });
    connect(&m_radio->state(), &RadioState::rigStatusChanged, this, [this] {
        StatusLines::showRig(m_station.windows().Form1->ui.labelTMD, m_station.state);
    });
    m_radio->attach(*m_operations);
    // Only a radio that answered its initialisation is ready, whenever that happens.
    connect(m_operations.get(), &HamlibOperations::radioReady, this, [this] {
        const QString model = m_station.state.ModelLabel.trimmed();
        m_station.log.append(
            settings.port.isEmpty()
                ? QStringLiteral("Radio ready: ") + model
                : QStringLiteral("Radio ready: %1 on %2").arg(model, settings.port));
    });
    m_window = std::make_unique<HamlibSettingsWindow>(
        *m_form, [this](const QString &text) { m_station.notifier().warning(text); },
        [this] { return m_station.currentLanguage(); },
        [this](const HamlibSettings &chosen) { accept(chosen); });

    connect(ui.MenuHamlib, &QAction::triggered, this, &HamlibWiring::MenuHamlibClick);
    // Another model took over (the selector let the Hamlib radio go first).
    connect(ui.MenuHamlib, &QAction::toggled, this, [this](bool on) {
        if (!on)
            m_station.windows().Form1->ui.MenuHamlib->setCheckable(false);
    });
    // The band choice enables the band buttons; what the radio lacks stays disabled.
    connect(&station, &Station::bandChoiceChanged, this, [this] {
        if (m_radio->inUse())
            m_operations->applyCapabilities();
    });
    connect(ui.SpeedButtonInit, &QAbstractButton::clicked, this,
            &HamlibWiring::SpeedButtonInitClick);
    // The port line follows the link: green once open, red when it fails. After the panel's
    // own handling, so a missing port is said in place of the radio's silence.
    connect(m_link.get(), &HamlibLink::opened, this, [this] { showPort(true); });
    connect(m_link.get(), &HamlibLink::failed, this, [this] {
        showPort(false);
        if (HamlibModelList::portMissing(settings.model, settings.port))
            StatusLines::setColouredText(
                m_station.windows().Form1->ui.labelTMD,
                HamlibTexts::missingPort(m_station.currentLanguage(), settings.port),
                StatusLines::Colour::Red);
    });
}

HamlibWiring::~HamlibWiring()
{
    release();
}

// The item is checkable only while Hamlib is the model: opening the window leaves the model in
// use (and its transmitter) alone until OK.
void HamlibWiring::checkMenuItem()
{
    QAction *item = m_station.windows().Form1->ui.MenuHamlib;
    item->setCheckable(true);
    item->setChecked(true);
}

void HamlibWiring::MenuHamlibClick()
{
    m_form->move(m_station.windows().Form1->pos() + QPoint(60, 40));
    applyCaptions(m_form.get(), m_station.currentLanguage());
    m_window->open(settings, m_station.serialPorts);
}

void HamlibWiring::accept(const HamlibSettings &chosen)
{
    settings = chosen;
    if (m_radio->inUse()) {
        // A new radio or port: the one in use is unkeyed first, the panel with it.
        stopTransmitAndScan();
        selectModel();
        return;
    }
    // The radio in use is unkeyed, its scan stopped and its port closed before Hamlib may open
    // that port.
    m_station.chooseModel(HamlibRadio::ModelName.toString());
}

void HamlibWiring::selectModel()
{
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    StationState &state = m_station.state;
    ui.MenuMEM->setEnabled(true);
    ui.LabelConnect->clear();
    ui.LabelConnect->setToolTip(QString());
    // The traffic line belongs to the Kenwood model's exchanges.
    ui.EditTXdata->clear();
    state.ModelLabel = QStringLiteral("Hamlib ");
    m_radio->state().setTitle(QStringLiteral("Hamlib"));
    ui.GroupBoxTX->setTitle(QStringLiteral("Hamlib"));
    ui.SpeedButtonScanA->setVisible(true);
    ui.SpeedButtonScanB->setVisible(true);
    m_station.windows().Form1->setWindowTitle(QStringLiteral("Ivrelane") + state.ModelLabel +
                                              QStringLiteral("V") + state.VersionText);
    ui.GroupBoxTX16UD->hide();
    ui.GroupBoxTX->show();
    m_station.radios.select(HamlibRadio::ModelName.toString());
    m_operations->dropPending();
    // Without a model or a port Hamlib stays the model, with no radio until the settings
    // window gives what is missing; the server is answered with no frequency.
    if (!HamlibModelList::settingsComplete(settings)) {
        release();
        const QString missing = settings.model <= 0 ? QStringLiteral("Hamlib: no radio model")
                                                    : QStringLiteral("Hamlib: no port");
        StatusLines::setColouredText(ui.labelTMD, missing, StatusLines::Colour::Red);
        m_station.log.append(missing);
        connectServerOnce();
        return;
    }
    state.RigAnswering = true;
    m_radio->state().setPortName(settings.port);
    showPort(false);
    m_link->start(settings.model, settings.port, settings.speed);
    m_operations->initialise([this] { initialised(); });
}

// The radio's port, or the rigctld's address, in the port line at the top left; green while
// the link is open.
void HamlibWiring::showPort(bool open)
{
    const bool rigctld = settings.model == HamlibSettingsWindow::RigctldModelNumber;
    StatusLines::setPortText(m_station.windows().Form1->ui.LabelConnect,
                             rigctld ? QStringLiteral("rigctld ") : QString(), settings.port,
                             QString(),
                             open ? StatusLines::Colour::Green : StatusLines::Colour::Red);
}

void HamlibWiring::initialised()
{
    connectServerOnce();
}

// As with a Kenwood, the server connection at start waits for the radio's initialisation (or
// for the finding that there is no radio to initialise).
void HamlibWiring::connectServerOnce()
{
    if (m_serverConnectDone)
        return;
    m_serverConnectDone = true;
    emit serverMayConnect();
}

void HamlibWiring::SpeedButtonInitClick()
{
    if (!m_radio->inUse() || !HamlibModelList::settingsComplete(settings))
        return;
    stopTransmitAndScan();
    selectModel();
}

void HamlibWiring::stopTransmitAndScan()
{
    const RadioState &state = m_radio->state();
    if (state.keyed())
        m_operations->setTransmit(false);
    for (int band : {0, 1}) {
        if (state.band(band).scanning)
            m_operations->setScan(band, false);
    }
}

void HamlibWiring::release()
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
    m_radio->state().setPanelEnabled(false);
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    StationState &state = m_station.state;
    state.RigAnswering = false;
    state.RigStatus = 0;
    ui.labelTMD->clear();
    emit panelLeft();
}

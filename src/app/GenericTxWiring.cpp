#include "app/GenericTxWiring.h"

#include "app/GenericTxSetupWindow.h"
#include "app/GenericTxWindowSettings.h"
#include "app/Station.h"
#include "core/ConfigValues.h"
#include "core/Notifier.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/ControlLines.h"
#include "generic_tx/GenericTxLinesSetup.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/GenericTxSetup.h"
#include "generic_tx/LinesFactory.h"
#include "generic_tx/LinesWatch.h"
#include "generic_tx/PortDiscovery.h"
#include "platform/ParallelPortFactory.h"
#include "ui/GenericTxGlyphs.h"
#include "ui/RadioPanelView.h"
#include "ui/SevenSegmentDisplay.h"
#include "ui/StatusLines.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

GenericTxWiring::GenericTxWiring(Station &station)
    : m_station(station), m_port(ParallelPortFactory::create())
{
    m_radio = std::make_unique<GenericTxRadio>(
        station.state, [this] { SpeedButtonInitClick(); }, [this] { letLinesGo(); });
    station.radios.add(GenericTxRadio::ModelName.toString(), m_radio.get(),
                       [this] { selectModel(); });
    TForm1 &f = *station.Form1;
    Ui::TForm1 &m = f.ui;
    TFormInitTX16 &dialog = *station.FormInitTX16;
    Ui::TFormInitTX16 &g = dialog.ui;

    GenericTxWindowSettings &settings = *station.tx16Settings;

    m_driver = std::make_unique<ControlLineDriver>(
        station.state, *m_port, station.notifier(), settings,
        ControlLineWidgets{&f.TimerPin14, &f.TimerPin1, &f.TimerPin16, &f.TimerTX16,
                           m.ButtonTestPin17});
    // Kept in the log, so the operator can tell a missing permission from a missing driver.
    m_driver->reportFailure = [this](const QString &reason) {
        m_station.log.append(
            (m_driver->onParallelPort() ? QStringLiteral("LPT: ") : QStringLiteral("Lines: ")) +
            reason);
    };
    m_linesWatch = std::make_unique<LinesWatch>(*m_driver);
    connect(m_linesWatch.get(), &LinesWatch::lost, this,
            [this](const QString &device, const QString &reason) {
                // The reason first, so that the line the operator looks for reads as a lost
                // serial port's does.
                m_station.log.append(QStringLiteral("Lines: ") + reason);
                m_station.log.append(QStringLiteral("Lines %1 lost").arg(device));
                showLines(LinesHealth::Lost, QStringLiteral("Lines %1 lost").arg(device));
            });
    connect(m_linesWatch.get(), &LinesWatch::back, this, [this](const QString &device) {
        m_station.log.append(QStringLiteral("Lines %1 back").arg(device));
        showLines(LinesHealth::Ok, QStringLiteral("Lines %1 OK").arg(device));
    });
    m_stepper = std::make_unique<ChannelStepper>(
        station.state, m_radio->state(), *m_driver, settings,
        ChannelStepperWidgets{m.ButtonReset, g.ButtonSynchroUP, g.ButtonSynchroDown, &f.TimerTX16});
    ChannelStepper *stepper = m_stepper.get();
    connect(g.SpinEditCanalNombre, &QSpinBox::valueChanged, stepper,
            &ChannelStepper::channelCountChanged);
    // The arrows and the channel display show the stepper's selector and count.
    const auto showSelector = [&m, stepper] {
        m.UpDownTX->setMaximum(stepper->selectorMaximum());
        m.UpDownTX->setPosition(stepper->selectorPosition());
    };
    connect(stepper, &ChannelStepper::selectorChanged, this, showSelector);
    showSelector();
    connect(stepper, &ChannelStepper::channelChanged, m.LCD99TX, &SevenSegmentDisplay::setChannel);
    m.LCD99TX->setChannel(station.state.Tx16Channel);
    connect(m.UpDownTX, &UpDownArrows::clicked, this, &GenericTxWiring::UpDownTXClick);
    // The channel list shows the radio's, and a choice in it walks to that channel.
    const auto showChannels = [&m, this] {
        RadioPanelView::showEntries(m.ComboBoxTXMEM, m_radio->state());
    };
    connect(&m_radio->state(), &RadioState::changed, this, showChannels);
    showChannels();
    connect(m.ComboBoxTXMEM, &QComboBox::activated, this,
            [this](int index) { m_radio->goToChannel(index); });
    // The panel's looks; the scan mode's picture follows the option, whoever sets it (the
    // setup window, the configuration, a DTMF code).
    GenericTxGlyphs::dressPanel(m.SpeedButtonTX16SC, m.SpeedButtonTX16TX, m.Imagecercle,
                                m.Imageascenceur);
    const auto showScanMode = [&m](bool circular) {
        GenericTxGlyphs::showScanMode(m.Imagecercle, m.Imageascenceur, circular);
    };
    connect(g.CheckBoxOptiTX16, &QCheckBox::toggled, this, showScanMode);
    showScanMode(settings.circularScan());
    m_linesSetup = std::make_unique<GenericTxLinesSetup>(
        lineSettings, station.notifier(), [&station] { return station.currentLanguage(); },
        settings);
    for (QRadioButton *choice :
         {g.RadioButtonLinesLPT, g.RadioButtonLinesCM108, g.RadioButtonLinesGPIO})
        connect(choice, &QRadioButton::clicked, m_linesSetup.get(),
                &GenericTxLinesSetup::kindChosen);
    m_setupWindow = std::make_unique<GenericTxSetupWindow>(dialog);
    m_setup = std::make_unique<GenericTxSetup>(
        station.state, m_radio->state(), *m_driver, *m_linesSetup, station.notifier(),
        [&station] { return station.currentLanguage(); }, settings, *m_setupWindow,
        GenericTxSetupWidgets{m.Label16, &f.TimerTX16});
    GenericTxSetup *setup = m_setup.get();
    connect(g.RadioButtonH378, &QRadioButton::clicked, setup,
            &GenericTxSetup::RadioButtonH378Click);
    connect(g.RadioButtonH278, &QRadioButton::clicked, setup,
            &GenericTxSetup::RadioButtonH278Click);
    connect(g.RadioButtonH3BC, &QRadioButton::clicked, setup,
            &GenericTxSetup::RadioButtonH3BCClick);
    connect(g.RadioButtonH000, &QRadioButton::clicked, setup,
            &GenericTxSetup::RadioButtonH000Click);
    connect(g.SpinEditCanalNombre, &QSpinBox::valueChanged, setup,
            &GenericTxSetup::SpinEditCanalNombreChange);
    connect(g.SpinEditCanalReset, &QSpinBox::valueChanged, setup,
            &GenericTxSetup::SpinEditCanalResetChange);
    for (QSpinBox *timing : {g.SpinEditTempoTX16, g.SpinEditPin14, g.SpinEditPin1, g.SpinEditPin16})
        connect(timing, &QSpinBox::valueChanged, setup, &GenericTxSetup::SpinEditTempoTX16Change);

    m_radio->attach(*m_stepper);
    m_setup->portConfirmed = [this](quint16 base, bool atRest) { portConfirmed(base, atRest); };
    m_setup->linesConfirmed = [this] { linesConfirmed(); };

    ControlLineDriver *driver = m_driver.get();
    connect(m.ButtonTestPin14, &QPushButton::clicked, driver,
            &ControlLineDriver::ButtonTestPin14Click);
    connect(m.ButtonTestPin1, &QPushButton::clicked, driver,
            &ControlLineDriver::ButtonTestPin1Click);
    connect(m.ButtonTestPin16, &QPushButton::clicked, driver,
            &ControlLineDriver::ButtonTestPin16Click);
    connect(m.ButtonTestPin17, &QPushButton::clicked, driver,
            &ControlLineDriver::ButtonTestPin17Click);
    connect(&f.TimerPin14, &QTimer::timeout, driver, &ControlLineDriver::TimerPin14Timer);
    connect(&f.TimerPin1, &QTimer::timeout, driver, &ControlLineDriver::TimerPin1Timer);
    connect(&f.TimerPin16, &QTimer::timeout, driver, &ControlLineDriver::TimerPin16Timer);

    connect(m.MenuTX16UD, &QAction::triggered, this, &GenericTxWiring::MenuTX16UDClick);
    connect(m.SpeedButtonInit, &QAbstractButton::clicked, this,
            &GenericTxWiring::SpeedButtonInitClick);

    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinMaxButtonsHint);
    dialog.FormShow = [this] { m_setup->FormShow(); };
    connect(g.BitBtnOK, &QPushButton::clicked, m_setup.get(), &GenericTxSetup::BitBtnOKClick);
    // Escape or the window's close box: leave without applying the grid.
    connect(&dialog, &QDialog::rejected, m_setup.get(), &GenericTxSetup::restoreUnconfirmedChoice);
}

GenericTxWiring::~GenericTxWiring() = default;

void GenericTxWiring::releasePort()
{
    m_setup->restoreUnconfirmedChoice();
    m_stepper->releaseTransmitter();
    letLinesGo();
}

void GenericTxWiring::letLinesGo()
{
    m_linesWatch->watch(nullptr);
    m_driver->releasePort();
    m_health = LinesHealth::None;
}

void GenericTxWiring::showLines(LinesHealth health, const QString &text)
{
    m_health = health;
    StatusLines::setColouredText(m_station.Form1->ui.LabelConnect, text,
                                 health == LinesHealth::Ok ? StatusLines::Colour::Green
                                                           : StatusLines::Colour::Red);
}

QString GenericTxWiring::linesKindText() const
{
    return LineConfig::kindText(lineSettings.kind);
}

void GenericTxWiring::MenuTX16UDClick()
{
    m_station.chooseModel(GenericTxRadio::ModelName.toString());
}

void GenericTxWiring::selectModel()
{
    StationState &state = m_station.state;
    Ui::TForm1 &m = m_station.Form1->ui;
    GenericTxWindowSettings &settings = *m_station.tx16Settings;

    m.MenuTX16UD->setChecked(true);
    state.ModelLabel = m_radio->state().modelLabel();
    m.labelTMD->clear();

    // The spin edit keeps the base channel within the channel count; the kept value counts.
    settings.setBaseChannel(state.Tx16BaseChannel);
    state.Tx16BaseChannel = settings.baseChannel();
    m_station.Form1->TimerTX16.setInterval(state.Tx16Tempo);
    settings.setPeriod(state.Tx16Tempo);

    // The lines are brought to rest before RESET, so the RESET pulse runs its full length
    // instead of being cut short by the rest-level write.
    activatePort();
    m_stepper->ButtonResetClick();
}

void GenericTxWiring::activatePort()
{
    if (lineSettings.kind != LinesKind::ParallelPort) {
        m_radio->state().setPortName(lineSettings.device);
        activateLines();
        return;
    }
    const quint16 base = quint16(m_station.state.LptBase);
    // Most machines have no parallel port any more: the log says so, and where it looked.
    PortDiscovery::AddressTexts found = PortDiscovery::initialTexts();
    PortDiscovery::discoverFromDriver(*m_port, found);
    if (PortDiscovery::noneFound(found))
        m_station.log.append(QStringLiteral("LPT: No parallel port found (the kernel lists its "
                                            "ports in /proc/sys/dev/parport)"));
    m_radio->state().setPortName(
        base == 0 ? QString() : QStringLiteral("LPT %1h").arg(ConfigValues::hexAddress(base)));
    if (base == 0) {
        showLines(LinesHealth::None, QStringLiteral("No LPT => INIT"));
        return;
    }
    m_driver->enablePort();
    if (!m_driver->writeIdle(TxLine::Up)) {
        m_station.notifier().beep();
        showLines(LinesHealth::Error, QStringLiteral("LPT error"));
        return;
    }
    showLines(LinesHealth::Ok, PortDiscovery::portOkText(base));
    for (TxLine line : {TxLine::Down, TxLine::Reset, TxLine::Ptt}) {
        if (!m_driver->writeIdle(line)) {
            m_station.notifier().beep();
            return;
        }
    }
    logReady(base);
}

void GenericTxWiring::activateLines()
{
    // Lines in use before (other lines chosen in the dialog) are left at rest.
    letLinesGo();
    m_driver->useLines(nullptr);
    m_lines = LinesFactory::create(lineSettings, m_station.tx16Settings->squelchPolarity());
    // Nothing is driven without a device: not even the parallel port, which is not in use.
    m_driver->useLines(m_lines.get());
    if (!m_lines->present()) {
        m_station.log.append(QStringLiteral("Lines: no device or pin map chosen (INIT)"));
        showLines(LinesHealth::None, QStringLiteral("No lines => INIT"));
        return;
    }
    if (const std::optional<LineMap> map =
            LineConfig::parseMap(lineSettings.kind, lineSettings.map);
        map && LineConfig::squelchReportsPressesOnly(lineSettings.kind, *map))
        m_station.log.append(QStringLiteral("Lines: the mute inputs report a press only once "
                                            "released, not a squelch level: use VOLDN or VOLUP"));
    m_linesWatch->watch(m_lines.get());
    if (!m_driver->openLines()) {
        m_station.notifier().beep();
        m_station.log.append(QStringLiteral("Lines: ") + m_lines->failure());
        showLines(LinesHealth::Error, QStringLiteral("Lines %1 error").arg(m_lines->deviceName()));
        // Not plugged in yet, or not given to this user yet: it is looked for as a lost one.
        m_linesWatch->keepLooking();
        return;
    }
    showLines(LinesHealth::Ok, QStringLiteral("Lines %1 OK").arg(m_lines->deviceName()));
    logReady(m_lines->deviceName());
}

void GenericTxWiring::linesConfirmed()
{
    if (!m_radio->inUse()) {
        // Used from the next activation of the model on.
        return;
    }
    if (lineSettings.kind != LinesKind::ParallelPort) {
        m_radio->state().setPortName(lineSettings.device);
        activateLines();
        return;
    }
    // The device's outputs rest before the parallel port takes over.
    letLinesGo();
    m_driver->useLines(nullptr);
    m_lines.reset();
}

void GenericTxWiring::portConfirmed(quint16 base, bool atRest)
{
    if (!atRest) {
        showLines(LinesHealth::Error, QStringLiteral("LPT error"));
        return;
    }
    showLines(LinesHealth::Ok, PortDiscovery::portOkText(base));
    logReady(base);
}

void GenericTxWiring::logReady(const QString &device)
{
    m_station.log.append(QStringLiteral("Radio ready: %1 on %2 (%3)")
                             .arg(GenericTxRadio::ModelName.toString(), device,
                                  LineConfig::kindText(lineSettings.kind)));
}

void GenericTxWiring::logReady(quint16 base)
{
    PortDiscovery::AddressTexts found = PortDiscovery::initialTexts();
    PortDiscovery::discoverFromDriver(*m_port, found);
    m_station.log.append(QStringLiteral("Radio ready: %1 on %2")
                             .arg(GenericTxRadio::ModelName.toString(),
                                  PortDiscovery::portDescription(found, base)));
}

void GenericTxWiring::SpeedButtonInitClick()
{
    if (!m_radio->inUse())
        return;
    TFormInitTX16 &dialog = *m_station.FormInitTX16;
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void GenericTxWiring::UpDownTXClick(UpDownArrows::Direction direction)
{
    m_radio->step(direction == UpDownArrows::Direction::Up);
}

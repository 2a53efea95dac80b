#include "app/GenericTxWiring.h"

#include "core/StationState.h"
#include "generic_tx/ChannelStepper.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLinesSetup.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/GenericTxSetup.h"
#include "platform/ParallelPortFactory.h"
#include "radio/RadioSelector.h"
#include "ui/GenericTxGlyphs.h"
#include "ui/GenericTxSetupWindow.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/RadioPanelView.h"
#include "ui/SevenSegmentDisplay.h"
#include "ui/StationWindows.h"
#include "ui/StatusLines.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

GenericTxWiring::GenericTxWiring(const RadioWiringParts &parts, GenericTxWindowSettings &settings)
    : m_parts(parts), m_settings(settings),
      m_radio(std::make_unique<GenericTxRadio>(parts.state, parts.log, parts.notifier, settings,
                                               ParallelPortFactory::create())),
      lineSettings(m_radio->lines().settings)
{
    parts.radios.add(GenericTxRadio::ModelName.toString(), m_radio.get(),
                     [this] { selectModel(); });
    connect(m_radio.get(), &GenericTxRadio::setupAsked, this,
            &GenericTxWiring::SpeedButtonInitClick);
    wireViews();
    wireSetup();
    Ui::TForm1 &m = m_parts.windows.Form1->ui;
    connect(m.MenuTX16UD, &QAction::triggered, this, &GenericTxWiring::MenuTX16UDClick);
    connect(m.SpeedButtonInit, &QAbstractButton::clicked, this,
            &GenericTxWiring::SpeedButtonInitClick);
}

GenericTxWiring::~GenericTxWiring() = default;

void GenericTxWiring::wireViews()
{
    Ui::TForm1 &m = m_parts.windows.Form1->ui;
    Ui::TFormInitTX16 &g = m_parts.windows.FormInitTX16->ui;
    ChannelStepper *stepper = &m_radio->stepper();
    ControlLineDriver *driver = &m_radio->driver();

    connect(&m_radio->lines(), &GenericTxLines::healthChanged, this,
            [&m](LinesHealth health, const QString &text) {
                StatusLines::setColouredText(m.LabelConnect, text,
                                             health == LinesHealth::Ok ? StatusLines::Colour::Green
                                                                       : StatusLines::Colour::Red);
            });
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
    m.LCD99TX->setChannel(m_parts.state.Tx16Channel);
    connect(m.UpDownTX, &UpDownArrows::clicked, this, &GenericTxWiring::UpDownTXClick);
    connect(m.ButtonReset, &QAbstractButton::clicked, stepper, &ChannelStepper::reset);
    connect(g.ButtonSynchroUP, &QAbstractButton::clicked, stepper,
            [stepper] { stepper->resynchronise(true); });
    connect(g.ButtonSynchroDown, &QAbstractButton::clicked, stepper,
            [stepper] { stepper->resynchronise(false); });
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
    showScanMode(m_settings.circularScan());

    // The hidden test buttons: a pulse on each pulsed line, and the PTT line's toggle, which
    // shows whether the line is meant to be keyed.
    for (const auto &[button, line] :
         {std::pair{m.ButtonTestPin14, TxLine::Up}, std::pair{m.ButtonTestPin1, TxLine::Down},
          std::pair{m.ButtonTestPin16, TxLine::Reset}})
        connect(button, &QAbstractButton::clicked, driver, [driver, line] { driver->pulse(line); });
    m.ButtonTestPin17->setCheckable(true);
    connect(m.ButtonTestPin17, &QAbstractButton::clicked, driver, &ControlLineDriver::togglePtt);
    connect(driver, &ControlLineDriver::pttNoted, m.ButtonTestPin17, &QAbstractButton::setChecked);
}

void GenericTxWiring::wireSetup()
{
    const RadioWiringParts &parts = m_parts;
    Ui::TForm1 &m = parts.windows.Form1->ui;
    TFormInitTX16 &dialog = *parts.windows.FormInitTX16;
    Ui::TFormInitTX16 &g = dialog.ui;
    GenericTxWindowSettings &settings = m_settings;
    const StationState &state = parts.state;
    const auto language = [&state] { return state.language; };

    m_linesSetup =
        std::make_unique<GenericTxLinesSetup>(lineSettings, parts.notifier, language, settings);
    for (QRadioButton *choice :
         {g.RadioButtonLinesLPT, g.RadioButtonLinesCM108, g.RadioButtonLinesGPIO})
        connect(choice, &QRadioButton::clicked, m_linesSetup.get(),
                &GenericTxLinesSetup::kindChosen);
    m_setupWindow = std::make_unique<GenericTxSetupWindow>(dialog);
    m_setup = std::make_unique<GenericTxSetup>(parts.state, m_radio->state(), m_radio->driver(),
                                               *m_linesSetup, parts.notifier, language, settings,
                                               *m_setupWindow);
    GenericTxSetup *setup = m_setup.get();
    connect(setup, &GenericTxSetup::channelCountChanged, m.Label16,
            [label = m.Label16](int count) { label->setText(QString::number(count)); });
    connect(setup, &GenericTxSetup::periodChanged, &m_radio->stepper(), &ChannelStepper::setPeriod);
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

    GenericTxLines *lines = &m_radio->lines();
    m_setup->portConfirmed = [lines](quint16 base, bool atRest) {
        lines->portConfirmed(base, atRest);
    };
    m_setup->linesConfirmed = [this] { m_radio->linesChanged(); };

    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinMaxButtonsHint);
    dialog.FormShow = [setup] { setup->FormShow(); };
    connect(g.BitBtnOK, &QPushButton::clicked, setup, &GenericTxSetup::BitBtnOKClick);
    // Escape or the window's close box: leave without applying the grid.
    connect(&dialog, &QDialog::rejected, setup, &GenericTxSetup::restoreUnconfirmedChoice);
}

void GenericTxWiring::releasePort()
{
    m_setup->restoreUnconfirmedChoice();
    m_radio->letGo();
}

GenericTxWiring::LinesHealth GenericTxWiring::linesHealth() const
{
    return m_radio->lines().health();
}

QString GenericTxWiring::linesKindText() const
{
    return m_radio->lines().kindText();
}

ControlLineDriver &GenericTxWiring::driver()
{
    return m_radio->driver();
}

ChannelStepper &GenericTxWiring::stepper()
{
    return m_radio->stepper();
}

ParallelPort &GenericTxWiring::port()
{
    return m_radio->port();
}

LinesWatch &GenericTxWiring::linesWatch()
{
    return m_radio->lines().watch();
}

void GenericTxWiring::MenuTX16UDClick()
{
    m_parts.chooseModel(GenericTxRadio::ModelName.toString());
}

void GenericTxWiring::selectModel()
{
    Ui::TForm1 &m = m_parts.windows.Form1->ui;
    m.MenuTX16UD->setChecked(true);
    m_parts.state.setModelLabel(m_radio->state().modelLabel());
    m.labelTMD->clear();
    // The model in use chosen again takes its lines again and resets the transmitter; the
    // selector opens it otherwise.
    if (m_radio->isOpen())
        m_radio->activate();
}

void GenericTxWiring::SpeedButtonInitClick()
{
    if (!m_radio->inUse())
        return;
    TFormInitTX16 &dialog = *m_parts.windows.FormInitTX16;
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void GenericTxWiring::UpDownTXClick(UpDownArrows::Direction direction)
{
    m_radio->step(direction == UpDownArrows::Direction::Up);
}

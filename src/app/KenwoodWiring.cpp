#include "app/KenwoodWiring.h"

#include "core/StationState.h"
#include "kenwood/RigLink.h"
#include "platform/LinkSettings.h"
#include "radio/RadioSelector.h"
#include "radio/RadioState.h"
#include "ui/KenwoodDialogs.h"
#include "ui/PanelPictures.h"
#include "ui/StationWindows.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitTMD700.h"

using namespace Kenwood;

KenwoodWiring::KenwoodWiring(const RadioWiringParts &parts, SerialPortSettings &port,
                             TrafficLine &traffic, const DtmfCodeList &codes,
                             const QString &directory)
    : m_parts(parts), m_port(port)
{
    m_radio = std::make_unique<KenwoodRadio>(KenwoodRadio::Context{
        parts.state, port, traffic, parts.log, parts.notifier, parts.requests});
    for (const Model model : Models)
        parts.radios.add(modelName(model), m_radio.get());
    connect(&parts.radios, &RadioSelector::currentChanged, this, &KenwoodWiring::showModel);
    m_dialogs = std::make_unique<KenwoodDialogs>(
        KenwoodDialogs::Parts{*parts.windows.Form1, *parts.windows.FormMEM, parts.state, port,
                              codes, parts.radios, parts.notifier, directory});
    wireStatusLines();
    wirePanel();
    wireMenus();
}

KenwoodWiring::~KenwoodWiring() = default;

// The port line shows the COM menu's port; the radio's line its answers, or its adapter away.
void KenwoodWiring::wireStatusLines()
{
    Ui::TForm1 &ui = m_parts.windows.Form1->ui;
    auto showRigStatus = [this] {
        StatusLines::showRig(m_parts.windows.Form1->ui.labelTMD, m_parts.state);
    };
    connect(&m_radio->link(), &RigLink::silenceNoticed, this, showRigStatus);
    connect(&m_radio->state(), &RadioState::rigStatusChanged, this, showRigStatus);
    connect(m_radio.get(), &KenwoodRadio::portStatusChanged, this, [this] {
        StatusLines::showPort(m_parts.windows.Form1->ui.LabelConnect, m_parts.state,
                              m_port.portName);
    });
    connect(m_radio.get(), &KenwoodRadio::portOpenFailed, this, [&ui] {
        ui.ListBoxPort->clearSelection();
        ui.ListBoxPort->setCurrentItem(nullptr);
    });
    connect(m_radio.get(), &KenwoodRadio::portAway, this, [&ui](const QString &portName) {
        StatusLines::setPortText(ui.labelTMD, QStringLiteral("Port "), portName,
                                 QStringLiteral(" lost"), StatusLines::Colour::Red);
    });
}

void KenwoodWiring::wirePanel()
{
    Ui::TForm1 &ui = m_parts.windows.Form1->ui;
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
    m_radio->operations().resetIndicators();
    // The panel's operations reach the radio in use through the panel's view.
    connect(ui.SpeedButtonInit, &QToolButton::clicked, m_radio.get(), &KenwoodRadio::pressInit);
    connect(ui.Buttoninit, &QPushButton::clicked, this, &KenwoodWiring::ButtoninitClick);
}

void KenwoodWiring::wireMenus()
{
    Ui::TForm1 &ui = m_parts.windows.Form1->ui;
    connect(ui.menuTMD700, &QAction::triggered, this, &KenwoodWiring::menuTMD700Click);
    connect(ui.MenuTMD710, &QAction::triggered, this, &KenwoodWiring::MenuTMD710Click);
    connect(ui.MenuTMV71, &QAction::triggered, this, &KenwoodWiring::MenuTMV71Click);
}

void KenwoodWiring::panelLeftByOther()
{
    m_radio->applyBandChoice();
    m_radio->state().setPanelEnabled(false);
}

void KenwoodWiring::chooseModel(Model model)
{
    m_parts.chooseModel(modelName(model));
}

// The Model menu checks the Kenwood model chosen; its port line waits for the port.
void KenwoodWiring::showModel()
{
    if (m_parts.radios.current() != m_radio.get())
        return;
    Ui::TForm1 &ui = m_parts.windows.Form1->ui;
    const Model model = m_radio->model();
    QAction *item = model == Model::TMD700   ? ui.menuTMD700
                    : model == Model::TMD710 ? ui.MenuTMD710
                                             : ui.MenuTMV71;
    item->setChecked(true);
    ui.LabelConnect->clear();
}

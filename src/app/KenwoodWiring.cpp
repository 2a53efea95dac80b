#include "app/KenwoodWiring.h"

#include "app/Station.h"
#include "kenwood/RigLink.h"
#include "radio/RadioState.h"
#include "ui/KenwoodDialogs.h"
#include "ui/PanelPictures.h"
#include "ui/StatusLines.h"
#include "ui/UnitFreq.h"
#include "ui/UnitTMD700.h"

using namespace Kenwood;

KenwoodWiring::KenwoodWiring(Station &station) : m_station(station)
{
    m_radio = std::make_unique<KenwoodRadio>(
        KenwoodRadio::Context{station.state, station.ComPortTX, station.traffic, station.log,
                              station.notifier(), station.requests});
    for (const Model model : Models)
        station.radios.add(modelName(model), m_radio.get());
    connect(&station.radios, &RadioSelector::currentChanged, this, &KenwoodWiring::showModel);
    m_dialogs = std::make_unique<KenwoodDialogs>(KenwoodDialogs::Parts{
        *station.windows().Form1, *station.windows().FormMEM, station.state, station.ComPortTX,
        station.dtmfCodes, station.radios, station.notifier(), station.directory()});
    wireStatusLines();
    wirePanel();
    wireMenus();
}

KenwoodWiring::~KenwoodWiring() = default;

// The port line shows the COM menu's port; the radio's line its answers, or its adapter away.
void KenwoodWiring::wireStatusLines()
{
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    auto showRigStatus = [this] {
        StatusLines::showRig(m_station.windows().Form1->ui.labelTMD, m_station.state);
    };
    connect(&m_radio->link(), &RigLink::silenceNoticed, this, showRigStatus);
    connect(&m_radio->state(), &RadioState::rigStatusChanged, this, showRigStatus);
    connect(m_radio.get(), &KenwoodRadio::portStatusChanged, this, [this] {
        StatusLines::showPort(m_station.windows().Form1->ui.LabelConnect, m_station.state,
                              m_station.ComPortTX.portName);
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
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
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
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    connect(ui.menuTMD700, &QAction::triggered, this, &KenwoodWiring::menuTMD700Click);
    connect(ui.MenuTMD710, &QAction::triggered, this, &KenwoodWiring::MenuTMD710Click);
    connect(ui.MenuTMV71, &QAction::triggered, this, &KenwoodWiring::MenuTMV71Click);
    connect(&m_station, &Station::bandChoiceChanged, this, &KenwoodWiring::MenuChoixTXClick);
}

void KenwoodWiring::panelLeftByOther()
{
    m_radio->applyBandChoice();
    m_radio->state().setPanelEnabled(false);
}

void KenwoodWiring::chooseModel(Model model)
{
    m_station.chooseModel(modelName(model));
}

// The Model menu checks the Kenwood model chosen; its port line waits for the port.
void KenwoodWiring::showModel()
{
    if (m_station.radios.current() != m_radio.get())
        return;
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    const Model model = m_radio->model();
    QAction *item = model == Model::TMD700   ? ui.menuTMD700
                    : model == Model::TMD710 ? ui.MenuTMD710
                                             : ui.MenuTMV71;
    item->setChecked(true);
    ui.LabelConnect->clear();
}

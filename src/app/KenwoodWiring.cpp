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
                              station.notifier(), station.requests, [this] { releaseFocus(); }});
    for (const Model model : Models)
        station.radios.add(modelName(model), m_radio.get(), [this, model] { selectModel(model); });
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

void KenwoodWiring::releaseFocus()
{
    m_station.windows().Form1->releaseFocus();
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
        connect(toggle, &QToolButton::clicked, this, &KenwoodWiring::releaseFocus);
    connect(ui.SpeedButtonInit, &QToolButton::clicked, m_radio.get(), &KenwoodRadio::pressInit);
    connect(ui.Buttoninit, &QPushButton::clicked, this, &KenwoodWiring::ButtoninitClick);
    // Choosing a memory sends nothing; the window takes the keyboard back for the space bar.
    connect(ui.ComboBoxMEM, &QComboBox::activated, this, [this] { releaseFocus(); });
}

QCoro::Task<> KenwoodWiring::afterClick(std::function<QCoro::Task<>()> operation)
{
    if (operation)
        co_await operation();
    releaseFocus();
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

void KenwoodWiring::selectModel(Model model)
{
    Ui::TForm1 &ui = m_station.windows().Form1->ui;
    StationState &state = m_station.state;
    QAction *item = model == Model::TMD700   ? ui.menuTMD700
                    : model == Model::TMD710 ? ui.MenuTMD710
                                             : ui.MenuTMV71;
    item->setChecked(true);
    m_radio->setModel(model);
    m_station.radios.select(modelName(model));
    ui.LabelConnect->clear();
    ui.SpeedButtonScanA->setVisible(model == Model::TMD700);
    ui.SpeedButtonScanB->setVisible(model == Model::TMD700);
    state.ModelLabel = model == Model::TMD700   ? QStringLiteral("TMD700 ")
                       : model == Model::TMD710 ? QStringLiteral("TMD710 ")
                                                : QStringLiteral("TMV71 ");
    ui.GroupBoxTX->setTitle(idText(model));
    m_station.windows().Form1->setWindowTitle(QStringLiteral("Ivrelane") + state.ModelLabel +
                                              QStringLiteral("V") + state.VersionText);
    ui.GroupBoxTX16UD->hide();
    ui.GroupBoxTX->show();
    ui.MenuMEM->setEnabled(true);
    m_radio->open();
}

#include "app/Station.h"

#include "app/DtmfWiring.h"
#include "app/GenericTxWindowSettings.h"
#include "app/GenericTxWiring.h"
#include "app/HamlibWiring.h"
#include "app/InterfaceWiring.h"
#include "app/KenwoodWiring.h"
#include "app/ProgramFiles.h"
#include "app/ReadOnlyNotice.h"
#include "app/ServerWindowSettings.h"
#include "app/ServerWiring.h"
#include "app/StatusReport.h"
#include "app/WarningWindowSettings.h"
#include "app/WebWiring.h"
#include "core/Notifier.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfEditor.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/GenericTxRadio.h"
#include "platform/SerialPortList.h"
#include "platform/TextFile.h"
#include "radio/Radio.h"
#include "radio/RadioState.h"
#include "radio/TransmitTimeout.h"
#include "ui/Captions.h"
#include "ui/RadioPanelView.h"
#include "ui/StatusLines.h"
#include "ui/TrafficDisplay.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitFreq.h"
#include "ui/UnitHamlib.h"
#include "ui/UnitIP.h"
#include "ui/UnitInfo.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

Station::Station(const QString &directory, Notifier &notifier)
    : log(QDir(directory).filePath(state.LogFileName)), m_directory(directory), m_notifier(notifier)
{
    ProgramFiles::initialise(state, directory);
    // exit(), not quit(): quit() would ask the main window to close, which runs this again.
    terminate = [] { QCoreApplication::exit(0); };

    Form1 = std::make_unique<TForm1>();
    FormDTMF = std::make_unique<TFormDTMF>();
    FormIP = std::make_unique<TFormIP>();
    FormSimuFreq = std::make_unique<TFormSimuFreq>();
    FormInfo = std::make_unique<TFormInfo>();
    FormWarning = std::make_unique<TFormWarning>();
    FormMEM = std::make_unique<TFormMEM>();
    FormInitTX16 = std::make_unique<TFormInitTX16>();
    serverSettings = std::make_unique<ServerWindowSettings>(*FormIP);
    warningSettings = std::make_unique<WarningWindowSettings>(FormWarning->ui);
    tx16Settings = std::make_unique<GenericTxWindowSettings>(FormInitTX16->ui);
    wireMainWindow();
    connect(&traffic, &TrafficLine::appended, Form1.get(),
            [this](const QString &text) { TrafficDisplay::append(Form1->ui.EditTXdata, text); });
    connect(&traffic, &TrafficLine::cleared, Form1.get(),
            [this] { TrafficDisplay::clear(Form1->ui.EditTXdata); });

    // Created before the radios' own wiring: the toggles' clicks reach the radio first, the
    // window takes the keyboard back after.
    panelView =
        std::make_unique<RadioPanelView>(RadioPanelControls::fromForm(Form1->ui), radios, requests);
    connect(&radios, &RadioSelector::currentChanged, panelView.get(), &RadioPanelView::follow);
    // The COM menu chooses the port of a radio that uses it (Hamlib's is in its own window).
    connect(&radios, &RadioSelector::currentChanged, this, [this] {
        Form1->ui.MenuPort->setEnabled(radios.current()->capabilities().comMenuPort);
    });
    interface = std::make_unique<InterfaceWiring>(*this);
    kenwood = std::make_unique<KenwoodWiring>(*this);
    connect(&kenwood->radio(), &KenwoodRadio::initialisationSubmitted, this,
            &Station::connectServerBehindInitialisation);
    genericTx = std::make_unique<GenericTxWiring>(*this);
    dtmf = std::make_unique<DtmfWiring>(*this);
    server = std::make_unique<ServerWiring>(*this);
    hamlib = std::make_unique<HamlibWiring>(*this);
    connect(hamlib.get(), &HamlibWiring::serverMayConnect, this, &Station::connectServerIfAsked);
    connect(hamlib.get(), &HamlibWiring::panelLeft, kenwood.get(),
            &KenwoodWiring::panelLeftByOther);
    // The windows of the other parts follow the language, as their own language button does.
    connect(interface.get(), &InterfaceWiring::languageSwitched, this, [this] {
        server->settingsDialog().ButtonlangueClick();
        dtmf->editor().ButtonlangueClick();
        dtmf->refillActions();
        applyCaptions(&hamlib->settingsForm(), currentLanguage());
    });
    for (Radio *radio : radios.all()) {
        connect(&radio->state(), &RadioState::keyedChanged, server.get(),
                &ServerWiring::keyingChanged);
    }
    // DTMF characters the server reports go to the interpreter, within the server's request.
    server->dispatcher().receiveDtmf = [this](const QString &chars) {
        return dtmf->receiveDtmf(chars);
    };
    transmitTimeout = std::make_unique<TransmitTimeout>(state, log, radios.all(), requests);
    connect(&requests, &RadioRequests::burstDropped, this, [this](int count) {
        log.append(QStringLiteral("Radio busy: %1 requests dropped").arg(count));
    });
    connect(transmitTimeout.get(), &TransmitTimeout::expired, this, [this] {
        StatusLines::setColouredText(Form1->ui.labelTMD, QStringLiteral("TX time-out"),
                                     StatusLines::Colour::Red);
    });
    status = std::make_unique<StatusReport>(*this);
    connect(this, &Station::startupFinished, status.get(), &StatusReport::start);
    web = std::make_unique<WebWiring>(*this);
    readOnlyNotice = std::make_unique<ReadOnlyNotice>(Form1->ui.StaticTextDTMF,
                                                      [this] { return currentLanguage(); });
}

// Nothing more is taken, and the exchange in flight ends at once, so that the request under way
// is over while the parts it uses are still there.
Station::~Station()
{
    radios.cancelChange();
    requests.close([]() -> QCoro::Task<> { co_return; });
    kenwood->radio().closePort();
}

void Station::wireMainWindow()
{
    TForm1 &f = *Form1;
    f.FormActivate = [this] { FormActivate(); };
    f.FormClose = [this] { MenuQuitterClick(); };
    f.FormClick = [this] { FormClick(); };
    f.FormKeyPress = [this](QChar key) { FormKeyPress(key); };
    connect(f.ui.MenuQuitter, &QAction::triggered, this, &Station::MenuQuitterClick);
    connect(f.ui.MenuSave, &QAction::triggered, this, &Station::MenuSaveClick);
    connect(f.ui.MenuPort, &QAction::triggered, this, &Station::MenuPortClick);
    connect(f.ui.ListBoxPort, &QListWidget::itemClicked, this, &Station::ListBoxPortClick);
    for (const auto &[item, choice] : bandChoiceItems()) {
        connect(item, &QAction::triggered, this, [this, c = choice] { chooseBands(c); });
    }
}

std::array<std::pair<QAction *, StationState::BandChoice>, 3> Station::bandChoiceItems() const
{
    const Ui::TForm1 &m = Form1->ui;
    return {{{m.MenuChoixTXA, StationState::BandChoice::A},
             {m.MenuChoixTXB, StationState::BandChoice::B},
             {m.MenuChoixTXAB, StationState::BandChoice::Both}}};
}

void Station::chooseBands(StationState::BandChoice choice)
{
    state.Bands = choice;
    for (const auto &[item, itemChoice] : bandChoiceItems()) {
        if (itemChoice == choice)
            item->setChecked(true);
    }
    emit bandChoiceChanged();
}

void Station::chooseModel(const QString &model)
{
    // Another model of the radio in use is taken at once, and leaves what waits alone.
    if (!radios.changesRadio(model)) {
        radios.choose(model);
        return;
    }
    requests.submitUnkey([this, model] { return radios.changeTo(model); });
}

ConfigBinding Station::configBinding()
{
    return ConfigBinding{
        &state,
        &ComPortTX,
        &IdTCPClient,
        Form1.get(),
        [this](Language language) { interface->chooseLanguage(language); },
        [this](StationState::BandChoice choice) { chooseBands(choice); },
        [this](bool on) { interface->chooseVersionCheck(on); },
        [this](int band) { return panelView->shownPower(band); },
        &dtmfCodes,
        serverSettings.get(),
        warningSettings.get(),
        tx16Settings.get(),
        &genericTx->radio().state(),
        hamlib ? &hamlib->settings : nullptr,
        genericTx ? &genericTx->lineSettings : nullptr,
        &radios,
        &webSettings,
    };
}

Language Station::currentLanguage() const
{
    return state.language;
}

void Station::FormActivate()
{
    if (state.StartupDone)
        return;
    Ui::TForm1 &m = Form1->ui;
    const QDir dir(m_directory);

    if (state.LogFileExists)
        log.load(dir.filePath(state.LogFileName));
    else if (state.LogFileTMD700Exists)
        log.load(dir.filePath(state.LogFileNameTMD700));
    emit startupBegun();
    log.append(QStringLiteral("Start"));

    serialPorts = listSerialPorts(deviceDirectory);
    m.ListBoxPort->clear();
    m.ListBoxPort->addItems(serialPorts);
    ComPortTX.portName.clear();

    dtmfCodes.setLines({DtmfCatalogue::DtmfListHeader});

    QStringList channels;
    ChannelList::padWithEmptyEntries(channels, ChannelList::EntryCount);
    RadioState &channelList = genericTx->radio().state();
    channelList.setMemories(channels);
    channelList.setCurrentMemory(0);

    // The traffic line takes no keyboard focus; the window keeps it so the space bar works.
    Form1->releaseFocus();

    const QString configFile = state.IniFileExists         ? state.IniFileName
                               : state.IniFileTMD700Exists ? state.IniFileNameTMD700
                                                           : QString();
    QStringList lines;
    if (!configFile.isEmpty() && TextFile::readLines(dir.filePath(configFile), &lines))
        ConfigFile::apply(configBinding(), lines);

    applyChannelCount();

    radios.choose(state.ModelName);

    if (!warningSettings->accepted())
        FormWarning->show();

    state.ServerStatus = 0;
    StatusLines::showServer(m.StaticTextIPConnect, state);

    dtmf->refillActions();

    // A transmitter that never answers has no initialisation for the server to wait for.
    if (Radio *radio = radios.current(); radio && !radio->capabilities().answers) {
        connectServerIfAsked();
    } else if (radio) {
        radio->open();
    }
    if (!state.FolderWritable)
        readOnlyNotice->show();
    state.StartupDone = true;
    emit startupFinished();
}

void Station::applyChannelCount()
{
    const int count = tx16Settings->channelCount();
    tx16Settings->keepBaseChannelWithin(count);
    Form1->ui.Label16->setText(QString::number(count));
}

// The server is connected once the radio's initialisation is over: a request behind it.
void Station::connectServerBehindInitialisation()
{
    requests.submit([this]() -> QCoro::Task<> {
        connectServerIfAsked();
        co_return;
    });
}

// What the server window's "connect at start" asks for, once the radio may be used.
void Station::connectServerIfAsked()
{
    if (serverSettings->connectAtStart())
        server->ButtonConnectClick();
}

// The last request: what waits is dropped, and the request under way (a long initialisation)
// is cut short once the port closes. A second quit (close box, signal) finds the requests closed.
void Station::MenuQuitterClick()
{
    radios.cancelChange();
    requests.close([this] { return quit(); });
}

QCoro::Task<> Station::quit()
{
    if (Radio *radio = radios.current())
        co_await radio->release();
    if (state.ServerConnected || server->isReconnecting())
        server->ButtonDisconnectClick();
    log.append(QStringLiteral("Quit"));
    log.compact();
    status->stop();
    if (state.LogFileTMD700Exists)
        QFile::remove(QDir(m_directory).filePath(state.LogFileNameTMD700));
    // Whatever carries the generic transmitter's lines: a device in use is let go at rest.
    genericTx->releasePort();
    MenuSaveClick();
    if (terminate)
        terminate();
}

void Station::MenuSaveClick()
{
    QDir::setCurrent(m_directory);
    if (ConfigFile::save(configBinding(), m_directory) == ConfigFile::SaveResult::Failed)
        m_notifier.error(state.statusMessage(StatusMessage::IniFileError));
}

void Station::MenuPortClick()
{
    QListWidget *list = Form1->ui.ListBoxPort;
    if (list->isVisible()) {
        list->hide();
        return;
    }
    list->show();
    list->raise();
    const QList<QListWidgetItem *> current =
        list->findItems(ComPortTX.portName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    list->setCurrentItem(current.isEmpty() ? nullptr : current.first());
}

void Station::ListBoxPortClick()
{
    QListWidget *list = Form1->ui.ListBoxPort;
    if (list->count() == 0 || !list->currentItem())
        return;
    kenwood->radio().closePort();
    ComPortTX.portName = list->currentItem()->text();
    kenwood->radio().open();
    list->hide();
}

void Station::FormClick()
{
    if (Form1->ui.ListBoxPort->isVisible())
        Form1->ui.ListBoxPort->hide();
}

void Station::FormKeyPress(QChar key)
{
    // The space bar is the transceiver panel's TRANSMIT.
    Radio *radio = radios.current();
    if (key != QLatin1Char(' ') || radio == nullptr || radio->capabilities().stepping)
        return;
    const bool on = !radio->state().keyed();
    // A radio that missed an exchange is not keyed by it, even once it answers again by the
    // time the press's turn comes.
    if (on && !state.RigAnswering)
        return;
    auto request = [this, radio, on] { return spaceBarTransmit(radio, on); };
    if (on)
        requests.submitKey(request);
    else
        requests.submitUnkey(request);
}

// Counts again when it runs: a radio that missed an exchange meanwhile is not keyed by the space
// bar, but it can still be unkeyed.
QCoro::Task<> Station::spaceBarTransmit(Radio *radio, bool on)
{
    if (radio != radios.current())
        co_return;
    const bool keyed = radio->state().keyed();
    if (!state.RigAnswering && !keyed)
        co_return;
    co_await radio->setTransmit(on);
    // As a click on the toggle would: a refused one (a panel waiting) changes nothing at all.
    if (radio->state().keyed() != keyed)
        Form1->releaseFocus();
}

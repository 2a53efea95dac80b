#include "app/Station.h"

#include "app/DtmfWiring.h"
#include "app/GenericTxWiring.h"
#include "app/HamlibWiring.h"
#include "app/InterfaceWiring.h"
#include "app/KenwoodWiring.h"
#include "app/ServerWiring.h"
#include "app/WebWiring.h"
#include "core/Notifier.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfEditor.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/LinesWatch.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibRadio.h"
#include "kenwood/RigLink.h"
#include "platform/SerialPortList.h"
#include "platform/TextFile.h"
#include "radio/Radio.h"
#include "radio/RadioState.h"
#include "radio/TransmitTimeout.h"
#include "service/StatusReport.h"
#include "ui/Captions.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/RadioPanelView.h"
#include "ui/ReadOnlyNotice.h"
#include "ui/ServerWindowSettings.h"
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
#include "ui/WarningWindowSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

Station::Station(const QString &directory, Notifier &notifier)
    : log(QDir(directory).filePath(state.LogFileName)), m_directory(directory), m_notifier(notifier)
{
    state.noteFilesIn(directory);
    // exit(), not quit(): quit() would ask the main window to close, which runs this again.
    terminate = [] { QCoreApplication::exit(0); };

    serverSettings = std::make_unique<ServerWindowSettings>(*m_windows.FormIP);
    warningSettings = std::make_unique<WarningWindowSettings>(m_windows.FormWarning->ui);
    tx16Settings = std::make_unique<GenericTxWindowSettings>(m_windows.FormInitTX16->ui);
    wireMainWindow();
    connect(&traffic, &TrafficLine::appended, m_windows.Form1.get(), [this](const QString &text) {
        TrafficDisplay::append(m_windows.Form1->ui.EditTXdata, text);
    });
    connect(&traffic, &TrafficLine::cleared, m_windows.Form1.get(),
            [this] { TrafficDisplay::clear(m_windows.Form1->ui.EditTXdata); });

    // Created before the radios' own wiring: the toggles' clicks reach the radio first, the
    // window takes the keyboard back after.
    panelView = std::make_unique<RadioPanelView>(RadioPanelControls::fromForm(*m_windows.Form1),
                                                 state, radios, requests);
    connect(&radios, &RadioSelector::currentChanged, panelView.get(), &RadioPanelView::follow);
    // The COM menu chooses the port of a radio that uses it (Hamlib's is in its own window); the
    // MEM menu how many memories a radio that has them reads.
    connect(&radios, &RadioSelector::currentChanged, this, [this] {
        const Capabilities caps = radios.current()->capabilities();
        m_windows.Form1->ui.MenuPort->setEnabled(caps.comMenuPort);
        m_windows.Form1->ui.MenuMEM->setEnabled(caps.memories);
    });
    interface = std::make_unique<InterfaceWiring>(
        InterfaceWiring::Parts{m_windows, state, radios, ComPortTX, m_notifier, m_directory});
    // The check waits for the first idle moment after start-up, so the window is on screen.
    connect(this, &Station::startupFinished, interface.get(), [this] {
        QTimer::singleShot(0, interface.get(), &InterfaceWiring::ApplicationEvents1Idle);
    });
    const RadioWiringParts radioParts{
        m_windows, state, log, m_notifier, radios, requests, [this](const QString &model) {
            chooseModel(model);
        }};
    kenwood =
        std::make_unique<KenwoodWiring>(radioParts, ComPortTX, traffic, dtmfCodes, m_directory);
    connect(this, &Station::bandChoiceChanged, kenwood.get(), &KenwoodWiring::MenuChoixTXClick);
    connect(&kenwood->radio(), &KenwoodRadio::initialisationSubmitted, this,
            &Station::connectServerBehindInitialisation);
    genericTx = std::make_unique<GenericTxWiring>(radioParts, *tx16Settings);
    dtmf = std::make_unique<DtmfWiring>(DtmfWiring::Parts{m_windows, state, log, m_notifier, radios,
                                                          requests, dtmfCodes,
                                                          [this] { MenuSaveClick(); }});
    server = std::make_unique<ServerWiring>(ServerWiring::Parts{m_windows, state, radios, requests,
                                                                log, traffic, m_notifier,
                                                                IdTCPClient, *serverSettings});
    hamlib = std::make_unique<HamlibWiring>(radioParts, serialPorts);
    connect(this, &Station::bandChoiceChanged, hamlib.get(), &HamlibWiring::followBandChoice);
    connect(hamlib.get(), &HamlibWiring::serverMayConnect, this, &Station::connectServerIfAsked);
    connect(&hamlib->radio(), &HamlibRadio::panelLeft, kenwood.get(),
            &KenwoodWiring::panelLeftByOther);
    // The windows of the other parts follow the language, as their own language button does.
    connect(interface.get(), &InterfaceWiring::languageSwitched, this, [this] {
        server->settingsDialog().ButtonlangueClick();
        dtmf->editor().ButtonlangueClick();
        dtmf->refillActions();
        applyCaptions(&hamlib->settingsForm(), currentLanguage());
    });
    for (Radio *radio : radios.all()) {
        connect(&radio->state(), &RadioState::keyedChanged, &server->session(),
                &ServerSession::keyingChanged);
    }
    // DTMF characters the server reports go to the interpreter, within the server's request.
    server->session().dispatcher().receiveDtmf = [this](const QString &chars) {
        return dtmf->receiveDtmf(chars);
    };
    transmitTimeout = std::make_unique<TransmitTimeout>(state, log, radios.all(), requests);
    connect(&requests, &RadioRequests::burstDropped, this, [this](int count) {
        log.append(QStringLiteral("Radio busy: %1 requests dropped").arg(count));
    });
    connect(transmitTimeout.get(), &TransmitTimeout::expired, this, [this] {
        StatusLines::setColouredText(m_windows.Form1->ui.labelTMD, QStringLiteral("TX time-out"),
                                     StatusLines::Colour::Red);
    });
    wireStatusReport();
    connect(this, &Station::startupFinished, status.get(), &StatusReport::start);
    web = std::make_unique<WebWiring>(*this);
    readOnlyNotice = std::make_unique<ReadOnlyNotice>(m_windows.Form1->ui.StaticTextDTMF,
                                                      [this] { return currentLanguage(); });
    connect(interface.get(), &InterfaceWiring::statusTextsRedrawn, readOnlyNotice.get(),
            &ReadOnlyNotice::redraw);
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
    TForm1 &f = *m_windows.Form1;
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
    const Ui::TForm1 &m = m_windows.Form1->ui;
    return {{{m.MenuChoixTXA, StationState::BandChoice::A},
             {m.MenuChoixTXB, StationState::BandChoice::B},
             {m.MenuChoixTXAB, StationState::BandChoice::Both}}};
}

void Station::chooseBands(StationState::BandChoice choice)
{
    state.setBands(choice);
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
        m_windows.Form1.get(),
        [this](Language language) { interface->chooseLanguage(language); },
        [this](StationState::BandChoice choice) { chooseBands(choice); },
        [this](bool on) { interface->chooseVersionCheck(on); },
        [this](int band) { return panelView->shownPower(band); },
        &dtmfCodes,
        serverSettings.get(),
        warningSettings.get(),
        tx16Settings.get(),
        &genericTx->radio().state(),
        hamlib ? &hamlib->radio().settings() : nullptr,
        genericTx ? &genericTx->lineSettings : nullptr,
        &radios,
        &webSettings,
    };
}

// The report counts what the parts say happened.
void Station::wireStatusReport()
{
    status = std::make_unique<StatusReport>(StatusReport::Sources{
        state, radios, IdTCPClient, log, requests, m_directory, &genericTx->radio()});
    StatusReport *report = status.get();
    StatusCounters &counted = report->counters;
    // The generic transmitter is keyed when its PTT line is, not when TRANSMIT asks for it.
    for (Radio *radio : radios.all()) {
        if (radio != &genericTx->radio())
            connect(&radio->state(), &RadioState::keyedChanged, report,
                    &StatusReport::keyingChanged);
    }
    connect(&genericTx->driver(), &ControlLineDriver::pttDrivenChanged, report,
            &StatusReport::keyingChanged);
    connect(&genericTx->linesWatch(), &LinesWatch::lost, report,
            [&counted] { ++counted.portLosses; });
    connect(transmitTimeout.get(), &TransmitTimeout::expired, report,
            [&counted] { ++counted.transmitTimeouts; });
    connect(&kenwood->link(), &RigLink::replyMissing, report,
            [&counted] { ++counted.radioFaults; });
    connect(&kenwood->link(), &RigLink::portLost, report, [&counted] { ++counted.portLosses; });
    connect(&hamlib->radio().link(), &HamlibLink::failed, report,
            [&counted] { ++counted.radioFaults; });
    connect(&server->session(), &ServerSession::reconnected, report,
            [&counted] { ++counted.serverReconnections; });
}

Language Station::currentLanguage() const
{
    return state.language;
}

void Station::FormActivate()
{
    if (state.StartupDone)
        return;
    Ui::TForm1 &m = m_windows.Form1->ui;
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
    m_windows.Form1->releaseFocus();

    const QString configFile = state.IniFileExists         ? state.IniFileName
                               : state.IniFileTMD700Exists ? state.IniFileNameTMD700
                                                           : QString();
    QStringList lines;
    if (!configFile.isEmpty() && TextFile::readLines(dir.filePath(configFile), &lines))
        ConfigFile::apply(configBinding(), lines);

    applyChannelCount();

    radios.choose(state.ModelName);

    if (!warningSettings->accepted())
        m_windows.FormWarning->show();

    state.setServerConnected(false);
    StatusLines::showServer(m.StaticTextIPConnect, state);

    dtmf->refillActions();

    // A transmitter that never answers has no initialisation for the server to wait for.
    if (Radio *radio = radios.current(); radio && !radio->capabilities().answers)
        connectServerIfAsked();
    if (!state.FolderWritable)
        readOnlyNotice->show();
    state.StartupDone = true;
    emit startupFinished();
}

void Station::applyChannelCount()
{
    const int count = tx16Settings->channelCount();
    tx16Settings->keepBaseChannelWithin(count);
    m_windows.Form1->ui.Label16->setText(QString::number(count));
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
    if (state.ServerConnected || server->session().isReconnecting())
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
    QListWidget *list = m_windows.Form1->ui.ListBoxPort;
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
    QListWidget *list = m_windows.Form1->ui.ListBoxPort;
    if (list->count() == 0 || !list->currentItem())
        return;
    kenwood->radio().closePort();
    ComPortTX.portName = list->currentItem()->text();
    kenwood->radio().open();
    list->hide();
}

void Station::FormClick()
{
    if (m_windows.Form1->ui.ListBoxPort->isVisible())
        m_windows.Form1->ui.ListBoxPort->hide();
}

void Station::FormKeyPress(QChar key)
{
    // The space bar is the transceiver panel's TRANSMIT.
    if (key == QLatin1Char(' '))
        m_manualKeying.toggle();
}

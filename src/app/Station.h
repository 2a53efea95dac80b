#pragma once

#include "app/ConfigFile.h"
#include "core/EventLog.h"
#include "core/LanguageTexts.h"
#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "dtmf/DtmfCodeList.h"
#include "platform/LinkSettings.h"
#include "radio/ManualKeying.h"
#include "radio/RadioRequests.h"
#include "radio/RadioSelector.h"
#include "ui/StationWindows.h"
#include "web/WebSettings.h"

#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <utility>

class Notifier;
class QAction;

class KenwoodWiring;
class GenericTxWiring;
class DtmfWiring;
class ServerWiring;
class InterfaceWiring;
class TransmitTimeout;
class HamlibWiring;
class ReadOnlyNotice;
class RadioPanelView;
class StatusReport;
class ServerWindowSettings;
class WarningWindowSettings;
class GenericTxWindowSettings;
class WebWiring;

// The application: owns the station state, the eight windows and the event log, and runs
// start-up and shut-down.
class Station : public QObject
{
    Q_OBJECT
public:
    Station(const QString &directory, Notifier &notifier);
    ~Station() override;

    StationState state;
    SerialPortSettings ComPortTX;
    TcpClientSettings IdTCPClient;
    EventLog log;
    TrafficLine traffic;
    // The DTMF code table (DTMF_CODE=), which the DTMF window lists.
    DtmfCodeList dtmfCodes;
    // The radio backends by model; the one in use.
    RadioSelector radios;
    // What is asked of the radio in use, one request at a time.
    RadioRequests requests;
    // Paints the radio panels from the state of the radio in use.
    std::unique_ptr<RadioPanelView> panelView;

private:
    // Made before the parts that wire them and gone after them.
    StationWindows m_windows;

public:
    // The dialogs' own settings, read and set through these rather than through the controls.
    std::unique_ptr<ServerWindowSettings> serverSettings;
    std::unique_ptr<WarningWindowSettings> warningSettings;
    std::unique_ptr<GenericTxWindowSettings> tx16Settings;

    // Each wiring part connects its handlers to the windows when it is created.
    std::unique_ptr<InterfaceWiring> interface;
    std::unique_ptr<KenwoodWiring> kenwood;
    std::unique_ptr<GenericTxWiring> genericTx;
    std::unique_ptr<DtmfWiring> dtmf;
    std::unique_ptr<ServerWiring> server;
    std::unique_ptr<TransmitTimeout> transmitTimeout;
    std::unique_ptr<HamlibWiring> hamlib;
    // Keeps the status file that tells from outside what the station does.
    std::unique_ptr<StatusReport> status;
    // Shown from start-up on when the folder cannot be written.
    std::unique_ptr<ReadOnlyNotice> readOnlyNotice;
    // The web page (WEB=, or --web which comes first) and its password.
    WebSettings webSettings;
    QString webAddressOnCommandLine;
    std::unique_ptr<WebWiring> web;

    StationWindows &windows() { return m_windows; }
    const StationWindows &windows() const { return m_windows; }
    const QString &directory() const { return m_directory; }
    Notifier &notifier() { return m_notifier; }
    ConfigBinding configBinding();

    // Where virtual serial ports are looked for; tests point it at a folder of their own.
    QString deviceDirectory = QStringLiteral("/dev");
    // The serial ports found at start-up, as the COM menu lists them.
    QStringList serialPorts;
    // Ends the process once shut-down is done.
    std::function<void()> terminate;

    void FormActivate();
    void connectServerBehindInitialisation();
    void connectServerIfAsked();
    void MenuQuitterClick();
    void MenuSaveClick();
    void MenuPortClick();
    void ListBoxPortClick();
    void FormClick();
    void FormKeyPress(QChar key);
    // The windows' language, as the "Langue" menu or LANGUAGE= chose it.
    Language currentLanguage() const;
    // The transmit bands the panel offers, its menu item checked: what the Band menu does.
    void chooseBands(StationState::BandChoice choice);
    // The operator chose another model: the radio in use is let go, then `model` taken, as a
    // request that goes as an unkey does (another model of the radio in use is taken at once).
    void chooseModel(const QString &model);

signals:
    // Start-up begins, in one step that reads the configuration: whatever the event loop runs
    // from now on comes after that step, so a save keeps what the operator set.
    void startupBegun();
    void startupFinished();
    // The band choice changed (StationState::Bands).
    void bandChoiceChanged();

private:
    void wireMainWindow();
    // The Band menu's items and the choice each stands for.
    std::array<std::pair<QAction *, StationState::BandChoice>, 3> bandChoiceItems() const;
    void applyChannelCount();
    void wireStatusReport();
    QCoro::Task<> quit();

    QString m_directory;
    Notifier &m_notifier;
    ManualKeying m_manualKeying{state, radios, requests};
};

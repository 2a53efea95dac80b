#pragma once

#include "kenwood/KenwoodInitialisation.h"
#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodOperations.h"
#include "kenwood/PortOpenReport.h"
#include "radio/PanelRadio.h"

#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class EventLog;
class MemoryRefresh;
class Notifier;
class RadioRequests;
class RigLink;
class RigRecovery;
class TrafficLine;
struct SerialPortSettings;
struct StationState;

// A TM-D700, TM-D710 or TM-V71 behind the Radio seam: its serial port (opened, lost, back), its
// initialisation, the watch on a radio that stopped answering, and the panel's operations.
class KenwoodRadio : public PanelRadio<KenwoodOperations>
{
    Q_OBJECT
public:
    // What the station lends it.
    struct Context
    {
        StationState &station;
        const SerialPortSettings &port; // the port chosen in the COM menu (COM=)
        TrafficLine &traffic;
        EventLog &log;
        Notifier &notifier;
        RadioRequests &requests;
    };
    // The pause between opening the port and initialising the radio.
    static constexpr int InitialisationDelayMs = 500;

    explicit KenwoodRadio(Context context, QObject *parent = nullptr);
    ~KenwoodRadio() override;

    // The model, its panel title and its label.
    void setModel(Kenwood::Model model);
    Kenwood::Model model() const { return m_model; }
    // The model while this radio is in use; nothing while another kind is.
    std::optional<Kenwood::Model> currentModel() const;
    Capabilities capabilities() const override;
    void modelChosen(const QString &model) override;

    RigLink &link() { return *m_link; }
    KenwoodOperations &operations() { return *m_operations; }

    // Opens the COM menu's port; the initialisation follows InitialisationDelayMs later.
    void open() override;
    // INIT by a DTMF code, as a click on INIT.
    void initialise() override;
    // Back to receive with scanning stopped, then the port closed: no more polling the radio or
    // looking for its adapter, and the port free for whatever takes over.
    QCoro::Task<> release() override;
    // A bare "RX" when the radio may be keyed unknown to the program (it stopped answering).
    QCoro::Task<> ensureReceive() override;

    // INIT pressed on the panel, as a request.
    void pressInit();
    // The initialisation itself, as a request of its own; `readMemories` false keeps the memory
    // list already read.
    void runInitialisation(bool readMemories = true);
    void closePort();
    // The initialisation is due once the pause after opening is over.
    bool initialisationDue() const { return m_initialisationDelay.isActive(); }
    // The bands the station's band choice allows can be chosen on the panel.
    void applyBandChoice();

signals:
    // StationState::PortStatus changed for the COM menu's port.
    void portStatusChanged();
    // The chosen port did not open.
    void portOpenFailed();
    // The adapter of `portName` is away: said in place of the radio's status.
    void portAway(const QString &portName);
    // The pause after opening is over and the initialisation submitted: what waits for the
    // radio (the server connection at start) goes behind it.
    void initialisationSubmitted();

private:
    QCoro::Task<> releaseRadio();
    void prepareInitialisation();
    void preparePanel();
    QCoro::Task<> initialiseNow(bool readMemories);
    void initialiseAfterPause(bool readMemories);
    void initialisationEnded(KenwoodInitialisation::Outcome outcome);
    void radioStopsAnswering();
    void logHealth(const QString &line);
    QCoro::Task<> afterInitPress();
    void radioAnswersAgain();
    bool mayPollRadio() const;
    void portLost(const QString &portName);
    void portBack(const QString &portName);
    void setPortStatus(int status);

    Context m_context;
    Kenwood::Model m_model = Kenwood::Model::TMD700;
    std::unique_ptr<RigLink> m_link;
    std::unique_ptr<KenwoodOperations> m_operations;
    std::unique_ptr<KenwoodInitialisation> m_initialisation;
    std::unique_ptr<RigRecovery> m_recovery;
    std::unique_ptr<MemoryRefresh> m_memoryRefresh;
    // The port came back: the memories are read again once the radio is in service, in the
    // background (the set may have been reprogrammed while it was away).
    bool m_refreshMemories = false;
    // The open failure last logged, until the port opens or another is chosen.
    PortOpenReport m_openReport;
    bool m_unkeyWhenBack = false;
    bool m_receiveAsked = false; // a bare "RX" waits for a silent radio
    // What the log last said of the radio's health ("Radio not answering", "Radio answers as"),
    // so that each change is said once however often it is seen.
    QString m_healthLogged;
    QTimer m_initialisationDelay; // after the port opened, or INIT
    QTimer m_recoveryInit;        // after the radio answers again
};

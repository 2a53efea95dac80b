#pragma once

#include "app/KenwoodDialogs.h"
#include "kenwood/KenwoodInitialisation.h"
#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodOperations.h"
#include "kenwood/KenwoodRadio.h"
#include "kenwood/PortOpenReport.h"
#include "kenwood/RigLink.h"
#include "kenwood/RigRecovery.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class Station;

// Kenwood transceiver control: the serial link, the panel operations, the initialisation, the
// model menus, the memory dialog and export. Wires its handlers to the station's windows and
// fills the station's serial-port and frequency-report hooks.
class KenwoodSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit KenwoodSubsystem(Station &station);
    ~KenwoodSubsystem() override;

    RigLink &link() { return *m_link; }
    KenwoodOperations &operations() { return *m_operations; }

    KenwoodRadio &radio() { return *m_radio; }
    // The Kenwood model in use; nothing while another kind of radio is.
    std::optional<Kenwood::Model> currentModel() const;

    void OpenRigPort();
    // A bare "RX" when the radio may be keyed unknown to the program (it stopped answering).
    QCoro::Task<> unkeyRig();
    QCoro::Task<> releaseRig();
    void closeRigPort();

    void menuTMD700Click() { chooseModel(Kenwood::Model::TMD700); }
    void MenuTMD710Click() { chooseModel(Kenwood::Model::TMD710); }
    void MenuTMV71Click() { chooseModel(Kenwood::Model::TMV71); }
    void SpeedButtonInitClick();
    // INIT pressed on the panel, as a request.
    void pressInit();
    // Each runs as a request of its own.
    void ButtoninitClick();
    void MenuChoixTXClick();
    KenwoodDialogs &dialogs() { return *m_dialogs; }

private:
    void wirePanel();
    QCoro::Task<> afterClick(std::function<QCoro::Task<>()> operation);
    QCoro::Task<> initialise();
    void wireMenus();
    void chooseModel(Kenwood::Model model);
    void selectModel(Kenwood::Model model);
    // Another model takes over, or the program ends.
    QCoro::Task<> leave();
    void releaseFocus();
    void portLost(const QString &portName);
    void portBack(const QString &portName);
    void showPortLost(const QString &portName);
    void preparePanelForInitialisation();
    void radioAnswersAgain();
    bool mayPollRadio() const;
    bool inUse() const;

    Station &m_station;
    std::unique_ptr<KenwoodRadio> m_radio;
    std::unique_ptr<RigLink> m_link;
    std::unique_ptr<KenwoodOperations> m_operations;
    std::unique_ptr<KenwoodInitialisation> m_initialisation;
    std::unique_ptr<RigRecovery> m_recovery;
    std::unique_ptr<KenwoodDialogs> m_dialogs;
    bool m_unkeyWhenBack = false;
    // The open failure last logged, until the port opens or another is chosen.
    PortOpenReport m_openReport;
    QTimer m_recoveryInit; // the initialisation after the radio answers again
};

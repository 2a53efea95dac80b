#pragma once

#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodRadio.h"
#include "kenwood/RigLink.h"
#include "ui/KenwoodDialogs.h"

#include <QObject>
#include <memory>
#include <optional>

#include "app/RadioWiringParts.h"

class DtmfCodeList;
class TrafficLine;
struct SerialPortSettings;

// Wires the Kenwood transceiver to the station's windows: the panel's buttons, the model menus,
// the status lines its port and answers show in, the memory dialog and export.
class KenwoodWiring : public QObject
{
    Q_OBJECT
public:
    // `port`: the COM menu's; `codes`: exported with the memories; `directory`: where the export
    // is offered.
    KenwoodWiring(const RadioWiringParts &parts, SerialPortSettings &port, TrafficLine &traffic,
                  const DtmfCodeList &codes, const QString &directory);
    ~KenwoodWiring() override;

    KenwoodRadio &radio() { return *m_radio; }
    RigLink &link() { return m_radio->link(); }
    // The Kenwood model in use; nothing while another kind of radio is.
    std::optional<Kenwood::Model> currentModel() const { return m_radio->currentModel(); }

    void menuTMD700Click() { chooseModel(Kenwood::Model::TMD700); }
    void MenuTMD710Click() { chooseModel(Kenwood::Model::TMD710); }
    void MenuTMV71Click() { chooseModel(Kenwood::Model::TMV71); }
    // Each runs as a request of its own.
    void ButtoninitClick() { m_radio->runInitialisation(); }
    void MenuChoixTXClick() { m_radio->applyBandChoice(); }
    // Another radio let the shared panel go: nothing on it answers until the Kenwood's own
    // initialisation, and the band choice decides which bands it offers.
    void panelLeftByOther();
    KenwoodDialogs &dialogs() { return *m_dialogs; }

private:
    void wirePanel();
    void wireStatusLines();
    void wireMenus();
    void chooseModel(Kenwood::Model model);
    void showModel();

    RadioWiringParts m_parts;
    SerialPortSettings &m_port;
    std::unique_ptr<KenwoodRadio> m_radio;
    std::unique_ptr<KenwoodDialogs> m_dialogs;
};

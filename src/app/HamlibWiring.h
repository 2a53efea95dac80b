#pragma once

#include "platform/LinkSettings.h"

#include <QCoroTask>
#include <QObject>
#include <memory>

class HamlibLink;
class HamlibRadio;
class HamlibOperations;
class HamlibSettingsWindow;
class QAction;
class Station;
class TFormHamlib;

// The Hamlib model: its "Hamlib…" item in the "Modèle" menu and settings window, the link to the
// radio on its worker thread, and the panel operations on it, behind the Radio seam.
class HamlibWiring : public QObject
{
    Q_OBJECT
public:
    explicit HamlibWiring(Station &station);
    ~HamlibWiring() override;

    HamlibSettings settings;

    HamlibLink &link() { return *m_link; }
    HamlibRadio &radio() { return *m_radio; }
    TFormHamlib &settingsForm() { return *m_form; }

    void MenuHamlibClick();
    // Makes Hamlib the model and starts the link with `settings`, then the initialisation.
    void selectModel();
    // Unkeys and closes the radio and stops the worker thread.
    void release();
    void SpeedButtonInitClick();
    // What the settings window's OK does with the settings it checked (the web page's form too).
    void accept(const HamlibSettings &chosen);

signals:
    // The first initialisation is over, or there is no radio to initialise: the server may be
    // connected at start.
    void serverMayConnect();
    // The Hamlib radio let the transceiver panel go: the other radio behind it starts anew.
    void panelLeft();

private:
    void initialised();
    void showPort(bool open);
    void connectServerOnce();
    void stopTransmitAndScan();
    void checkMenuItem();

    Station &m_station;
    std::unique_ptr<TFormHamlib> m_form;
    std::unique_ptr<HamlibRadio> m_radio;
    std::unique_ptr<HamlibLink> m_link;
    std::unique_ptr<HamlibOperations> m_operations;
    std::unique_ptr<HamlibSettingsWindow> m_window;
    bool m_serverConnectDone = false;
};

#pragma once

#include "app/RadioWiringParts.h"

#include <QStringList>

#include <QObject>
#include <memory>

class HamlibRadio;
class HamlibSettingsWindow;
class TFormHamlib;
struct HamlibSettings;

// The Hamlib model's place in the windows: its "Hamlib…" item in the "Modèle" menu and its
// settings window, and the status lines its radio's link and answers show in.
class HamlibWiring : public QObject
{
    Q_OBJECT
public:
    // `serialPorts`: those the settings window offers.
    HamlibWiring(const RadioWiringParts &parts, const QStringList &serialPorts);
    ~HamlibWiring() override;

    HamlibRadio &radio() { return *m_radio; }
    TFormHamlib &settingsForm() { return *m_form; }

    void MenuHamlibClick();
    // What the settings window's OK does with the settings it checked (the web page's form too).
    void accept(const HamlibSettings &chosen);
    // The band choice enables the band buttons; what the radio lacks stays disabled.
    void followBandChoice();

signals:
    // The first initialisation is over, or there is no radio to initialise: the server may be
    // connected at start.
    void serverMayConnect();

private:
    void showModel();
    void showPort();
    void connectServerOnce();

    RadioWiringParts m_parts;
    const QStringList &m_serialPorts;
    std::unique_ptr<TFormHamlib> m_form;
    std::unique_ptr<HamlibRadio> m_radio;
    std::unique_ptr<HamlibSettingsWindow> m_window;
    bool m_serverConnectDone = false;
};

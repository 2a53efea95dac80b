#pragma once

#include "generic_tx/LineSettings.h"
#include "ui/UpDownArrows.h"

#include <QObject>
#include <memory>

class ControlLines;
class GenericTxRadio;
class LinesWatch;
class ParallelPort;
class Station;
class GenericTxLinesSetup;
class ControlLineDriver;
class GenericTxSetup;
class GenericTxSetupWindow;
class ChannelStepper;

// Generic Up/Down transmitter: chooses the parallel-port backend and the other control lines
// (USB audio interface, GPIO chip) that the settings name, creates the line driver, the stepping
// logic and the setup dialog's logic, and wires them to the station's windows.
class GenericTxWiring : public QObject
{
    Q_OBJECT
public:
    explicit GenericTxWiring(Station &station);
    ~GenericTxWiring() override;

    // The Model menu's item: the radio in use is let go, then the generic model taken.
    void MenuTX16UDClick();
    // What taking the generic model does: menu, RESET, then the port's rest levels.
    void selectModel();
    // At exit, just before the configuration is saved: the transmitter and the port let go.
    void releasePort();

    // What the lines' status line says, for the status file.
    enum class LinesHealth { None, Ok, Error, Lost };
    LinesHealth linesHealth() const { return m_health; }
    // LPT, CM108 or GPIO.
    QString linesKindText() const;
    // INIT with the generic model opens the setup dialog.
    void SpeedButtonInitClick();
    // A click on the panel's arrows: one step, as the server's GENERIC_U or GENERIC_D.
    void UpDownTXClick(UpDownArrows::Direction direction);

    ControlLineDriver &driver() { return *m_driver; }
    ChannelStepper &stepper() { return *m_stepper; }
    GenericTxSetup &setup() { return *m_setup; }
    ParallelPort &port() { return *m_port; }
    GenericTxRadio &radio() { return *m_radio; }
    LinesWatch &linesWatch() { return *m_linesWatch; }
    GenericTxLinesSetup &linesSetup() { return *m_linesSetup; }

    // LINES=, LINESDEVICE=, LINESMAP=: read at activation and changed by the setup dialog's OK.
    LineSettings lineSettings;

private:
    void activatePort();
    // Every output at rest, then the port or device given back; nothing watched any more.
    void letLinesGo();
    // The lines' status line: green when they work, red otherwise.
    void showLines(LinesHealth health, const QString &text);
    // Lines other than the parallel port: built from the settings and opened at rest.
    void activateLines();
    void linesConfirmed();
    void portConfirmed(quint16 base, bool atRest);
    // Logs that the transmitter on the port at `base` is ready.
    void logReady(quint16 base);
    void logReady(const QString &device);

    Station &m_station;
    std::unique_ptr<GenericTxRadio> m_radio;
    std::shared_ptr<ParallelPort> m_port;
    std::unique_ptr<ControlLineDriver> m_driver;
    std::unique_ptr<ChannelStepper> m_stepper;
    std::unique_ptr<GenericTxLinesSetup> m_linesSetup;
    std::unique_ptr<GenericTxSetupWindow> m_setupWindow;
    std::unique_ptr<GenericTxSetup> m_setup;
    std::unique_ptr<ControlLines> m_lines;
    std::unique_ptr<LinesWatch> m_linesWatch;
    LinesHealth m_health = LinesHealth::None;
};

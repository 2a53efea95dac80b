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
class Tx16LinesSetup;
class Tx16PinDriver;
class Tx16Setup;
class Tx16SetupWindow;
class Tx16Stepper;

// Generic Up/Down transmitter: chooses the parallel-port backend and the other control lines
// (USB audio interface, GPIO chip) that the settings name, creates the pin driver, the stepping
// logic and the setup dialog's logic, and wires them to the station's windows.
class GenericTxSubsystem : public QObject
{
    Q_OBJECT
public:
    explicit GenericTxSubsystem(Station &station);
    ~GenericTxSubsystem() override;

    // The Model menu's item: the radio in use is let go, then the generic model taken.
    void MenuTX16UDClick();
    // What taking the generic model does: menu, caption, panel, RESET, then the port's rest
    // levels.
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

    Tx16PinDriver &driver() { return *m_driver; }
    Tx16Stepper &stepper() { return *m_stepper; }
    Tx16Setup &setup() { return *m_setup; }
    ParallelPort &port() { return *m_port; }
    GenericTxRadio &radio() { return *m_radio; }
    LinesWatch &linesWatch() { return *m_linesWatch; }
    Tx16LinesSetup &linesSetup() { return *m_linesSetup; }

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
    std::unique_ptr<Tx16PinDriver> m_driver;
    std::unique_ptr<Tx16Stepper> m_stepper;
    std::unique_ptr<Tx16LinesSetup> m_linesSetup;
    std::unique_ptr<Tx16SetupWindow> m_setupWindow;
    std::unique_ptr<Tx16Setup> m_setup;
    std::unique_ptr<ControlLines> m_lines;
    std::unique_ptr<LinesWatch> m_linesWatch;
    LinesHealth m_health = LinesHealth::None;
};

#pragma once

#include "app/RadioWiringParts.h"

#include "generic_tx/GenericTxLines.h"
#include "generic_tx/LineSettings.h"
#include "ui/UpDownArrows.h"

#include <QObject>
#include <memory>

class ChannelStepper;
class ControlLineDriver;
class GenericTxLinesSetup;
class GenericTxRadio;
class GenericTxSetup;
class GenericTxSetupWindow;
class LinesWatch;
class ParallelPort;
class GenericTxWindowSettings;

// Generic Up/Down transmitter: creates the radio (which owns its line driver, stepping and
// lines) and the setup dialog's logic, and wires them to the station's windows.
class GenericTxWiring : public QObject
{
    Q_OBJECT
    // First, so that the radio is there for the members after.
    RadioWiringParts m_parts;
    GenericTxWindowSettings &m_settings;
    std::unique_ptr<GenericTxRadio> m_radio;

public:
    // `settings`: the setup window's own choices.
    GenericTxWiring(const RadioWiringParts &parts, GenericTxWindowSettings &settings);
    ~GenericTxWiring() override;

    // The Model menu's item: the radio in use is let go, then the generic model taken.
    void MenuTX16UDClick();
    // What taking the generic model does besides opening it: the menu item checked, and the
    // model in use chosen again taken anew (its lines at rest, RESET).
    void selectModel();
    // At exit, just before the configuration is saved: the transmitter and the port let go.
    void releasePort();

    // What the lines' status line says, for the status file.
    using LinesHealth = GenericTxLines::Health;
    LinesHealth linesHealth() const;
    // LPT, CM108 or GPIO.
    QString linesKindText() const;
    // INIT with the generic model opens the setup dialog.
    void SpeedButtonInitClick();
    // A click on the panel's arrows: one step, as the server's GENERIC_U or GENERIC_D.
    void UpDownTXClick(UpDownArrows::Direction direction);

    ControlLineDriver &driver();
    ChannelStepper &stepper();
    GenericTxSetup &setup() { return *m_setup; }
    ParallelPort &port();
    GenericTxRadio &radio() { return *m_radio; }
    LinesWatch &linesWatch();
    GenericTxLinesSetup &linesSetup() { return *m_linesSetup; }

    // LINES=, LINESDEVICE=, LINESMAP=: read at activation and changed by the setup dialog's OK.
    LineSettings &lineSettings;

private:
    // The panel and the setup dialog show the stepping, the keying and the lines.
    void wireViews();
    void wireSetup();

    std::unique_ptr<GenericTxLinesSetup> m_linesSetup;
    std::unique_ptr<GenericTxSetupWindow> m_setupWindow;
    std::unique_ptr<GenericTxSetup> m_setup;
};

#pragma once

#include "core/LanguageTexts.h"
#include "generic_tx/GenericTxSettings.h"
#include "generic_tx/GenericTxSetupForm.h"
#include "generic_tx/PortDiscovery.h"

#include <QObject>
#include <functional>

class Notifier;
class GenericTxLinesSetup;
class ControlLineDriver;
class RadioState;
struct StationState;

// The generic transmitter's setup dialog: the port choice with discovery of the machine's
// parallel ports, the channel grid that edits the channel list, and the settings whose change
// takes effect at once (channel count, base channel, timing).
class GenericTxSetup : public QObject
{
    Q_OBJECT
public:
    // `channels` holds the channel list (its memories) that the grid edits; `settings` are the
    // dialog's other settings.
    GenericTxSetup(StationState &state, RadioState &channels, ControlLineDriver &driver,
                   GenericTxLinesSetup &lines, Notifier &notifier,
                   std::function<Language()> language, GenericTxSettings &settings,
                   GenericTxSetupForm &form, QObject *parent = nullptr);

    void FormShow();
    void BitBtnOKClick();
    void RadioButtonH378Click();
    void RadioButtonH278Click();
    void RadioButtonH3BCClick();
    void RadioButtonH000Click();
    void SpinEditCanalNombreChange();
    void SpinEditCanalResetChange();
    void SpinEditTempoTX16Change();

    // Fills LptAddressText for LPT1..LPT3 from the kernel's parallel-port records.
    void DiscoverParallelPorts();

    // Opening the dialog clears the port choice, which the configuration file saves: when the
    // dialog is left without a new choice (closed, or still open at exit), the port that is
    // still in use is marked again so that it is not lost from the file.
    void restoreUnconfirmedChoice();

    // OK brought the lines of the port at this address to rest, or the port refused.
    std::function<void(quint16 base, bool atRest)> portConfirmed;
    // OK changed what carries the lines: the new settings are to be used.
    std::function<void()> linesConfirmed;

    // Where the kernel's records are read; a test points it at a tree of its own.
    QString procRoot = QStringLiteral("/proc");

    const PortDiscovery::AddressTexts &LptAddressText() const { return m_lptAddressText; }
    quint16 LptSelected() const { return m_lptSelected; }

signals:
    // The channel count the dialog now holds.
    void channelCountChanged(int count);
    // The stepping period, kept within its range, for the next step.
    void periodChanged(int ms);

private:
    void portRefresh();
    // The grid into the channel list; false, with a message, at the first bad row.
    bool applyGrid();
    void choosePort(quint16 address);

    StationState &m_state;
    RadioState &m_channels;
    ControlLineDriver &m_driver;
    GenericTxLinesSetup &m_lines;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    GenericTxSettings &m_settings;
    GenericTxSetupForm &m_form;

    PortDiscovery::AddressTexts m_lptAddressText = PortDiscovery::initialTexts();
    PortDiscovery::Addresses m_lptAddress{0, 0, 0};
    quint16 m_lptSelected = 0;
    GenericTxSettings::Port m_choiceBeforeOpening = GenericTxSettings::Port::None;
};

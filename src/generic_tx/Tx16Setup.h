#pragma once

#include "core/LanguageTexts.h"
#include "generic_tx/PortDiscovery.h"
#include "generic_tx/Tx16Settings.h"

#include <QObject>
#include <functional>

class Notifier;
class QLabel;
class QTableWidget;
class QTimer;
class QWidget;
class Tx16LinesSetup;
class Tx16PinDriver;
class RadioState;
struct StationState;

// The setup dialog, its channel grid, and what of the main window the setup logic works on.
struct Tx16SetupWidgets
{
    QWidget *FormInitTX16;
    QTableWidget *StringGridTX16MEM;
    QLabel *Label16;
    QTimer *TimerTX16;
};

// The generic transmitter's setup dialog: the port choice with discovery of the machine's
// parallel ports, the channel grid that edits the channel list, and the settings whose change
// takes effect at once (channel count, base channel, timing).
class Tx16Setup : public QObject
{
    Q_OBJECT
public:
    // `channels` holds the channel list (its memories) that the grid edits; `settings` are the
    // dialog's other settings.
    Tx16Setup(StationState &state, RadioState &channels, Tx16PinDriver &driver,
              Tx16LinesSetup &lines, Notifier &notifier, std::function<Language()> language,
              Tx16Settings &settings, const Tx16SetupWidgets &widgets, QObject *parent = nullptr);

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

private:
    void portRefresh();
    // The grid into the channel list; false, with a message, at the first bad row.
    bool applyGrid();
    void choosePort(quint16 address);
    void setupGrid();
    QString cellText(int row, int column) const;
    void setCell(int row, int column, const QString &text);

    StationState &m_state;
    RadioState &m_channels;
    Tx16PinDriver &m_driver;
    Tx16LinesSetup &m_lines;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    Tx16Settings &m_settings;
    Tx16SetupWidgets m_w;

    PortDiscovery::AddressTexts m_lptAddressText = PortDiscovery::initialTexts();
    PortDiscovery::Addresses m_lptAddress{0, 0, 0};
    quint16 m_lptSelected = 0;
    Tx16Settings::Port m_choiceBeforeOpening = Tx16Settings::Port::None;
};

#include "generic_tx/GenericTxSetup.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/ControlLineDriver.h"
#include "generic_tx/GenericTxLinesSetup.h"
#include "radio/RadioState.h"

namespace {
constexpr int MinPeriodMs = 200;
constexpr int MaxPeriodMs = 1000;
using Port = GenericTxSettings::Port;
} // namespace

GenericTxSetup::GenericTxSetup(StationState &state, RadioState &channels, ControlLineDriver &driver,
                               GenericTxLinesSetup &lines, Notifier &notifier,
                               std::function<Language()> language, GenericTxSettings &settings,
                               GenericTxSetupForm &form, QObject *parent)
    : QObject(parent), m_state(state), m_channels(channels), m_driver(driver), m_lines(lines),
      m_notifier(notifier), m_language(std::move(language)), m_settings(settings), m_form(form)
{
}

void GenericTxSetup::DiscoverParallelPorts()
{
    PortDiscovery::discover(procRoot, m_lptAddressText);
}

void GenericTxSetup::portRefresh()
{
    DiscoverParallelPorts();
    m_lptAddress = PortDiscovery::addresses(m_lptAddressText);
    // A port the machine does not have says so, rather than offering an address of 0000h.
    const QString none = messageText(m_language(), MessageId::LptPortMissing);
    const std::array<Port, 3> choices{Port::Lpt378, Port::Lpt278, Port::Lpt3BC};
    for (std::size_t n = 0; n < choices.size(); ++n)
        m_settings.setPortCaption(choices[n], m_lptAddress[n] != 0
                                                  ? PortDiscovery::choiceCaption(m_lptAddress[n])
                                                  : none);
}

void GenericTxSetup::FormShow()
{
    portRefresh();
    // The port is chosen again on every opening, unless it is a typed-in address.
    m_choiceBeforeOpening = Port::None;
    if (const Port shown = m_settings.port(); shown != Port::None && shown != Port::User) {
        m_choiceBeforeOpening = shown;
        m_settings.markPort(shown, false);
    }

    m_form.setColumnTitles({QStringLiteral("MEM"), QStringLiteral(" F = xxx.yyyyyy (MHz)"),
                            QStringLiteral(" Comments")});
    for (int row = 1; row <= ChannelList::EntryCount; ++row) {
        m_form.setCell(row, 0, QString::number(row));
        m_form.lockCell(row, 0);
        for (const QString &entry : m_channels.memories()) {
            const ChannelGridCells cells = ChannelList::gridCellsFromEntry(row, entry);
            if (cells.frequency)
                m_form.setCell(row, 1, *cells.frequency);
            if (cells.comment)
                m_form.setCell(row, 2, *cells.comment);
        }
    }
    m_lines.FormShow();
    m_form.focusGrid();
}

void GenericTxSetup::BitBtnOKClick()
{
    if (m_lines.chosenKind() != LinesKind::ParallelPort) {
        if (!m_lines.confirm() || !applyGrid())
            return;
        m_choiceBeforeOpening = Port::None;
        m_form.close();
        if (linesConfirmed)
            linesConfirmed();
        return;
    }
    // An address typed after "User" was chosen counts as typed.
    if (m_settings.port() == Port::User)
        m_lptSelected = PortDiscovery::parseHexAddress(m_settings.typedAddress());
    if (m_lptSelected == 0 || m_settings.port() == Port::None) {
        m_notifier.warning(messageText(m_language(), MessageId::LptNotChosen));
        return;
    }
    if (!applyGrid())
        return;
    // Back on the parallel port from other lines: those are let go before its rest levels.
    if (m_lines.confirmParallelPort() && linesConfirmed)
        linesConfirmed();

    portRefresh();
    // The rest levels are checked: a port that refuses the writes must not be shown as working.
    const bool atRest = m_driver.writeIdleLevelsAt(m_lptSelected);
    if (!atRest)
        m_notifier.beep();
    if (portConfirmed)
        portConfirmed(m_lptSelected, atRest);
    m_choiceBeforeOpening = Port::None;
    m_form.close();
    m_state.LptBase = m_lptSelected;
}

bool GenericTxSetup::applyGrid()
{
    QStringList entries = m_channels.memories();
    for (int row = 1; row <= ChannelList::EntryCount; ++row) {
        const std::optional<QString> entry =
            ChannelList::entryFromGrid(row, m_form.cell(row, 1), m_form.cell(row, 2));
        if (!entry) {
            // Rows above this one stay applied; the operator corrects this one and confirms again.
            m_channels.updateMemories(entries);
            m_notifier.warning(messageText(m_language(), MessageId::ChannelRowFormatError));
            m_form.focusGrid();
            m_form.focusCell(row, 1);
            return false;
        }
        ChannelList::padWithEmptyEntries(entries, row);
        entries[row - 1] = *entry;
    }
    m_channels.updateMemories(entries);
    if (m_state.Tx16Channel >= 1 && m_state.Tx16Channel <= entries.size())
        m_channels.setCurrentMemory(m_state.Tx16Channel - 1);
    return true;
}

void GenericTxSetup::restoreUnconfirmedChoice()
{
    if (m_settings.port() == Port::None && m_choiceBeforeOpening != Port::None &&
        m_state.LptBase != 0)
        m_settings.markPort(m_choiceBeforeOpening, true);
    m_choiceBeforeOpening = Port::None;
}

void GenericTxSetup::RadioButtonH378Click()
{
    portRefresh();
    choosePort(m_lptAddress[0]);
}

void GenericTxSetup::RadioButtonH278Click()
{
    portRefresh();
    choosePort(m_lptAddress[1]);
}

void GenericTxSetup::RadioButtonH3BCClick()
{
    portRefresh();
    choosePort(m_lptAddress[2]);
}

void GenericTxSetup::RadioButtonH000Click()
{
    portRefresh();
    choosePort(PortDiscovery::parseHexAddress(m_settings.typedAddress()));
}

void GenericTxSetup::choosePort(quint16 address)
{
    m_lptSelected = address;
    if (address == 0)
        m_notifier.error(messageText(m_language(), MessageId::LptNumberError));
    // Effective at once for the pin operations, also when it is 0 (no port).
    m_state.LptBase = address;
}

void GenericTxSetup::SpinEditCanalNombreChange()
{
    const int count = m_settings.channelCount();
    // Its own change handler follows when the base channel is lowered.
    m_settings.keepBaseChannelWithin(count);
    emit channelCountChanged(count);
}

void GenericTxSetup::SpinEditCanalResetChange()
{
    m_state.Tx16BaseChannel = m_settings.baseChannel();
}

void GenericTxSetup::SpinEditTempoTX16Change()
{
    const int period = qBound(MinPeriodMs, m_settings.period(), MaxPeriodMs);
    m_state.Tx16Tempo = period;
    emit periodChanged(period);
}

#include "kenwood/KenwoodOperations.h"

#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/RigLink.h"
#include "radio/MemoryEntry.h"
#include "radio/RadioState.h"

using namespace Kenwood;

KenwoodOperations::KenwoodOperations(StationState &state, RadioState &radio, RigLink &link,
                                     TrafficLine &traffic,
                                     std::function<std::optional<Model>()> model)
    : m_state(state), m_radio(radio), m_link(link), m_traffic(traffic), m_model(std::move(model))
{
}

QCoro::Task<QString> KenwoodOperations::send(const QString &command)
{
    return m_link.exchange(command);
}

// The first reply of a band, VFO or memory operation decides whether it goes on.
bool KenwoodOperations::answered(const QString &reply)
{
    if (isTimeout(reply))
        return false;
    m_state.setRigStatus(1);
    m_radio.announceRigStatus();
    return true;
}

void KenwoodOperations::releaseScan(int band, bool enabled)
{
    m_radio.setScanning(band, false);
    m_radio.setScanAvailable(band, enabled);
}

// A display cleared while the radio is set up again (or not read yet) says nothing of its
// frequency: the server is not answered an empty line for it.
void KenwoodOperations::takeFrequency(const QString &frequency)
{
    if (!frequency.trimmed().isEmpty())
        m_state.setCurrentFrequency(frequency);
}

void KenwoodOperations::showMemoryEntry(int band, int index)
{
    m_radio.setCurrentMemory(index);
    m_radio.setMemoryText(band, m_radio.memories().value(index));
    if (m_state.ActiveBand == band)
        takeFrequency(MemoryEntry::frequency(m_radio.band(band).memoryText));
}

QCoro::Task<> KenwoodOperations::selectBand(int band)
{
    const std::optional<Model> model = m_model();
    if (!model)
        co_return;
    m_traffic.clear();
    const QString select = bandSelectCommand(band);
    const QString reply = co_await send(select);
    if (!answered(reply))
        co_return;
    if (reply.contains(select)) {
        m_radio.setTransmitBand(band);
        m_state.setActiveBand(band);
    }

    QString &vfoRange = band == 1 ? m_state.VfoBandB : m_state.VfoBandA;
    if (*model == Model::TMD700) {
        const QString rangeReply = co_await send(QStringLiteral("RBN"));
        if (const std::optional<QChar> range = vfoRangeFromReply(rangeReply))
            vfoRange = QString(*range);
    }
    const QString read = vfoReadCommand(band, vfoRange, *model);
    QString kept = co_await send(read);
    kept += co_await send(QStringLiteral("REP 0"));
    const std::optional<QString> display = vfoDisplayText(kept, read, *model);
    if (!display)
        co_return;
    m_radio.setVfoText(band, *display);

    const bool vfo = band == 1 ? m_state.VfoModeB : m_state.VfoModeA;
    const bool memory = band == 1 ? m_state.MemModeB : m_state.MemModeA;
    if (vfo) {
        takeFrequency(frequencyOfVfoDisplay(*display));
        releaseScan(0, false);
        releaseScan(1, false);
    }
    if (memory) {
        takeFrequency(MemoryEntry::frequency(m_radio.band(band).memoryText));
        releaseScan(band, true);
        releaseScan(1 - band, false);
    }
}

QCoro::Task<> KenwoodOperations::vfoMode(int band)
{
    const std::optional<Model> model = m_model();
    if (!model)
        co_return;
    m_traffic.clear();
    const QString command = vfoModeCommand(band, *model);
    const QString reply = co_await send(command);
    if (!answered(reply) || !reply.contains(command))
        co_return;
    m_radio.setMode(band, RadioState::Mode::Vfo);
    (band == 1 ? m_state.VfoModeB : m_state.VfoModeA) = true;
    (band == 1 ? m_state.MemModeB : m_state.MemModeA) = false;
    releaseScan(band, false);
    if (m_state.ActiveBand == band)
        takeFrequency(frequencyOfVfoDisplay(m_radio.band(band).vfoText));
}

QCoro::Task<> KenwoodOperations::memoryMode(int band)
{
    const std::optional<Model> model = m_model();
    if (!model)
        co_return;
    m_traffic.clear();
    if (!m_state.InitInProgress)
        m_state.MemoryNumberText = m_radio.currentMemory() < 0
                                       ? QString()
                                       : MemoryEntry::channel(m_radio.currentMemoryText());
    const QString command = memoryModeCommand(band, *model);
    const QString reply = co_await send(command);
    if (!answered(reply))
        co_return;
    if (reply.contains(command)) {
        m_radio.setMode(band, RadioState::Mode::Memory);
        (band == 1 ? m_state.MemModeB : m_state.MemModeA) = true;
        (band == 1 ? m_state.VfoModeB : m_state.VfoModeA) = false;
        if (m_state.ActiveBand == band)
            releaseScan(band, true);
    }

    if (!m_state.MemoryNumberText.isEmpty()) {
        const QString number = m_state.MemoryNumberText;
        const QString select = selectMemoryCommand(band, number, *model);
        if (!(co_await send(select)).contains(select))
            co_return;
        // The entry of the channel just selected, which is the current one unless the list was
        // read again since the number was chosen.
        const int index = m_radio.memoryIndex(number);
        if (index >= 0) {
            showMemoryEntry(band, index);
        } else {
            m_radio.setMemoryText(band, m_radio.currentMemoryText());
            if (m_state.ActiveBand == band)
                takeFrequency(MemoryEntry::frequency(m_radio.band(band).memoryText));
        }
        co_return;
    }

    const ChannelReply channel = channelFromReply(co_await send(channelQueryCommand(band, *model)));
    if (channel.noChannel)
        co_return;
    const int index = m_radio.memoryIndex(channel.channel);
    if (index >= 0)
        showMemoryEntry(band, index);
}

// A position already set sends nothing, as a slider that does not move.
QCoro::Task<> KenwoodOperations::setPower(int band, int position)
{
    if (m_radio.band(band).power == position)
        co_return;
    m_radio.setPower(band, position);
    co_await send(powerSetCommand(band, position));
}

QCoro::Task<> KenwoodOperations::setScan(int band, bool on)
{
    m_radio.setScanning(band, on);
    co_await send(on ? QStringLiteral("SC 1") : QStringLiteral("SC 0"));
}

// The state changes before the command goes out, as the toggle did under the operator's click:
// whoever watches the keying learns it before the exchange runs.
QCoro::Task<> KenwoodOperations::setTransmit(bool on)
{
    m_radio.setKeyed(on);
    if (on)
        co_await send(QStringLiteral("TX"));
    else
        co_await m_link.exchange(QStringLiteral("RX"), RigLink::Turn::First);
}

QCoro::Task<> KenwoodOperations::updateFrequencyForReport()
{
    const std::optional<Model> model = m_model();
    if (!model)
        co_return;
    if (!replySaysNotScanning(co_await send(QStringLiteral("SC")))) {
        m_state.setCurrentFrequency(QStringLiteral("999.999999"));
        co_return;
    }
    const int band = m_state.ActiveBand;
    if (!(band == 1 ? m_state.MemModeB : m_state.MemModeA)) {
        // The VFO frequency last read, as its display shows it: an earlier report that found the
        // radio scanning or silent must not stand for it once the radio answers again.
        const QString vfo = m_radio.band(band).vfoText;
        if (!vfo.isEmpty())
            takeFrequency(frequencyOfVfoDisplay(vfo));
        co_return;
    }
    const ChannelReply channel = channelFromReply(co_await send(channelQueryCommand(band, *model)));
    if (channel.noChannel) {
        m_state.setCurrentFrequency(QStringLiteral("000.000000"));
        co_return;
    }
    const int index = m_radio.memoryIndex(channel.channel);
    if (index >= 0)
        showMemoryEntry(band, index);
}

QCoro::Task<> KenwoodOperations::updateFrequency(std::function<void()> done)
{
    co_await updateFrequencyForReport();
    done();
}

void KenwoodOperations::resetIndicators()
{
    m_radio.resetLamps();
    m_radio.clearDisplays();
}

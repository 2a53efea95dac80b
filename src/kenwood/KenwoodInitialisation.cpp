#include "kenwood/KenwoodInitialisation.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "core/TrafficLine.h"
#include "kenwood/KenwoodCommands.h"
#include "kenwood/KenwoodOperations.h"
#include "kenwood/KenwoodReplies.h"
#include "kenwood/MemoryListReader.h"
#include "kenwood/RigLink.h"
#include "radio/MemoryEntry.h"
#include "radio/RadioState.h"

using namespace Kenwood;

KenwoodInitialisation::KenwoodInitialisation(StationState &state, RadioState &radio, RigLink &link,
                                             KenwoodOperations &operations, TrafficLine &traffic,
                                             Notifier &notifier,
                                             std::function<std::optional<Model>()> model,
                                             std::function<QString()> portName)
    : m_state(state), m_link(link), m_operations(operations), m_traffic(traffic), m_radio(radio),
      m_notifier(notifier), m_model(std::move(model)), m_portName(std::move(portName))
{
}

bool KenwoodInitialisation::stopOnTimeout(const QString &reply)
{
    if (!isTimeout(reply))
        return false;
    // The link has already turned the status line red and cleared RigAnswering.
    m_state.setRigStatus(0);
    m_state.setRigAnswering(false);
    m_radio.announceRigStatus();
    return true;
}

QCoro::Task<KenwoodInitialisation::Outcome>
KenwoodInitialisation::ButtoninitClick(bool readMemories)
{
    if (m_portName().isEmpty()) {
        m_notifier.information(m_state.statusMessage(StatusMessage::NoPortSelected));
        co_return Outcome{};
    }
    m_link.clearBuffers();
    // Receive first, whatever the program believes: a copy that crashed, or a "TX" whose reply
    // never came, may have left the radio keyed.
    if (m_radio.keyed())
        co_await m_operations.setTransmit(false);
    else if (m_link.unkeyOwed())
        co_await m_link.exchange(QStringLiteral("RX"));
    if (m_link.unkeyOwed() && stopOnTimeout(TimeoutReply.toString()))
        co_return Outcome{Outcome::NoAnswer, std::nullopt};

    const std::optional<Model> model = m_model();
    if (!model)
        co_return Outcome{};
    if (stopOnTimeout(co_await m_link.exchange(QStringLiteral("AI 0"))))
        co_return Outcome{Outcome::NoAnswer, std::nullopt};
    const QString id = co_await m_link.exchange(QStringLiteral("ID"));
    if (stopOnTimeout(id))
        co_return Outcome{Outcome::NoAnswer, std::nullopt};
    if (!idReplyMatches(id, *model)) {
        const StatusMessage message = *model == Model::TMD700   ? StatusMessage::NotTmd700
                                      : *model == Model::TMD710 ? StatusMessage::NotTmd710
                                                                : StatusMessage::NotTmv71;
        m_notifier.warning(m_state.statusMessage(message));
        m_state.setRigAnswering(false);
        co_return Outcome{Outcome::WrongModel, modelOfIdReply(id)};
    }
    m_state.setRigAnswering(true);
    co_return co_await setUp(*model, readMemories);
}

QCoro::Task<KenwoodInitialisation::Outcome> KenwoodInitialisation::setUp(Model model,
                                                                         bool readMemories)
{
    co_await m_link.exchange(QStringLiteral("REP 0"));
    if (model == Model::TMD700) {
        co_await m_link.exchange(QStringLiteral("VSC 0"));
        co_await m_link.exchange(QStringLiteral("RC 0"));
    }

    if (readMemories || m_radio.memories().isEmpty()) {
        m_traffic.clear();
        m_radio.setMemories({});
        const MemoryListRead memories =
            co_await readMemoryList(m_link, model, m_state.NumberOfMemories);
        if (memories.timedOut) {
            stopOnTimeout(TimeoutReply.toString());
            co_return Outcome{Outcome::NoAnswer, std::nullopt};
        }
        // No entry is chosen yet: memory mode then shows the channel the radio is on.
        m_radio.setMemories(memories.entries);
        co_await m_link.exchange(QStringLiteral("REP 0"));
    }

    co_await selectBands();
    m_state.setInitInProgress(true);
    co_await readModes(model);
    co_await m_link.exchange(QStringLiteral("REP 0"));
    m_state.setInitInProgress(false);
    // A radio that went silent on the way is not ready: its recovery initialises it again.
    if (!m_state.RigAnswering)
        co_return Outcome{Outcome::NoAnswer, std::nullopt};

    m_state.setRigStatus(3);
    m_radio.announceRigStatus();
    takeCurrentFrequency();
    co_await setPower(0, m_state.PowerA);
    co_await setPower(1, m_state.PowerB);
    m_radio.setPanelEnabled(true);
    if (completed)
        completed();
    co_return Outcome{Outcome::Ready, std::nullopt};
}

QCoro::Task<> KenwoodInitialisation::selectBands()
{
    if (m_state.Bands == StationState::BandChoice::A) {
        co_await m_operations.selectBand(0);
    } else if (m_state.Bands == StationState::BandChoice::B) {
        co_await m_operations.selectBand(1);
    } else {
        const BandChoice choice =
            bandChoiceFromReply(co_await m_link.exchange(QStringLiteral("BC")));
        if (choice.bandA)
            co_await m_operations.selectBand(0);
        if (choice.bandB)
            co_await m_operations.selectBand(1);
    }
}

QCoro::Task<> KenwoodInitialisation::readModes(Model model)
{
    const bool allowed[2] = {m_state.bandAllowed(0), m_state.bandAllowed(1)};
    for (int band = 0; band < 2; ++band) {
        if (!allowed[band])
            continue;
        const QString reply = co_await m_link.exchange(modeQueryCommand(band, model));
        if (replyShowsVfoMode(reply, band, model))
            co_await m_operations.vfoMode(band);
        else if (replyShowsMemoryMode(reply, band, model))
            co_await m_operations.memoryMode(band);
    }
}

void KenwoodInitialisation::takeCurrentFrequency()
{
    const int band = m_state.ActiveBand;
    if (band == 1 ? m_state.VfoModeB : m_state.VfoModeA)
        m_operations.takeFrequency(frequencyOfVfoDisplay(m_radio.band(band).vfoText));
    if (band == 1 ? m_state.MemModeB : m_state.MemModeA)
        m_operations.takeFrequency(MemoryEntry::frequency(m_radio.band(band).memoryText));
}

// A power from the configuration is set (and sent when the position changes); without one the
// position follows what the radio says (and is sent back when it differs from the one shown).
QCoro::Task<> KenwoodInitialisation::setPower(int band, int configured)
{
    if (configured >= 0) {
        co_await m_operations.setPower(band, qMin(configured, 2));
        co_return;
    }
    const std::optional<int> level =
        powerLevelFromReply(co_await m_link.exchange(powerQueryCommand(band)));
    if (level)
        co_await m_operations.setPower(band, *level);
}

#include "hamlib/HamlibOperations.h"

#include "core/EventLog.h"
#include "core/StationState.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibTexts.h"
#include "radio/MemoryEntry.h"
#include "radio/RadioState.h"

HamlibOperations::HamlibOperations(StationState &state, RadioState &radio, EventLog &log,
                                   HamlibLink &link)
    : m_state(state), m_radio(radio), m_log(log), m_link(link),
      m_powers(state, radio, log, link, [this] {
          return m_link.isStarted() && m_state.RigAnswering && m_initialised && !m_initialising;
      })
{
    m_retry.setInterval(RetryMs);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &HamlibOperations::retry);
    // A link that ends while nothing is asked (a rigctld stopped) turns the status line red
    // within a period, not at the server's next request.
    m_watch.setInterval(RetryMs);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (m_link.isStarted() && m_state.RigAnswering && m_link.outstanding() == 0)
            m_link.checkLink();
    });
    m_watch.start();
    connect(&link, &HamlibLink::opened, this, &HamlibOperations::opened);
    connect(&link, &HamlibLink::memoriesRead, this, &HamlibOperations::memoriesRead);
    connect(&link, &HamlibLink::bandRead, this, &HamlibOperations::bandRead);
    connect(&link, &HamlibLink::frequencyRead, this, &HamlibOperations::frequencyRead);
    connect(&link, &HamlibLink::answered, this, &HamlibOperations::answered);
    connect(&link, &HamlibLink::failed, this, &HamlibOperations::failed);
    connect(&link, &HamlibLink::refused, this, &HamlibOperations::refused);
    connect(&link, &HamlibLink::powerNotTaken, this, [this](int band) { m_powers.notTaken(band); });
}

bool HamlibOperations::memoryModeOf(int band) const
{
    return band == 1 ? m_state.MemModeB : m_state.MemModeA;
}

bool HamlibOperations::canScan(int band) const
{
    return band == m_state.ActiveBand && (memoryModeOf(band) ? m_caps.scanMemory : m_caps.scanVfo);
}

void HamlibOperations::selectBand(int band)
{
    m_link.selectBand(band);
}

void HamlibOperations::vfoMode(int band)
{
    m_channelAsked[band] = -1;
    m_link.setMode(band, m_state.ActiveBand, false, -1);
}

void HamlibOperations::memoryMode(int band)
{
    if (!m_state.InitInProgress)
        m_state.MemoryNumberText = m_radio.currentMemory() < 0
                                       ? QString()
                                       : MemoryEntry::channel(m_radio.currentMemoryText());
    bool ok = false;
    const int channel = m_state.MemoryNumberText.toInt(&ok);
    m_channelAsked[band] = ok ? channel : -1;
    m_link.setMode(band, m_state.ActiveBand, true, m_channelAsked[band]);
}

void HamlibOperations::setScan(int band, bool on)
{
    m_radio.setScanning(band, on);
    m_link.setScan(band, on);
}

void HamlibOperations::setTransmit(bool on)
{
    m_radio.setKeyed(on);
    m_link.setTransmit(on);
}

void HamlibOperations::setPower(int band, int position)
{
    m_powers.set(band, position);
}

void HamlibOperations::updateFrequency(std::function<void()> done)
{
    const bool ask = m_link.isStarted() && m_state.RigAnswering;
    // Answers come back in the order of the requests, one each.
    m_frequencyRequests.push_back({std::move(done), ask});
    if (ask)
        m_link.readFrequency(m_state.ActiveBand);
    else
        answerUnaskedRequests();
}

void HamlibOperations::answerUnaskedRequests()
{
    while (!m_frequencyRequests.empty() && !m_frequencyRequests.front().asked) {
        std::function<void()> done = std::move(m_frequencyRequests.front().done);
        m_frequencyRequests.pop_front();
        m_state.setCurrentFrequency(QStringLiteral("000.000000"));
        if (done)
            done();
    }
}

void HamlibOperations::initialise(std::function<void()> finished)
{
    m_initFinished = std::move(finished);
    m_initialising = true;
    m_initialised = false;
    m_state.setRigStatus(2);
    m_radio.announceRigStatus();
    m_radio.setPanelEnabled(false);
    m_radio.resetLamps();
    m_radio.clearDisplays();
    m_state.setActiveBand(m_state.Bands == StationState::BandChoice::B ? 1 : 0);
    requestInitialState();
}

void HamlibOperations::requestInitialState()
{
    m_initialising = true;
    m_link.readMemories(m_state.NumberOfMemories);
    // The band choice names the band that transmits; with both, the radio's own stays.
    const bool both = m_state.Bands == StationState::BandChoice::Both;
    m_link.readInitialState(both ? -1 : m_state.ActiveBand, both);
}

void HamlibOperations::applyCapabilities()
{
    const bool bandA = m_state.bandAllowed(0);
    const bool bandB = m_state.bandAllowed(1) && m_caps.twoBands;
    m_radio.setBandSelectable(0, bandA);
    m_radio.setBandSelectable(1, bandB);
    m_radio.setMemoryListAvailable(m_caps.memoryMode);
    m_radio.setTransmitAvailable(m_caps.ptt);
    for (int band : {0, 1}) {
        m_radio.setMemoryAvailable(band, m_caps.memoryMode);
        m_radio.setPowerAvailable(band, m_powers.canSet(band));
        m_radio.setScanAvailable(band, canScan(band));
    }
}

void HamlibOperations::enableAllControls()
{
    m_radio.setMemoryListAvailable(true);
}

void HamlibOperations::dropPending()
{
    m_frequencyRequests.clear();
    m_retry.stop();
    m_initialising = false;
    m_initFinished = nullptr;
}

void HamlibOperations::opened(const HamlibCapabilities &caps)
{
    m_caps = caps;
    m_state.setModelLabel(caps.model + QLatin1Char(' '));
    m_radio.setTitle(caps.title());
    m_powers.setCapabilities(caps);
    applyCapabilities();
}

void HamlibOperations::memoriesRead(const QStringList &entries)
{
    // No entry is chosen yet: memory mode then shows the channel the radio is on.
    m_radio.setMemories(entries);
}

void HamlibOperations::bandRead(const HamlibBandState &state)
{
    const int band = state.band;
    // Only the band selection moves the band that transmits.
    if (state.selected) {
        m_state.setActiveBand(band);
        m_radio.setTransmitBand(band);
        m_radio.setScanning(1 - band, false);
        m_radio.setScanAvailable(1 - band, false);
    }
    const bool active = band == m_state.ActiveBand;
    m_radio.setMode(band, state.memoryMode ? RadioState::Mode::Memory : RadioState::Mode::Vfo);
    (band == 1 ? m_state.VfoModeB : m_state.VfoModeA) = !state.memoryMode;
    (band == 1 ? m_state.MemModeB : m_state.MemModeA) = state.memoryMode;

    const QString frequency = HamlibTexts::frequencyText(state.frequencyHz);
    if (state.memoryMode) {
        const QString channel = QStringLiteral("%1").arg(state.channel, 3, 10, QLatin1Char('0'));
        const int index = state.channel < 0 ? -1 : m_radio.memoryIndex(channel);
        QString entry;
        if (index >= 0) {
            m_radio.setCurrentMemory(index);
            entry = m_radio.memories().value(index);
        } else if (state.frequencyHz > 0) {
            entry = HamlibTexts::memoryEntry(state.channel, state.frequencyHz, state.shiftText, {});
        }
        if (!entry.isEmpty()) {
            m_radio.setMemoryText(band, entry);
            if (active)
                m_state.setCurrentFrequency(MemoryEntry::frequency(entry));
        }
    } else {
        m_radio.setVfoText(band,
                           QStringLiteral("F=") + frequency + QLatin1Char(' ') + state.shiftText);
        if (active)
            m_state.setCurrentFrequency(frequency);
    }
    m_radio.setScanAvailable(m_state.ActiveBand, canScan(m_state.ActiveBand));
    // Without a configured power the slider shows the radio's.
    if (state.power >= 0 && state.power <= 2 && (band == 1 ? m_state.PowerB : m_state.PowerA) < 0) {
        m_powers.read(band, state.power);
    }

    // The band that transmits is read last.
    if (m_initialising && !state.selected)
        return;
    if (m_initialising) {
        finishInitialisation();
    } else {
        m_state.setRigStatus(1);
        m_radio.announceRigStatus();
    }
}

void HamlibOperations::finishInitialisation()
{
    m_initialising = false;
    m_initialised = true;
    m_state.setRigStatus(3);
    m_radio.announceRigStatus();
    // A configured power is sent even when the slider already shows it.
    for (int band : {0, 1}) {
        const int configured = band == 1 ? m_state.PowerB : m_state.PowerA;
        if (configured < 0 || !m_powers.canSet(band))
            continue;
        m_powers.show(band, qMin(configured, 2));
        m_powers.send(band);
    }
    m_powers.applyWaiting();
    m_radio.setPanelEnabled(true);
    applyCapabilities();
    emit radioReady();
    if (auto finished = std::exchange(m_initFinished, nullptr))
        finished();
}

void HamlibOperations::frequencyRead(const HamlibFrequency &frequency)
{
    if (m_frequencyRequests.empty() || !m_frequencyRequests.front().asked)
        return;
    std::function<void()> done = std::move(m_frequencyRequests.front().done);
    m_frequencyRequests.pop_front();
    const int band = m_state.ActiveBand;
    if (m_radio.band(band).scanning) {
        m_state.setCurrentFrequency(QStringLiteral("999.999999"));
    } else if (!frequency.answered) {
        m_state.setCurrentFrequency(QStringLiteral("000.000000"));
    } else if (frequency.memoryMode) {
        // The memory list's entry of the channel, as for the Kenwood; the channel's own record
        // when the list does not hold it.
        const int index = m_radio.memoryIndex(
            QStringLiteral("%1").arg(frequency.channel, 3, 10, QLatin1Char('0')));
        if (index >= 0) {
            m_radio.setCurrentMemory(index);
            m_radio.setMemoryText(band, m_radio.memories().value(index));
            m_state.setCurrentFrequency(MemoryEntry::frequency(m_radio.memories().value(index)));
        } else {
            m_state.setCurrentFrequency(HamlibTexts::frequencyText(frequency.frequencyHz));
        }
    } else {
        m_state.setCurrentFrequency(HamlibTexts::frequencyText(frequency.frequencyHz));
    }
    if (done)
        done();
    answerUnaskedRequests();
}

void HamlibOperations::answered()
{
    m_retry.stop();
    if (m_state.RigAnswering && m_state.RigStatus != 0)
        return;
    if (!m_lastError.isEmpty())
        m_log.append(QStringLiteral("Hamlib: radio answers"));
    m_lastError.clear();
    m_state.setRigAnswering(true);
    if (m_state.RigStatus == 0 && !m_initialising) {
        m_state.setRigStatus(m_initialised ? 1 : 2);
        m_radio.announceRigStatus();
    }
    if (m_initialised && !m_initialising) {
        m_radio.setPanelEnabled(true);
        m_powers.applyWaiting();
    }
}

void HamlibOperations::failed(const QString &error)
{
    // The program no longer keys a radio it cannot reach: it is unkeyed when it answers again,
    // and the server keys it again if it wants.
    if (m_radio.keyed()) {
        m_radio.setKeyed(false);
        m_link.setTransmit(false);
    }
    m_state.setRigAnswering(false);
    m_state.setRigStatus(0);
    m_radio.announceRigStatus();
    // Nothing on the panel would reach the radio, as with a silent Kenwood.
    m_radio.setPanelEnabled(false);
    // One log line per fault, not one per retry.
    if (error != m_lastError)
        m_log.append(QStringLiteral("Hamlib ") + error);
    m_lastError = error;
    if (!m_retry.isActive())
        m_retry.start();
    if (m_initialising) {
        m_initialising = false;
        if (auto finished = std::exchange(m_initFinished, nullptr))
            finished();
    }
}

// The radio is there but did not take the command: its error goes to the log, and the control
// that asked shows again what the radio does.
void HamlibOperations::refused(const QString &error, HamlibRequest request, int band)
{
    const QString line = QStringLiteral("Hamlib ") + error;
    switch (request) {
    case HamlibRequest::Scan:
        m_log.append(line);
        m_radio.setScanning(band, false);
        break;
    case HamlibRequest::Transmit:
        refusedKeying(line);
        break;
    case HamlibRequest::Power:
        m_log.append(line);
        m_powers.refused(band);
        break;
    case HamlibRequest::Mode:
        m_log.append(line + refusedRecallReason(band));
        break;
    case HamlibRequest::Band:
    case HamlibRequest::Read:
        // Nothing moved on the panel: it follows the radio's answers only.
        m_log.append(line);
        break;
    }
}

// One line for a refused keying, with what rigctld lacks when it is one: the unkey that puts
// the button back is refused the same way and says nothing more.
void HamlibOperations::refusedKeying(const QString &line)
{
    if (!m_radio.keyed()) {
        if (!std::exchange(m_keyingRefused, false))
            m_log.append(line);
        return;
    }
    m_keyingRefused = true;
    m_log.append(
        line + QStringLiteral(": the radio refused keying") +
        (m_caps.network ? QStringLiteral("; rigctld needs a PTT type (-P RIG)") : QString()));
    setTransmit(false);
}

QString HamlibOperations::refusedRecallReason(int band)
{
    const int channel = std::exchange(m_channelAsked[band], -1);
    if (channel < 0)
        return QString();
    const QString number = QStringLiteral("%1").arg(channel, 3, 10, QLatin1Char('0'));
    const QString which = QStringLiteral(": memory %1 of band %2 not recalled")
                              .arg(number, band == 1 ? QStringLiteral("B") : QStringLiteral("A"));
    // The memory list read from the radio tells an empty channel from one it holds.
    if (m_caps.memoryRead && m_radio.memoryIndex(number) < 0)
        return which + QStringLiteral(", the radio has nothing stored there");
    return which + QStringLiteral(", the radio refused it");
}

void HamlibOperations::retry()
{
    if (m_state.RigAnswering)
        return;
    // The radio is asked again only once what it was asked before has run out: each of those
    // may wait for Hamlib's time-out, and asking meanwhile would pile them up.
    if (m_link.outstanding() > 0) {
        m_retry.start();
        return;
    }
    // The status line stays red: the radio is still not answering.
    if (!m_initialised) {
        requestInitialState();
        return;
    }
    // Receive: the radio's keying is unknown after a failure, and a recovery never keys it.
    m_link.setTransmit(false);
    m_link.readBand(m_state.ActiveBand);
}

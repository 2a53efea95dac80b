#include "hamlib/HamlibRigBands.h"

#include "hamlib/HamlibBandOrders.h"
#include "hamlib/HamlibRig.h"
#include "hamlib/HamlibTexts.h"

#include <hamlib/rig.h>

#include <QMutex>
#include <QSet>

namespace {

// Hamlib's fractions of full power for the H, M and L positions of the sliders.
constexpr float PowerFraction[3] = {1.0F, 0.5F, 0.1F};

// The radios (a model, and the address of a rigctld) found to round a tenth of full power up to
// their middle step: their low is asked with no power at all, straight away, for the rest of the
// program's life. Shared by the link's successive workers.
class LowStepRadios
{
public:
    bool contains(const QString &radio)
    {
        const QMutexLocker lock(&m_mutex);
        return m_radios.contains(radio);
    }
    void insert(const QString &radio)
    {
        const QMutexLocker lock(&m_mutex);
        m_radios.insert(radio);
    }

private:
    QMutex m_mutex;
    QSet<QString> m_radios;
};

LowStepRadios &lowAtNoPower()
{
    static LowStepRadios radios;
    return radios;
}

} // namespace

HamlibRigBands::HamlibRigBands(HamlibRig &radio) : m_radio(radio) {}

std::optional<QList<QByteArray>> HamlibRigBands::order(const QByteArray &command)
{
    const QByteArray line = command + '\r';
    QByteArray text;
    // Hamlib leaves some replies unread (the keying's): a reply to another command is dropped
    // and the command sent once more, which changes nothing for a query or a setting.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_radio.stopping())
            return std::nullopt;
        rig_flush(&m_radio.m_rig->state.rigport);
        unsigned char reply[200] = {};
        unsigned char end[] = "\r";
        const int result =
            rig_send_raw(m_radio.m_rig, reinterpret_cast<const unsigned char *>(line.constData()),
                         int(line.size()), reply, int(sizeof reply) - 1, end);
        if (result < 0) {
            // Hamlib's raw call says "protocol error" when no whole reply came in time.
            m_radio.check(result == -RIG_EPROTO ? -RIG_ETIMEOUT : result, "rig_send_raw");
            return std::nullopt;
        }
        text = QByteArray(reinterpret_cast<const char *>(reply), result).trimmed();
        if (std::optional<QList<QByteArray>> fields = HamlibBandOrders::fields(command, text))
            return fields;
        if (text == "N" || text == "?")
            break;
    }
    emit m_radio.refused(QString::fromLatin1(command) + QStringLiteral(": the radio answered \"") +
                             QString::fromLatin1(text) + QLatin1Char('"'),
                         m_radio.m_request, m_radio.m_requestBand);
    return std::nullopt;
}

void HamlibRigBands::readMemories(int count)
{
    m_radio.begin(HamlibRequest::Read, 0);
    if (!m_radio.ready())
        return;
    QStringList entries;
    m_channelHertz.clear();
    if (m_radio.m_caps.memoryRead) {
        for (int channel = 1; channel <= count; ++channel) {
            if (m_radio.stopping())
                return;
            qint64 hertz = 0;
            QString shift;
            QString name;
            // An empty channel is refused by the radio: it is left out of the list. A radio
            // that stops answering ends the reading.
            const int result = m_radio.readChannel(channel, &hertz, &shift, &name);
            if (result != RIG_OK && !m_radio.isRefusal(result) && qAbs(result) != RIG_EPROTO) {
                m_radio.check(result, "rig_get_channel");
                return;
            }
            if (result == RIG_OK && hertz > 0) {
                entries << HamlibTexts::memoryEntry(channel, hertz, shift, name);
                m_channelHertz.insert(channel, hertz);
            }
        }
    }
    emit m_radio.memoriesRead(entries);
    emit m_radio.answered();
}

void HamlibRigBands::readInitialState(int band, bool bothBands)
{
    m_radio.begin(HamlibRequest::Read, qMax(band, 0));
    if (!m_radio.ready())
        return;
    int active = qMax(band, 0);
    if (m_radio.m_ordered) {
        const std::optional<QList<QByteArray>> bands = order(HamlibBandOrders::bandsQuery());
        if (!bands || bands->size() != 2)
            return;
        const int control = bands->at(0).toInt();
        const int transmit = bands->at(1).toInt();
        if (band < 0)
            active = transmit;
        // Control and transmit on the same band, as the program keeps them; nothing is sent
        // when the radio is already so.
        if ((control != active || transmit != active) &&
            !order(HamlibBandOrders::selectBand(active)))
            return;
    }
    // Both bands' lamps show where they are: a radio with per-band orders is only asked, any
    // other is read through its VFO selection when both bands are in use.
    const bool readOther = m_radio.m_caps.twoBands && (m_radio.m_ordered || bothBands);
    // The other band first: the band that transmits, read last, ends the initialisation.
    for (const int each : {1 - active, active}) {
        if (each != active && !readOther)
            continue;
        if (!m_radio.m_ordered && m_radio.m_caps.twoBands &&
            (m_radio.stopping() || !selectBandVfo(each)))
            return;
        HamlibBandState state;
        state.band = each;
        state.selected = each == active;
        if (m_radio.stopping() || !readBandState(state, std::nullopt))
            return;
        if (m_radio.m_ordered) {
            const std::optional<QList<QByteArray>> power =
                order(HamlibBandOrders::powerQuery(each));
            if (power && power->size() == 2)
                state.power = power->at(1).toInt();
        }
        emit m_radio.bandRead(state);
    }
    emit m_radio.answered();
}

void HamlibRigBands::selectBand(int band)
{
    m_radio.begin(HamlibRequest::Band, band);
    if (!m_radio.ready())
        return;
    if (m_radio.m_ordered) {
        if (!order(HamlibBandOrders::selectBand(band)))
            return;
    } else if (m_radio.m_caps.twoBands && !selectBandVfo(band)) {
        return;
    }
    reportBand(band, true);
}

bool HamlibRigBands::selectBandVfo(int band)
{
    if (!m_radio.check(rig_set_vfo(m_radio.m_rig, m_radio.bandVfo(band)), "rig_set_vfo"))
        return false;
    // Some backends leave memory mode when their VFO is selected.
    return !m_radio.m_memoryMode[band] || !m_radio.m_caps.memoryMode || m_radio.stopping() ||
           m_radio.selectMemoryVfo();
}

void HamlibRigBands::setMode(int band, int activeBand, bool memory, int channel)
{
    m_radio.begin(HamlibRequest::Mode, band);
    if (!m_radio.ready())
        return;
    if (m_radio.m_ordered) {
        // The band's own orders: the band that transmits stays where it is.
        if (memory != m_radio.m_memoryMode[band] && !order(HamlibBandOrders::setMode(band, memory)))
            return;
        m_radio.m_memoryMode[band] = memory;
        if (memory && channel >= 0 && !order(HamlibBandOrders::setChannel(band, channel)) &&
            !m_radio.m_open)
            return;
        reportBand(band, false, memory);
        return;
    }
    if (!m_radio.check(rig_set_vfo(m_radio.m_rig, m_radio.bandVfo(band)), "rig_set_vfo"))
        return;
    bool modeSet = true;
    if (memory && !m_radio.stopping()) {
        modeSet = m_radio.selectMemoryVfo();
        if (modeSet && channel >= 0 && !m_radio.stopping())
            m_radio.check(rig_set_mem(m_radio.m_rig, RIG_VFO_CURR, channel), "rig_set_mem");
    }
    // A refused channel or mode leaves the radio where it is: the panel shows that.
    if (!m_radio.m_open || m_radio.stopping())
        return;
    if (modeSet)
        m_radio.m_memoryMode[band] = memory;
    reportBand(band, false);
    // The band that transmits is selected again, as the band selection left it.
    if (m_radio.m_open && band != activeBand && m_radio.m_caps.twoBands && !m_radio.stopping())
        selectBandVfo(activeBand);
}

void HamlibRigBands::readBand(int band)
{
    m_radio.begin(HamlibRequest::Read, band);
    reportBand(band, false);
}

void HamlibRigBands::reportBand(int band, bool selected, std::optional<bool> memory)
{
    if (!m_radio.ready() || m_radio.stopping())
        return;
    HamlibBandState state;
    state.band = band;
    state.selected = selected;
    if (!readBandState(state, memory))
        return;
    emit m_radio.bandRead(state);
    emit m_radio.answered();
}

bool HamlibRigBands::readBandState(HamlibBandState &state, std::optional<bool> memory)
{
    if (m_radio.m_ordered)
        return readOrderedBand(state, memory);
    if (!m_radio.currentIsMemory(state.band, &state.memoryMode))
        return false;
    if (state.memoryMode) {
        int channel = -1;
        if (!m_radio.check(rig_get_mem(m_radio.m_rig, RIG_VFO_CURR, &channel), "rig_get_mem"))
            return false;
        state.channel = channel;
        QString name;
        m_radio.readChannel(channel, &state.frequencyHz, &state.shiftText, &name);
        return true;
    }
    freq_t hertz = 0;
    if (!m_radio.check(rig_get_freq(m_radio.m_rig, RIG_VFO_CURR, &hertz), "rig_get_freq"))
        return false;
    state.frequencyHz = qint64(hertz);
    state.shiftText = m_radio.shiftOfCurrent();
    return true;
}

bool HamlibRigBands::readOrderedBand(HamlibBandState &state, std::optional<bool> memory)
{
    const int band = state.band;
    if (!memory) {
        const std::optional<QList<QByteArray>> mode = order(HamlibBandOrders::modeQuery(band));
        if (!mode || mode->size() != 2)
            return false;
        memory = mode->at(1) == "1";
    }
    m_radio.m_memoryMode[band] = state.memoryMode = *memory;
    if (state.memoryMode) {
        const std::optional<QList<QByteArray>> channel =
            order(HamlibBandOrders::channelQuery(band));
        if (!channel || channel->size() != 2)
            return false;
        state.channel = channel->at(1).toInt();
        state.frequencyHz = m_channelHertz.value(state.channel);
        if (state.frequencyHz == 0) {
            QString name;
            m_radio.readChannel(state.channel, &state.frequencyHz, &state.shiftText, &name);
        }
    } else {
        const std::optional<QList<QByteArray>> record = order(HamlibBandOrders::vfoQuery(band));
        const std::optional<HamlibBandOrders::Vfo> vfo =
            record ? HamlibBandOrders::vfo(*record) : std::nullopt;
        if (!vfo)
            return false;
        state.frequencyHz = vfo->hertz;
        state.shiftText = HamlibTexts::shiftText(vfo->direction, vfo->offsetHz);
    }
    return m_radio.m_open;
}

void HamlibRigBands::setPower(int band, bool activeBand, int position)
{
    m_radio.begin(HamlibRequest::Power, band);
    if (!m_radio.ready() || position < 0 || position > 2)
        return;
    if (m_radio.m_ordered) {
        if (order(HamlibBandOrders::setPower(band, position)))
            emit m_radio.answered();
        return;
    }
    // The active band takes the setting where it is; another band is named, and Hamlib reaches
    // it as the radio allows.
    const int vfo = activeBand ? RIG_VFO_CURR : m_radio.bandVfo(band);
    const QString radio =
        QString::number(m_radio.m_rig->caps->rig_model) + QLatin1Char(' ') + m_radio.m_port;
    const bool lowAtZero = position == 2 && lowAtNoPower().contains(radio);
    value_t value;
    value.f = lowAtZero ? 0.0F : PowerFraction[position];
    if (!m_radio.check(rig_set_level(m_radio.m_rig, vfo, RIG_LEVEL_RFPOWER, value),
                       "rig_set_level"))
        return;
    // Radios with a few fixed steps round a tenth up to their middle step: their lowest step
    // is reached with no power at all. Found at the first low, and then asked directly.
    value_t got;
    if (position == 2 && !lowAtZero && !m_radio.stopping() &&
        rig_get_level(m_radio.m_rig, vfo, RIG_LEVEL_RFPOWER, &got) == RIG_OK &&
        got.f >= PowerFraction[1] - 0.01F) {
        lowAtNoPower().insert(radio);
        value.f = 0.0F;
        m_radio.check(rig_set_level(m_radio.m_rig, vfo, RIG_LEVEL_RFPOWER, value), "rig_set_level");
    }
    // Not taken as an answer: some radios get their settings without replying to them.
}

void HamlibRigBands::readFrequency(int band)
{
    m_radio.begin(HamlibRequest::Read, band);
    HamlibFrequency answer;
    if (!m_radio.ready()) {
        emit m_radio.frequencyRead(answer);
        return;
    }
    bool memory = m_radio.m_memoryMode[band];
    // The band's mode as last read or set: a radio with per-band orders is asked only what the
    // answer needs, as is one without memories.
    if (m_radio.m_ordered || !m_radio.m_caps.memoryMode || m_radio.currentIsMemory(band, &memory)) {
        answer.memoryMode = memory;
        if (memory) {
            int channel = -1;
            if (m_radio.m_ordered) {
                const std::optional<QList<QByteArray>> reply =
                    order(HamlibBandOrders::channelQuery(band));
                if (reply && reply->size() == 2)
                    channel = reply->at(1).toInt();
            } else if (!m_radio.check(rig_get_mem(m_radio.m_rig, RIG_VFO_CURR, &channel),
                                      "rig_get_mem")) {
                channel = -1;
            }
            if (channel >= 0) {
                // The frequency read gives the VFO's on some radios in memory mode: the
                // channel's own record is what the band receives.
                answer.channel = channel;
                answer.answered = true;
                answer.frequencyHz = channelHertz(channel);
            }
        } else {
            freq_t hertz = 0;
            const int vfo = m_radio.m_ordered ? m_radio.bandVfo(band) : RIG_VFO_CURR;
            if (m_radio.check(rig_get_freq(m_radio.m_rig, vfo, &hertz), "rig_get_freq")) {
                answer.frequencyHz = qint64(hertz);
                answer.answered = true;
            }
        }
    }
    emit m_radio.frequencyRead(answer);
    if (answer.answered)
        emit m_radio.answered();
}

qint64 HamlibRigBands::channelHertz(int channel)
{
    if (const auto known = m_channelHertz.constFind(channel); known != m_channelHertz.cend())
        return known.value();
    qint64 hertz = 0;
    QString shift;
    QString name;
    if (m_radio.readChannel(channel, &hertz, &shift, &name) == RIG_OK)
        m_channelHertz.insert(channel, hertz);
    return hertz;
}

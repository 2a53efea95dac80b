#include "hamlib/HamlibRig.h"

#include "hamlib/HamlibBandOrders.h"
#include "hamlib/HamlibPortClaims.h"
#include "hamlib/HamlibRigBands.h"
#include "hamlib/HamlibTexts.h"
#include "hamlib/RigctldRadio.h"

#include <hamlib/rig.h>

#include <clocale>

#include <QFileInfo>
#include <poll.h>
#include <sys/socket.h>

namespace {

// Hamlib's short text of an error code, on one line: rigerror() of this Hamlib version adds its
// recent trace, which has no place in the event log.
QString errorText(int code)
{
    return QString::fromLatin1(rigerror2(code)).section(QLatin1Char('\n'), 0, 0).trimmed();
}

bool hasChannels(const RIG *rig)
{
    return rig->state.chan_list[0].type != RIG_MTYPE_NONE;
}

// The scan the radio offers for a band in memory or VFO mode; RIG_SCAN_NONE when it has none.
scan_t scanKind(RIG *rig, bool memoryMode)
{
    if (rig->caps->scan == nullptr)
        return RIG_SCAN_NONE;
    if (memoryMode)
        return rig_has_scan(rig, RIG_SCAN_MEM) ? RIG_SCAN_MEM : RIG_SCAN_NONE;
    if (rig_has_scan(rig, RIG_SCAN_VFO))
        return RIG_SCAN_VFO;
    return rig_has_scan(rig, RIG_SCAN_PROG) ? RIG_SCAN_PROG : RIG_SCAN_NONE;
}

} // namespace

// The radio answered and did not take the command; anything else may mean it is gone. A radio
// that says it is switched off does not answer either.
bool HamlibRig::isRefusal(int result)
{
    const int code = qAbs(result);
    return RIG_IS_SOFT_ERRCODE(code) && code != RIG_EPOWER;
}

HamlibRig::HamlibRig(std::shared_ptr<HamlibWishes> wishes, QObject *parent)
    : QObject(parent), m_wishes(std::move(wishes)), m_bands(std::make_unique<HamlibRigBands>(*this))
{
    // Hamlib's own trace goes to standard error; the program logs the errors it reports.
    rig_set_debug(RIG_DEBUG_NONE);
}

void HamlibRig::prepareProcessLocale()
{
    std::setlocale(LC_NUMERIC, "C");
}

HamlibRig::~HamlibRig()
{
    close();
}

void HamlibRig::open(int model, const QString &port, int speed)
{
    close();
    m_rig = rig_init(model);
    if (m_rig == nullptr)
        return; // the first request reports it
    m_ordered = HamlibBandOrders::applies(model);
    const bool serial = m_rig->caps->port_type == RIG_PORT_SERIAL;
    m_unkey = serial ? HamlibBandOrders::unkey(model) : QByteArray();
    if (m_rig->caps->port_type == RIG_PORT_NETWORK) {
        const std::optional<HamlibTexts::NetworkAddress> address =
            HamlibTexts::rigctldAddress(port);
        m_port = address ? address->text() : port.trimmed();
    } else {
        m_port = HamlibTexts::devicePath(port);
    }
    const QByteArray path = m_port.toLocal8Bit();
    if (!path.isEmpty())
        rig_set_conf(m_rig, rig_token_lookup(m_rig, "rig_pathname"), path.constData());
    // A backend that keys through its own commands but names no PTT type (Hamlib's dummy radio)
    // is keyed through them.
    if (m_rig->caps->ptt_type == RIG_PTT_NONE && m_rig->caps->set_ptt != nullptr)
        rig_set_conf(m_rig, rig_token_lookup(m_rig, "ptt_type"), "RIG");
    if (speed > 0 && model != RIG_MODEL_NETRIGCTL)
        rig_set_conf(m_rig, rig_token_lookup(m_rig, "serial_speed"),
                     QByteArray::number(speed).constData());
    // The first request opens the radio.
}

void HamlibRig::close()
{
    if (m_rig == nullptr)
        return;
    if (m_open)
        closePort();
    rig_cleanup(m_rig);
    m_rig = nullptr;
    if (const QString claimed = std::exchange(m_claimed, QString()); !claimed.isEmpty())
        HamlibPortClaims::release(claimed);
}

void HamlibRig::closePort()
{
    m_wishes->port.withdraw();
    rig_close(m_rig);
    m_open = false;
    m_transmitKnown = false;
}

// Opens the link when it is not open: at first, and again after a failure, so a radio that
// went away is found again by the next request.
bool HamlibRig::ready()
{
    // A model Hamlib could not set up is reported at each request, not waited for.
    if (m_rig == nullptr) {
        emit failed(QStringLiteral("rig_init: ") + errorText(-RIG_ENAVAIL));
        return false;
    }
    // Once the link is let go, a request under way stops before its next command.
    if (stopping())
        return false;
    if (m_open)
        return true;
    // A serial device that is not there is said as such, not as a radio that does not answer.
    if (m_rig->caps->port_type == RIG_PORT_SERIAL && !m_port.isEmpty() &&
        !QFileInfo::exists(m_port)) {
        lose(QStringLiteral("rig_open: no such port ") + m_port);
        return false;
    }
    // A worker left behind on this port talks on it until its call ends; a link in /dev and
    // the device's own name are one port.
    if (m_rig->caps->port_type == RIG_PORT_SERIAL && m_claimed.isEmpty()) {
        QString device = QFileInfo(m_port).canonicalFilePath();
        if (device.isEmpty())
            device = m_port;
        if (!HamlibPortClaims::claim(device, [this] { return stopping(); }))
            return false;
        m_claimed = device;
    }
    const int asked = m_wishes->unkeysAsked.load();
    if (const int result = rig_open(m_rig); result != RIG_OK) {
        lose(QStringLiteral("rig_open: ") + errorText(result));
        return false;
    }
    m_open = true;
    if (m_rig->caps->port_type == RIG_PORT_SERIAL)
        m_wishes->port.publish(m_rig->state.rigport.fd, m_unkey);
    // Every read asks the radio: a cached value may belong to another VFO or memory.
    rig_set_cache_timeout_ms(m_rig, HAMLIB_CACHE_ALL, 0);
    // A rigctld tells its radio's description when opened, so this is read after each opening.
    m_caps = capabilitiesOf(m_rig);
    // Hamlib's network client names itself: the radio's name is rigctld's to tell.
    if (m_caps.network) {
        if (const std::optional<RigctldRadio> remote = RigctldRadio::ask(m_port, RigctldAskMs)) {
            m_caps.maker = remote->maker;
            m_caps.model = remote->model;
        } else {
            m_caps.maker.clear();
            m_caps.model = QStringLiteral("rigctld at ") + m_port;
        }
    }
    // Receive before anything else: a copy that crashed may have left the radio keyed.
    if (m_caps.ptt && !m_askOnly && rig_set_ptt(m_rig, RIG_VFO_CURR, RIG_PTT_OFF) == RIG_OK) {
        m_transmitting = false;
        m_transmitKnown = true;
        unkeyDone(asked);
    }
    emit opened(m_caps);
    return !stopping();
}

HamlibCapabilities HamlibRig::capabilitiesOf(RIG *rig)
{
    HamlibCapabilities caps;
    const int vfos = rig->state.vfo_list;
    caps.maker = QString::fromLatin1(rig->caps->mfg_name);
    caps.model = QString::fromLatin1(rig->caps->model_name);
    caps.twoBands = (vfos & (RIG_VFO_A | RIG_VFO_B)) == (RIG_VFO_A | RIG_VFO_B) ||
                    (vfos & (RIG_VFO_MAIN | RIG_VFO_SUB)) == (RIG_VFO_MAIN | RIG_VFO_SUB);
    // Memory mode shows the channel the radio is on: it must be able to tell it.
    caps.memoryMode = (vfos & RIG_VFO_MEM) && rig->caps->set_mem != nullptr &&
                      rig->caps->get_mem != nullptr && hasChannels(rig);
    caps.memoryRead = rig->caps->get_channel != nullptr && hasChannels(rig);
    caps.power = rig_has_set_level(rig, RIG_LEVEL_RFPOWER) != 0;
    caps.scanVfo = scanKind(rig, false) != RIG_SCAN_NONE;
    caps.scanMemory = caps.memoryMode && scanKind(rig, true) != RIG_SCAN_NONE;
    caps.ptt = rig->caps->set_ptt != nullptr || rig->state.pttport.type.ptt != RIG_PTT_NONE;
    caps.network = rig->caps->rig_model == RIG_MODEL_NETRIGCTL;
    return caps;
}

void HamlibRig::begin(HamlibRequest request, int band)
{
    m_request = request;
    m_requestBand = band;
}

bool HamlibRig::check(int result, const char *call)
{
    if (result == RIG_OK)
        return true;
    const QString error = QString::fromLatin1(call) + QStringLiteral(": ") + errorText(result);
    if (isRefusal(result))
        emit refused(error, m_request, m_requestBand);
    else if (qAbs(result) == RIG_ETIMEOUT && m_rig->caps->port_type == RIG_PORT_SERIAL)
        timedOut(error);
    else
        lose(error);
    return false;
}

void HamlibRig::lose(const QString &error)
{
    if (m_open)
        closePort();
    if (m_request == HamlibRequest::Power)
        emit powerNotTaken(m_requestBand);
    emit failed(error);
}

void HamlibRig::timedOut(const QString &error)
{
    m_transmitKnown = false;
    if (m_request == HamlibRequest::Power)
        emit powerNotTaken(m_requestBand);
    emit failed(error);
}

void HamlibRig::unkeyDone(int asked)
{
    if (asked > m_wishes->unkeysDone.load())
        m_wishes->unkeysDone = asked;
}

// Hamlib reads the frequency of the VFO it has just selected, and reports that read's error as
// the selection's: a radio that cannot tell a memory's frequency that way (Hamlib's dummy) is in
// memory mode all the same. The radio says where it is before the error counts as a refusal.
bool HamlibRig::selectMemoryVfo()
{
    const int result = rig_set_vfo(m_rig, RIG_VFO_MEM);
    vfo_t vfo = RIG_VFO_NONE;
    if (result != RIG_OK && isRefusal(result) && m_rig->caps->get_vfo != nullptr &&
        rig_get_vfo(m_rig, &vfo) == RIG_OK && vfo == RIG_VFO_MEM)
        return true;
    return check(result, "rig_set_vfo");
}

int HamlibRig::bandVfo(int band) const
{
    const int vfos = m_rig->state.vfo_list;
    if ((vfos & (RIG_VFO_A | RIG_VFO_B)) == (RIG_VFO_A | RIG_VFO_B))
        return band == 1 ? RIG_VFO_B : RIG_VFO_A;
    if ((vfos & (RIG_VFO_MAIN | RIG_VFO_SUB)) == (RIG_VFO_MAIN | RIG_VFO_SUB))
        return band == 1 ? RIG_VFO_SUB : RIG_VFO_MAIN;
    return (vfos & RIG_VFO_A) ? RIG_VFO_A : RIG_VFO_CURR;
}

int HamlibRig::readChannel(int channel, qint64 *hertz, QString *shift, QString *name)
{
    channel_t chan{};
    chan.vfo = RIG_VFO_MEM;
    chan.channel_num = channel;
    int result = rig_get_channel(m_rig, RIG_VFO_MEM, &chan, 1);
    // Some backends refuse a channel that has no name, after filling in its frequency: the
    // channel is there all the same.
    if (result != RIG_OK && isRefusal(result) && chan.freq > 0)
        result = RIG_OK;
    if (result != RIG_OK)
        return result;
    *hertz = qint64(chan.freq);
    const int direction = chan.rptr_shift == RIG_RPT_SHIFT_PLUS    ? 1
                          : chan.rptr_shift == RIG_RPT_SHIFT_MINUS ? -1
                                                                   : 0;
    *shift = HamlibTexts::shiftText(direction, chan.rptr_offs);
    *name = QString::fromLatin1(chan.channel_desc,
                                qstrnlen(chan.channel_desc, sizeof chan.channel_desc));
    return RIG_OK;
}

QString HamlibRig::shiftOfCurrent()
{
    rptr_shift_t shift = RIG_RPT_SHIFT_NONE;
    shortfreq_t offset = 0;
    if (m_rig->caps->get_rptr_shift == nullptr ||
        rig_get_rptr_shift(m_rig, RIG_VFO_CURR, &shift) != RIG_OK)
        return HamlibTexts::shiftText(0, 0);
    if (m_rig->caps->get_rptr_offs != nullptr)
        rig_get_rptr_offs(m_rig, RIG_VFO_CURR, &offset);
    return HamlibTexts::shiftText(shift == RIG_RPT_SHIFT_PLUS    ? 1
                                  : shift == RIG_RPT_SHIFT_MINUS ? -1
                                                                 : 0,
                                  offset);
}

// Whether the band is in memory mode, as the radio says; a radio that cannot tell is taken to
// be where it was last put.
bool HamlibRig::currentIsMemory(int band, bool *memory)
{
    vfo_t vfo = RIG_VFO_NONE;
    if (m_rig->caps->get_vfo == nullptr) {
        *memory = m_memoryMode[band];
        return true;
    }
    if (!check(rig_get_vfo(m_rig, &vfo), "rig_get_vfo"))
        return false;
    *memory = vfo == RIG_VFO_MEM;
    m_memoryMode[band] = *memory;
    return true;
}

void HamlibRig::setScan(int band, bool on)
{
    begin(HamlibRequest::Scan, band);
    if (!ready())
        return;
    const scan_t kind = on ? scanKind(m_rig, m_memoryMode[band]) : RIG_SCAN_STOP;
    if (kind == RIG_SCAN_NONE) {
        emit refused(QStringLiteral("rig_scan: ") + errorText(-RIG_ENAVAIL), m_request, band);
        return;
    }
    // Not taken as an answer: some radios get their orders without replying to them.
    check(rig_scan(m_rig, RIG_VFO_CURR, kind, 0), "rig_scan");
}

void HamlibRig::applyTransmit()
{
    begin(HamlibRequest::Transmit, 0);
    const bool wanted = m_wishes->transmit.load();
    const int asked = m_wishes->unkeysAsked.load();
    // Repeating the keying the radio already has does nothing; after a failure the radio's
    // keying is unknown, so the wanted one is sent again.
    if (m_transmitKnown && wanted == m_transmitting) {
        if (!wanted)
            unkeyDone(asked);
        return;
    }
    if (!ready())
        return;
    if (!check(rig_set_ptt(m_rig, RIG_VFO_CURR, wanted ? RIG_PTT_ON : RIG_PTT_OFF), "rig_set_ptt"))
        return;
    m_transmitting = wanted;
    m_transmitKnown = true;
    if (!wanted)
        unkeyDone(asked);
    // Not taken as an answer: Hamlib sends some radios their keying without waiting for a reply.
}

// Without a word to the radio: a rigctld that stopped closes its end of the connection, and a
// serial adapter pulled out leaves its device in error. Both are seen at once, where a request
// would only find them when the server next asks.
void HamlibRig::checkLink()
{
    begin(HamlibRequest::Read, 0);
    if (m_rig == nullptr || !m_open || stopping())
        return;
    const int fd = m_rig->state.rigport.fd;
    if (fd < 0)
        return;
    pollfd watched{fd, POLLIN, 0};
    if (::poll(&watched, 1, 0) <= 0)
        return;
    bool gone = (watched.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    // Data waiting on a connection that has ended reads as nothing.
    if (!gone && m_caps.network && (watched.revents & POLLIN)) {
        char byte = 0;
        gone = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
    }
    if (gone)
        lose(m_caps.network ? QStringLiteral("rigctld: connection closed")
                            : QStringLiteral("rig_open: port ") + m_port + QStringLiteral(" lost"));
}

void HamlibRig::release()
{
    if (m_rig == nullptr || !m_open)
        return;
    if (!m_transmitKnown || m_transmitting)
        rig_set_ptt(m_rig, RIG_VFO_CURR, RIG_PTT_OFF);
    m_transmitting = false;
}

#include "RigModel.h"

namespace {

constexpr char No[] = "N";
constexpr char Unknown[] = "?";

// "0" or "1" to a band number, anything else to -1.
int bandOf(const QByteArray &arg)
{
    return arg == "0" ? 0 : arg == "1" ? 1 : -1;
}

// A single digit within [low, high], else -1.
int digitOf(const QByteArray &arg, int low, int high)
{
    if (arg.size() != 1 || arg[0] < '0' || arg[0] > '9')
        return -1;
    const int value = arg[0] - '0';
    return value >= low && value <= high ? value : -1;
}

// Exactly three digits, else -1.
int channelOf(const QByteArray &arg)
{
    if (arg.size() != 3)
        return -1;
    for (char c : arg)
        if (c < '0' || c > '9')
            return -1;
    return arg.toInt();
}

QByteArray threeDigits(int channel)
{
    return QByteArray::number(channel).rightJustified(3, '0');
}

} // namespace

RigModel::RigModel(RigKind kind, int channelCount, QByteArray idText, bool garble)
    : m_state(RigState::factoryDefault(kind, channelCount)), m_idText(std::move(idText)),
      m_garble(garble)
{
    if (m_idText.isEmpty())
        m_idText = kind == RigKind::TMD700   ? "TM-D700"
                   : kind == RigKind::TMD710 ? "TM-D710"
                                             : "TM-V71";
}

QByteArray RigModel::answer(const QByteArray &command)
{
    // A bare carriage return is no command at all: the sets answer it like an unknown one.
    if (command.isEmpty())
        return Unknown;
    const qsizetype space = command.indexOf(' ');
    const QByteArray name = space < 0 ? command : command.left(space);
    const Args args = space < 0 ? Args() : command.mid(space + 1).split(',');

    bool known = true;
    QByteArray reply = common(name, args, known);
    if (!known) {
        known = true;
        reply =
            m_state.kind == RigKind::TMD700 ? tmd700(name, args, known) : tmd710(name, args, known);
    }
    return known ? reply : QByteArray(Unknown);
}

QByteArray RigModel::common(const QByteArray &name, const Args &args, bool &known)
{
    if (name == "ID")
        return args.isEmpty() ? "ID " + m_idText : No;
    if (name == "AI") {
        if (args.isEmpty())
            return "AI " + QByteArray::number(m_state.autoInformation);
        const int value = args.size() == 1 ? digitOf(args[0], 0, 1) : -1;
        if (value < 0)
            return No;
        m_state.autoInformation = value;
        return "AI " + args[0];
    }
    if (name == "BC")
        return bandControl(args);
    if (name == "PC")
        return power(args);
    if (name == "TX") {
        if (!args.isEmpty())
            return No;
        m_state.transmitting = true;
        m_state.scanning = false;
        return "TX " + QByteArray::number(m_state.pttBand);
    }
    if (name == "RX") {
        if (!args.isEmpty())
            return No;
        m_state.transmitting = false;
        return "RX";
    }
    if (name == "REP")
        return args.size() == 1 && args[0] == "0" ? QByteArray("REP 0") : QByteArray(No);
    known = false;
    return QByteArray();
}

QByteArray RigModel::tmd700(const QByteArray &name, const Args &args, bool &known)
{
    if (name == "VSC" || name == "RC")
        return args.size() == 1 && digitOf(args[0], 0, 1) >= 0 ? name + ' ' + args[0]
                                                               : QByteArray(No);
    if (name == "VMC")
        return modeQuery(name, args, 2);
    if (name == "MC")
        return channelSelect(name, args);
    if (name == "MR") {
        // "MR 0,0,ccc" reads a memory record.
        if (args.size() != 3 || args[0] != "0" || args[1] != "0")
            return No;
        return memoryRead(channelOf(args[2]));
    }
    if (name == "RBN")
        return args.isEmpty() ? QByteArray("RBN ") + m_state.bands[m_state.controlBand].vfoRange
                              : QByteArray(No);
    if (name == "VR") {
        if (args.size() != 1 || args[0].size() != 1)
            return No;
        for (int band = 0; band < 2; ++band)
            if (m_state.bands[band].vfoRange == args[0][0])
                return vfoRead(band);
        return No;
    }
    if (name == "SC") {
        if (args.isEmpty())
            return m_state.scanning ? "SC 1" : "SC 0";
        const int value = args.size() == 1 ? digitOf(args[0], 0, 1) : -1;
        if (value < 0)
            return No;
        m_state.scanning = value == 1 && !m_state.transmitting;
        return "SC " + args[0];
    }
    known = false;
    return QByteArray();
}

QByteArray RigModel::tmd710(const QByteArray &name, const Args &args, bool &known)
{
    if (name == "VM")
        return modeQuery(name, args, 1);
    if (name == "MR")
        return channelSelect(name, args);
    if (name == "ME")
        return args.size() == 1 ? memoryRead(channelOf(args[0])) : QByteArray(No);
    if (name == "MN")
        return args.size() == 1 ? memoryName(channelOf(args[0])) : QByteArray(No);
    if (name == "FO") {
        const int band = args.size() == 1 ? bandOf(args[0]) : -1;
        return band < 0 ? QByteArray(No) : vfoRead(band);
    }
    // These sets only report that they are not scanning; scanning is started on the panel.
    if (name == "SC" && args.isEmpty())
        return "SC 0";
    known = false;
    return QByteArray();
}

QByteArray RigModel::bandControl(const Args &args)
{
    if (args.isEmpty())
        return "BC " + QByteArray::number(m_state.controlBand) + ',' +
               QByteArray::number(m_state.pttBand);
    const int control = args.size() == 2 ? bandOf(args[0]) : -1;
    const int ptt = args.size() == 2 ? bandOf(args[1]) : -1;
    if (control < 0 || ptt < 0)
        return No;
    m_state.controlBand = control;
    m_state.pttBand = ptt;
    return "BC " + args[0] + ',' + args[1];
}

QByteArray RigModel::power(const Args &args)
{
    const int band = args.isEmpty() ? -1 : bandOf(args[0]);
    if (band < 0 || args.size() > 2)
        return No;
    if (args.size() == 1)
        return "PC " + args[0] + ',' + QByteArray::number(m_state.bands[band].power);
    const int level = digitOf(args[1], 0, 2);
    if (level < 0)
        return No;
    m_state.bands[band].power = level;
    return "PC " + args[0] + ',' + args[1];
}

// "VM b" / "VMC b" asks the mode; with a second field it sets it. Mode 0 is VFO and
// `memoryCode` (1 on the TM-D710/TM-V71, 2 on the TM-D700) memory mode.
QByteArray RigModel::modeQuery(const QByteArray &name, const Args &args, int memoryCode)
{
    const int band = args.isEmpty() ? -1 : bandOf(args[0]);
    if (band < 0 || args.size() > 2)
        return No;
    RigBand &b = m_state.bands[band];
    if (args.size() == 1)
        return name + ' ' + args[0] + ',' + QByteArray::number(b.memoryMode ? memoryCode : 0);
    const int mode = digitOf(args[1], 0, 0) == 0 ? 0 : digitOf(args[1], memoryCode, memoryCode);
    if (mode < 0)
        return No;
    if (mode == memoryCode) {
        // A set with no channel programmed cannot enter memory mode.
        if (m_state.memories.isEmpty())
            return No;
        if (!m_state.memories.contains(b.channel))
            b.channel = m_state.memories.firstKey();
    }
    b.memoryMode = mode == memoryCode;
    m_state.scanning = false;
    return name + ' ' + args[0] + ',' + args[1];
}

// "MC b" / "MR b" asks the band's channel, "MC b,ccc" / "MR b,ccc" selects one; both only in
// memory mode.
QByteArray RigModel::channelSelect(const QByteArray &name, const Args &args)
{
    const int band = args.isEmpty() ? -1 : bandOf(args[0]);
    if (band < 0 || args.size() > 2 || !m_state.bands[band].memoryMode)
        return No;
    RigBand &b = m_state.bands[band];
    if (args.size() == 1)
        return name + ' ' + args[0] + ',' + threeDigits(b.channel);
    const int channel = channelOf(args[1]);
    if (!m_state.memories.contains(channel))
        return No;
    b.channel = channel;
    return name + ' ' + args[0] + ',' + args[1];
}

QByteArray RigModel::memoryRead(int channel)
{
    if (channel < 0 || channel > m_state.lastChannel() || !m_state.memories.contains(channel))
        return No;
    const int shiftPos = m_state.kind == RigKind::TMD700 ? 26 : 21;
    return garbled(memoryRecord(m_state, channel), channel, shiftPos);
}

// Programmed channels are named after their use, RELAISccc with a shift and SIMPLEXccc without,
// except every fifth one, which carries no name as a set's channel often does.
QByteArray RigModel::memoryName(int channel)
{
    if (channel < 0 || channel > m_state.lastChannel() || !m_state.memories.contains(channel))
        return No;
    if (channel % 5 == 0)
        return "MN " + threeDigits(channel) + ',';
    const QByteArray use = m_state.memories.value(channel).shift == 0 ? "SIMPLEX" : "RELAIS";
    return "MN " + threeDigits(channel) + ',' + use + threeDigits(channel);
}

QByteArray RigModel::vfoRead(int band)
{
    const int shiftPos = m_state.kind == RigKind::TMD700 ? 20 : 19;
    // Every VFO record is spoilt when garbling: the key 3 marks its shift code.
    return garbled(vfoRecord(m_state, band), 3, shiftPos);
}

// With --garble, records keyed by a multiple of 3 carry a non-digit shift code and the others
// keyed by a multiple of 5 are cut short after their frequency, as a noisy line would deliver.
QByteArray RigModel::garbled(QByteArray record, int key, int shiftPos) const
{
    if (!m_garble)
        return record;
    if (key % 3 == 0)
        record[shiftPos - 1] = 'x';
    else if (key % 5 == 0)
        record.truncate(shiftPos - 4);
    return record;
}

#include "app/ConfigFile.h"

#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "dtmf/DtmfCodeList.h"
#include "generic_tx/ChannelList.h"
#include "generic_tx/LineSettings.h"
#include "hamlib/HamlibConfigKeys.h"
#include "platform/LinkSettings.h"
#include "platform/TextFile.h"
#include "radio/RadioSelector.h"
#include "radio/RadioState.h"
#include "radio/TransmitTimeout.h"
#include "ui/GenericTxWindowSettings.h"
#include "ui/ServerWindowSettings.h"
#include "ui/WarningWindowSettings.h"
#include "web/WebSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <functional>
#include <map>

using ConfigValues::parseInteger;

namespace {

void setIfInteger(const QString &value, const std::function<void(int)> &set)
{
    if (const std::optional<int> n = parseInteger(value))
        set(*n);
}

using Port = GenericTxWindowSettings::Port;

// LPT378=, LPT278=, LPT3BC=, LPT=: the port choice, without running its click handler.
void applyPortKey(const ConfigBinding &b, Port port, const QString &value)
{
    if (value.isEmpty())
        return;
    const std::optional<int> address = parseInteger(value);
    b.state->LptBase = address.value_or(0);
    const QString hex = ConfigValues::hexAddress(b.state->LptBase);
    b.tx16->markPort(port, address.has_value());
    if (port == Port::User)
        b.tx16->setTypedAddress(hex);
    else
        b.tx16->setPortCaption(port, hex + QLatin1Char('h'));
}

// PIN14=, PIN1=, PIN16=, PIN17=: "1" makes the output active low.
void applyPolarityKey(const ConfigBinding &b, TxLine line, const QString &value)
{
    if (value == QLatin1String("1"))
        b.tx16->setPolarity(line, LinePolarity::Negative);
}

// DELAYPIN14=, DELAYPIN1=, DELAYPIN16=.
void applyPulseKey(const ConfigBinding &b, TxLine pulsed, const QString &value)
{
    setIfInteger(value, [&](int n) { b.tx16->setPulseLength(pulsed, n); });
}

void applyChannel(const ConfigBinding &b, int channel, const QString &value)
{
    QStringList entries = b.channels->memories();
    ChannelList::padWithEmptyEntries(entries, channel);
    entries[channel - 1] = ConfigValues::channelNumberText(channel) + QLatin1Char('=') + value;
    b.channels->updateMemories(entries);
}

// A power read from the file stays as it was while no radio took it up (one that never answered,
// the generic transmitter); medium when there was none.
// The power the radio was last seen or set to, else the one read; nothing when neither is
// known, so a power the radio never had is not sent to it at the next start.
std::optional<int> savedPower(const ConfigBinding &b, int band, int configured)
{
    const std::optional<int> shown = b.shownPower ? b.shownPower(band) : std::nullopt;
    if (shown)
        return shown;
    return configured >= 0 ? std::optional<int>(configured) : std::nullopt;
}

using Handler = std::function<void(const ConfigBinding &, const QString &)>;

const std::map<QString, Handler> &handlers()
{
    static const std::map<QString, Handler> table = {
        {QStringLiteral("LANGUAGE="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("F"))
                 b.chooseLanguage(Language::French);
             else if (v == QLatin1String("E"))
                 b.chooseLanguage(Language::English);
         }},
        {QStringLiteral("MODEL="),
         // Any text is kept; an unknown name simply selects no model at start-up.
         [](const ConfigBinding &b, const QString &v) { b.state->setModel(v); }},
        {QStringLiteral("NUMBERMEM="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.state->NumberOfMemories = n; });
         }},
        {QStringLiteral("TX="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("A"))
                 b.chooseBands(StationState::BandChoice::A);
             else if (v == QLatin1String("B"))
                 b.chooseBands(StationState::BandChoice::B);
         }},
        {QStringLiteral("PWRA="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.state->PowerA = n; });
         }},
        {QStringLiteral("PWRB="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.state->PowerB = n; });
         }},
        {QStringLiteral("COM="),
         [](const ConfigBinding &b, const QString &v) {
             if (const std::optional<QString> name = ConfigValues::serialPortName(v))
                 b.ComPortTX->portName = *name;
         }},
        {QStringLiteral("DTMF_CODE="),
         [](const ConfigBinding &b, const QString &v) { b.dtmfCodes->append(v); }},
        {QStringLiteral("IPSERVER="),
         [](const ConfigBinding &b, const QString &v) {
             if (!v.isEmpty())
                 b.IdTCPClient->host = v;
         }},
        {QStringLiteral("PORT="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.IdTCPClient->port = n; });
         }},
        {QStringLiteral("CONNECT="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.server->setConnectAtStart(true);
         }},
        {QStringLiteral("RECONNECT="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.server->setReconnect(true);
         }},
        {QStringLiteral("CHANNEL="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("LEFT"))
                 b.server->setAudioChannel(AudioChannel::Left);
             else if (v == QLatin1String("RIGHT"))
                 b.server->setAudioChannel(AudioChannel::Right);
             else if (v == QLatin1String("BOTH"))
                 b.server->setAudioChannel(AudioChannel::Both);
         }},
        {QStringLiteral("WARNING="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("Y"))
                 b.warning->setAccepted(true);
         }},
        // The four keys below were historically read without a check; a value that is not a
        // number is ignored like everywhere else rather than turned into 0.
        {QStringLiteral("FORMTOP="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.Form1->move(b.Form1->x(), n); });
         }},
        {QStringLiteral("FORMLEFT="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.Form1->move(n, b.Form1->y()); });
         }},
        {QStringLiteral("COMRI="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.ComPortTX->readIntervalTimeout = n; });
         }},
        {QStringLiteral("COMRTC="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.ComPortTX->readTotalConstant = n; });
         }},
        {QStringLiteral("COMRTM="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.ComPortTX->readTotalMultiplier = n; });
         }},
        {QStringLiteral("TXTIMEOUT="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) {
                 if (n >= 0 && n <= TransmitTimeout::MaxSeconds)
                     b.state->TxTimeoutSeconds = n;
             });
         }},
        {QStringLiteral("OPTITX16="),
         [](const ConfigBinding &b, const QString &v) {
             b.tx16->setCircularScan(v == QLatin1String("Y"));
         }},
        {QStringLiteral("CHANNELNUMTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.tx16->setChannelCount(n); });
         }},
        {QStringLiteral("BASECHANNELTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.state->Tx16BaseChannel = n; });
         }},
        {QStringLiteral("TEMPOTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) {
                 b.tx16->setPeriod(n);
                 b.state->Tx16Tempo = b.tx16->period();
             });
         }},
        {QStringLiteral("DELAYPIN14="),
         [](const ConfigBinding &b, const QString &v) { applyPulseKey(b, TxLine::Up, v); }},
        {QStringLiteral("DELAYPIN1="),
         [](const ConfigBinding &b, const QString &v) { applyPulseKey(b, TxLine::Down, v); }},
        {QStringLiteral("DELAYPIN16="),
         [](const ConfigBinding &b, const QString &v) { applyPulseKey(b, TxLine::Reset, v); }},
        {QStringLiteral("LPT378="),
         [](const ConfigBinding &b, const QString &v) { applyPortKey(b, Port::Lpt378, v); }},
        {QStringLiteral("LPT278="),
         [](const ConfigBinding &b, const QString &v) { applyPortKey(b, Port::Lpt278, v); }},
        {QStringLiteral("LPT3BC="),
         [](const ConfigBinding &b, const QString &v) { applyPortKey(b, Port::Lpt3BC, v); }},
        {QStringLiteral("LPT="),
         [](const ConfigBinding &b, const QString &v) { applyPortKey(b, Port::User, v); }},
        {QStringLiteral("PIN14="),
         [](const ConfigBinding &b, const QString &v) { applyPolarityKey(b, TxLine::Up, v); }},
        {QStringLiteral("PIN1="),
         [](const ConfigBinding &b, const QString &v) { applyPolarityKey(b, TxLine::Down, v); }},
        {QStringLiteral("PIN16="),
         [](const ConfigBinding &b, const QString &v) { applyPolarityKey(b, TxLine::Reset, v); }},
        {QStringLiteral("PIN17="),
         [](const ConfigBinding &b, const QString &v) { applyPolarityKey(b, TxLine::Ptt, v); }},
        {QStringLiteral("PIN11="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.tx16->setSquelchPolarity(LinePolarity::Negative);
         }},
        {QStringLiteral("VERSTART="),
         [](const ConfigBinding &b, const QString &v) {
             b.chooseVersionCheck(v == QLatin1String("1"));
         }},
    };
    return table;
}

} // namespace

namespace ConfigFile {

void apply(const ConfigBinding &b, const QStringList &lines)
{
    bool squelchLevelGiven = false;
    for (const QString &line : lines) {
        const std::optional<ConfigValues::KeyValue> kv = ConfigValues::splitLine(line);
        if (!kv)
            continue;
        squelchLevelGiven = squelchLevelGiven || kv->key == QLatin1String("PIN11=");
        const auto handler = handlers().find(kv->key);
        if (handler != handlers().end())
            handler->second(b, kv->value);
        else if (b.hamlib && HamlibConfigKeys::apply(*b.hamlib, kv->key, kv->value))
            continue;
        else if (b.web && WebConfigKeys::apply(*b.web, kv->key, kv->value))
            continue;
        else if (b.lines && LineConfig::apply(*b.lines, kv->key, kv->value))
            continue;
        else if (const std::optional<int> channel = ConfigValues::channelKeyNumber(kv->key))
            applyChannel(b, *channel, kv->value);
    }
    // A USB audio interface's squelch input rests pulled up, and the usual receiver pulls it to
    // ground while its squelch is open: without PIN11= that is the level taken.
    if (!squelchLevelGiven && b.lines && b.lines->kind == LinesKind::UsbAudio)
        b.tx16->setSquelchPolarity(LineConfig::defaultSquelchOpenLevel(LinesKind::UsbAudio));
}

QStringList build(const ConfigBinding &b)
{
    const StationState &s = *b.state;
    QStringList out;
    auto add = [&out](const char *key, const QString &value) {
        out << QString::fromLatin1(key) + value;
    };
    auto number = [](int n) { return QString::number(n); };

    out << QString::fromLatin1(ConfigValues::Header);
    add("LANGUAGE=", s.language == Language::English ? QStringLiteral("E") : QStringLiteral("F"));
    // No radio chosen yet (an unknown MODEL= at start-up) is saved as the generic transmitter.
    const QString model = b.radios ? b.radios->currentModel() : QString();
    add("MODEL=", model.isEmpty() ? QStringLiteral("TX16UD") : model);
    add("NUMBERMEM=", number(s.NumberOfMemories));
    if (s.Bands == StationState::BandChoice::A)
        add("TX=", QStringLiteral("A"));
    else if (s.Bands == StationState::BandChoice::B)
        add("TX=", QStringLiteral("B"));
    for (int band : {0, 1}) {
        if (const std::optional<int> power =
                savedPower(b, band, band == 0 ? b.state->PowerA : b.state->PowerB))
            add(band == 0 ? "PWRA=" : "PWRB=", number(*power));
    }
    if (!b.ComPortTX->portName.isEmpty())
        add("COM=", b.ComPortTX->portName);
    for (const QString &code : b.dtmfCodes->lines().mid(1))
        add("DTMF_CODE=", code);
    add("IPSERVER=", b.IdTCPClient->host);
    add("PORT=", number(b.IdTCPClient->port));
    if (b.server->connectAtStart())
        add("CONNECT=", QStringLiteral("1"));
    switch (b.server->audioChannel()) {
    case AudioChannel::Left:
        add("CHANNEL=", QStringLiteral("LEFT"));
        break;
    case AudioChannel::Both:
        add("CHANNEL=", QStringLiteral("BOTH"));
        break;
    case AudioChannel::Right:
        add("CHANNEL=", QStringLiteral("RIGHT"));
        break;
    }
    if (b.warning->accepted())
        add("WARNING=", QStringLiteral("Y"));
    add("FORMTOP=", number(b.Form1->y()));
    add("FORMLEFT=", number(b.Form1->x()));
    add("COMRI=", number(b.ComPortTX->readIntervalTimeout));
    add("COMRTC=", number(b.ComPortTX->readTotalConstant));
    add("COMRTM=", number(b.ComPortTX->readTotalMultiplier));
    const GenericTxWindowSettings &g = *b.tx16;
    add("OPTITX16=", g.circularScan() ? QStringLiteral("Y") : QStringLiteral("N"));
    add("CHANNELNUMTX16=", number(g.channelCount()));
    add("BASECHANNELTX16=", number(s.Tx16BaseChannel));
    add("TEMPOTX16=", number(g.period()));
    add("DELAYPIN14=", number(g.pulseLength(TxLine::Up)));
    add("DELAYPIN1=", number(g.pulseLength(TxLine::Down)));
    add("DELAYPIN16=", number(g.pulseLength(TxLine::Reset)));
    switch (g.port()) {
    case Port::Lpt378:
        add("LPT378=", number(s.LptBase));
        break;
    case Port::Lpt278:
        add("LPT278=", number(s.LptBase));
        break;
    case Port::Lpt3BC:
        add("LPT3BC=", number(s.LptBase));
        break;
    case Port::User:
        add("LPT=", number(s.LptBase));
        break;
    case Port::None:
        break;
    }
    const auto activeLow = [&](const char *key, LinePolarity polarity) {
        if (polarity == LinePolarity::Negative)
            add(key, QStringLiteral("1"));
    };
    activeLow("PIN14=", g.polarity(TxLine::Up));
    activeLow("PIN1=", g.polarity(TxLine::Down));
    activeLow("PIN16=", g.polarity(TxLine::Reset));
    activeLow("PIN17=", g.polarity(TxLine::Ptt));
    activeLow("PIN11=", g.squelchPolarity());
    // "+5v" is said where it is not the default of the lines in use (older versions read "0"
    // as +5v too).
    if (b.lines && g.squelchPolarity() == LinePolarity::Positive &&
        LineConfig::defaultSquelchOpenLevel(b.lines->kind) != LinePolarity::Positive)
        add("PIN11=", QStringLiteral("0"));
    add("VERSTART=", s.CheckVersionAtStart ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QString &entry : b.channels->memories()) {
        if (ChannelList::hasContent(entry))
            out << QStringLiteral("MEM") + entry;
    }
    add("TXTIMEOUT=", number(s.TxTimeoutSeconds));
    if (b.server->reconnect())
        add("RECONNECT=", QStringLiteral("1"));
    if (b.hamlib)
        out << HamlibConfigKeys::lines(*b.hamlib);
    if (b.lines)
        out << LineConfig::lines(*b.lines);
    if (b.web)
        out << WebConfigKeys::lines(*b.web);
    return out;
}

SaveResult save(const ConfigBinding &b, const QString &directory)
{
    const QDir dir(directory);
    const QString temporary = dir.filePath(b.state->IniBackupFileName);
    if (QFile::exists(temporary)) {
        QFile::setPermissions(temporary, QFile::ReadOwner | QFile::WriteOwner);
        if (!QFile::remove(temporary))
            return SaveResult::Failed;
    }
    if (!TextFile::writeLinesAtomically(dir.filePath(b.state->IniFileName), temporary, build(b),
                                        0444)) {
        QFile::remove(temporary);
        return SaveResult::Failed;
    }
    if (b.state->IniFileTMD700Exists) {
        const QString legacy = dir.filePath(b.state->IniFileNameTMD700);
        QFile::setPermissions(legacy, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(legacy);
    }
    return SaveResult::Saved;
}

} // namespace ConfigFile

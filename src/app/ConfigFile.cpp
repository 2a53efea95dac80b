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

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include <functional>
#include <map>

using ConfigValues::parseInteger;

namespace {

void setIfInteger(const QString &value, const std::function<void(int)> &set)
{
    if (const std::optional<int> n = parseInteger(value))
        set(*n);
}

// Radio buttons of one group cannot be unchecked directly while auto-exclusive.
void uncheck(QRadioButton *button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

// LPT378=, LPT278=, LPT3BC=, LPT=: select the button without running its click handler.
void applyPortKey(const ConfigBinding &b, QRadioButton *button, const QString &value, bool user)
{
    if (value.isEmpty())
        return;
    const std::optional<int> address = parseInteger(value);
    b.state->LptBase = address.value_or(0);
    const QString hex = ConfigValues::hexAddress(b.state->LptBase);
    if (address)
        button->setChecked(true);
    else
        uncheck(button);
    if (user)
        b.EditH000->setText(hex);
    else
        button->setText(hex + QLatin1Char('h'));
}

void applyChannel(const ConfigBinding &b, int channel, const QString &value)
{
    QStringList entries = b.channels->memories();
    while (entries.size() < channel)
        entries << ChannelList::emptyEntry(int(entries.size()) + 1);
    entries[channel - 1] = ConfigValues::channelNumberText(channel) + QLatin1Char('=') + value;
    b.channels->updateMemories(entries);
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
         [](const ConfigBinding &b, const QString &v) { b.state->ModelName = v; }},
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
                 b.CheckBoxConnect->setChecked(true);
         }},
        {QStringLiteral("RECONNECT="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.CheckBoxReconnect->setChecked(true);
         }},
        {QStringLiteral("CHANNEL="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("LEFT"))
                 b.RadioButtonLeft->setChecked(true);
             else if (v == QLatin1String("RIGHT"))
                 b.RadioButtonRight->setChecked(true);
             else if (v == QLatin1String("BOTH"))
                 b.RadioButtonBoth->setChecked(true);
         }},
        {QStringLiteral("WARNING="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("Y"))
                 b.CheckBoxWarning->setChecked(true);
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
             b.CheckBoxOptiTX16->setChecked(v == QLatin1String("Y"));
         }},
        {QStringLiteral("CHANNELNUMTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.SpinEditCanalNombre->setValue(n); });
         }},
        {QStringLiteral("BASECHANNELTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.state->Tx16BaseChannel = n; });
         }},
        {QStringLiteral("TEMPOTX16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) {
                 b.SpinEditTempoTX16->setValue(n);
                 b.state->Tx16Tempo = b.SpinEditTempoTX16->value();
             });
         }},
        {QStringLiteral("DELAYPIN14="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.SpinEditPin14->setValue(n); });
         }},
        {QStringLiteral("DELAYPIN1="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.SpinEditPin1->setValue(n); });
         }},
        {QStringLiteral("DELAYPIN16="),
         [](const ConfigBinding &b, const QString &v) {
             setIfInteger(v, [&](int n) { b.SpinEditPin16->setValue(n); });
         }},
        {QStringLiteral("LPT378="),
         [](const ConfigBinding &b, const QString &v) {
             applyPortKey(b, b.RadioButtonH378, v, false);
         }},
        {QStringLiteral("LPT278="),
         [](const ConfigBinding &b, const QString &v) {
             applyPortKey(b, b.RadioButtonH278, v, false);
         }},
        {QStringLiteral("LPT3BC="),
         [](const ConfigBinding &b, const QString &v) {
             applyPortKey(b, b.RadioButtonH3BC, v, false);
         }},
        {QStringLiteral("LPT="),
         [](const ConfigBinding &b, const QString &v) {
             applyPortKey(b, b.RadioButtonH000, v, true);
         }},
        {QStringLiteral("PIN14="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.RadioButtonPin14Neg->setChecked(true);
         }},
        {QStringLiteral("PIN1="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.RadioButtonPin1Neg->setChecked(true);
         }},
        {QStringLiteral("PIN16="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.RadioButtonPin16Neg->setChecked(true);
         }},
        {QStringLiteral("PIN17="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.RadioButtonPin17L->setChecked(true);
         }},
        {QStringLiteral("PIN11="),
         [](const ConfigBinding &b, const QString &v) {
             if (v == QLatin1String("1"))
                 b.RadioButtonPin11L->setChecked(true);
         }},
        {QStringLiteral("VERSTART="),
         [](const ConfigBinding &b, const QString &v) {
             b.state->CheckVersionAtStart = v == QLatin1String("1");
             b.MenuInfoVersion->setChecked(b.state->CheckVersionAtStart);
         }},
    };
    return table;
}

} // namespace

namespace ConfigFile {

void apply(const ConfigBinding &b, const QStringList &lines)
{
    for (const QString &line : lines) {
        const std::optional<ConfigValues::KeyValue> kv = ConfigValues::splitLine(line);
        if (!kv)
            continue;
        const auto handler = handlers().find(kv->key);
        if (handler != handlers().end())
            handler->second(b, kv->value);
        else if (b.hamlib && HamlibConfigKeys::apply(*b.hamlib, kv->key, kv->value))
            continue;
        else if (b.lines && LineConfig::apply(*b.lines, kv->key, kv->value))
            continue;
        else if (const std::optional<int> channel = ConfigValues::channelKeyNumber(kv->key))
            applyChannel(b, *channel, kv->value);
    }
}

QStringList build(const ConfigBinding &b)
{
    const StationState &s = *b.state;
    QStringList out;
    auto add = [&out](const char *key, const QString &value) {
        out << QString::fromLatin1(key) + value;
    };
    auto number = [](int n) { return QString::number(n); };

    out << QString::fromLatin1(Header);
    add("LANGUAGE=", s.language == Language::English ? QStringLiteral("E") : QStringLiteral("F"));
    // No radio chosen yet (an unknown MODEL= at start-up) is saved as the generic transmitter.
    const QString model = b.radios ? b.radios->currentModel() : QString();
    add("MODEL=", model.isEmpty() ? QStringLiteral("TX16UD") : model);
    add("NUMBERMEM=", number(s.NumberOfMemories));
    if (s.Bands == StationState::BandChoice::A)
        add("TX=", QStringLiteral("A"));
    else if (s.Bands == StationState::BandChoice::B)
        add("TX=", QStringLiteral("B"));
    add("PWRA=", number(b.TrackBarPWRA->value()));
    add("PWRB=", number(b.TrackBarPWRB->value()));
    if (!b.ComPortTX->portName.isEmpty())
        add("COM=", b.ComPortTX->portName);
    for (const QString &code : b.dtmfCodes->lines().mid(1))
        add("DTMF_CODE=", code);
    add("IPSERVER=", b.IdTCPClient->host);
    add("PORT=", number(b.IdTCPClient->port));
    if (b.CheckBoxConnect->isChecked())
        add("CONNECT=", QStringLiteral("1"));
    if (b.RadioButtonLeft->isChecked())
        add("CHANNEL=", QStringLiteral("LEFT"));
    else if (b.RadioButtonBoth->isChecked())
        add("CHANNEL=", QStringLiteral("BOTH"));
    else
        add("CHANNEL=", QStringLiteral("RIGHT"));
    if (b.CheckBoxWarning->isChecked())
        add("WARNING=", QStringLiteral("Y"));
    add("FORMTOP=", number(b.Form1->y()));
    add("FORMLEFT=", number(b.Form1->x()));
    add("COMRI=", number(b.ComPortTX->readIntervalTimeout));
    add("COMRTC=", number(b.ComPortTX->readTotalConstant));
    add("COMRTM=", number(b.ComPortTX->readTotalMultiplier));
    add("OPTITX16=", b.CheckBoxOptiTX16->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    add("CHANNELNUMTX16=", number(b.SpinEditCanalNombre->value()));
    add("BASECHANNELTX16=", number(s.Tx16BaseChannel));
    add("TEMPOTX16=", number(b.SpinEditTempoTX16->value()));
    add("DELAYPIN14=", number(b.SpinEditPin14->value()));
    add("DELAYPIN1=", number(b.SpinEditPin1->value()));
    add("DELAYPIN16=", number(b.SpinEditPin16->value()));
    if (b.RadioButtonH378->isChecked())
        add("LPT378=", number(s.LptBase));
    else if (b.RadioButtonH278->isChecked())
        add("LPT278=", number(s.LptBase));
    else if (b.RadioButtonH3BC->isChecked())
        add("LPT3BC=", number(s.LptBase));
    else if (b.RadioButtonH000->isChecked())
        add("LPT=", number(s.LptBase));
    if (b.RadioButtonPin14Neg->isChecked())
        add("PIN14=", QStringLiteral("1"));
    if (b.RadioButtonPin1Neg->isChecked())
        add("PIN1=", QStringLiteral("1"));
    if (b.RadioButtonPin16Neg->isChecked())
        add("PIN16=", QStringLiteral("1"));
    if (b.RadioButtonPin17L->isChecked())
        add("PIN17=", QStringLiteral("1"));
    if (b.RadioButtonPin11L->isChecked())
        add("PIN11=", QStringLiteral("1"));
    add("VERSTART=", s.CheckVersionAtStart ? QStringLiteral("1") : QStringLiteral("0"));
    for (const QString &entry : b.channels->memories()) {
        if (ChannelList::hasContent(entry))
            out << QStringLiteral("MEM") + entry;
    }
    add("TXTIMEOUT=", number(s.TxTimeoutSeconds));
    if (b.CheckBoxReconnect->isChecked())
        add("RECONNECT=", QStringLiteral("1"));
    if (b.hamlib)
        out << HamlibConfigKeys::lines(*b.hamlib);
    if (b.lines)
        out << LineConfig::lines(*b.lines);
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

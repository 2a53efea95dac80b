#include "service/ConfigCheck.h"

#include "core/ConfigValues.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/LineSettings.h"
#include "hamlib/HamlibConfigKeys.h"
#include "hamlib/HamlibRadio.h"
#include "kenwood/KenwoodModel.h"
#include "radio/TransmitTimeout.h"
#include "web/WebPassword.h"
#include "web/WebSettings.h"

#include <QHash>
#include <QSet>

#include <functional>
#include <optional>

using ConfigValues::parseInteger;

namespace {

// Why a value is refused; empty when it is taken.
using Rule = std::function<QString(const QString &value)>;

Rule oneOf(const QStringList &values)
{
    return [values](const QString &v) {
        return values.contains(v) ? QString()
                                  : QStringLiteral("not one of %1").arg(values.join(u", "));
    };
}

Rule anyValue()
{
    return [](const QString &) { return QString(); };
}

Rule integer()
{
    return [](const QString &v) {
        return parseInteger(v) ? QString() : QStringLiteral("not a whole number");
    };
}

// Only "1" means something; anything else is the default, written as no line.
Rule onlyOne(const char *meaning)
{
    return [meaning](const QString &v) {
        return v == QLatin1String("1")
                   ? QString()
                   : QStringLiteral("only 1 means something (%1)").arg(QLatin1String(meaning));
    };
}

Rule address()
{
    return [](const QString &v) {
        if (v.isEmpty())
            return QStringLiteral("empty");
        return parseInteger(v) ? QString()
                               : QStringLiteral("not a whole number: no parallel port chosen");
    };
}

Rule guarded(const std::function<bool(const QString &)> &fits, const char *why)
{
    return [fits, why](const QString &v) { return fits(v) ? QString() : QString::fromLatin1(why); };
}

const QHash<QString, Rule> &rules()
{
    static const QHash<QString, Rule> table = {
        {QStringLiteral("LANGUAGE="), oneOf({QStringLiteral("F"), QStringLiteral("E")})},
        {QStringLiteral("MODEL="), oneOf(ConfigCheck::modelNames())},
        {QStringLiteral("NUMBERMEM="), integer()},
        {QStringLiteral("TX="), oneOf({QStringLiteral("A"), QStringLiteral("B")})},
        {QStringLiteral("PWRA="), integer()},
        {QStringLiteral("PWRB="), integer()},
        {QStringLiteral("COM="),
         guarded([](const QString &v) { return ConfigValues::serialPortName(v).has_value(); },
                 "empty, or a Windows port name: name the Linux port (ttyUSB0, "
                 "/dev/serial/by-id/...)")},
        {QStringLiteral("DTMF_CODE="), anyValue()},
        {QStringLiteral("IPSERVER="),
         guarded([](const QString &v) { return !v.isEmpty(); }, "empty")},
        {QStringLiteral("PORT="), integer()},
        {QStringLiteral("CONNECT="), onlyOne("connect at start")},
        {QStringLiteral("RECONNECT="), onlyOne("reconnect automatically")},
        {QStringLiteral("CHANNEL="),
         oneOf({QStringLiteral("LEFT"), QStringLiteral("RIGHT"), QStringLiteral("BOTH")})},
        {QStringLiteral("WARNING="), oneOf({QStringLiteral("Y")})},
        {QStringLiteral("FORMTOP="), integer()},
        {QStringLiteral("FORMLEFT="), integer()},
        {QStringLiteral("COMRI="), integer()},
        {QStringLiteral("COMRTC="), integer()},
        {QStringLiteral("COMRTM="), integer()},
        {QStringLiteral("TXTIMEOUT="),
         [](const QString &v) {
             const std::optional<int> n = parseInteger(v);
             if (n && *n >= 0 && *n <= TransmitTimeout::MaxSeconds)
                 return QString();
             return QStringLiteral("not a number of seconds from 0 to %1")
                 .arg(TransmitTimeout::MaxSeconds);
         }},
        {QStringLiteral("OPTITX16="), anyValue()},
        {QStringLiteral("CHANNELNUMTX16="), integer()},
        {QStringLiteral("BASECHANNELTX16="), integer()},
        {QStringLiteral("TEMPOTX16="), integer()},
        {QStringLiteral("DELAYPIN14="), integer()},
        {QStringLiteral("DELAYPIN1="), integer()},
        {QStringLiteral("DELAYPIN16="), integer()},
        {QStringLiteral("LPT378="), address()},
        {QStringLiteral("LPT278="), address()},
        {QStringLiteral("LPT3BC="), address()},
        {QStringLiteral("LPT="), address()},
        {QStringLiteral("PIN14="), onlyOne("negative pulse")},
        {QStringLiteral("PIN1="), onlyOne("negative pulse")},
        {QStringLiteral("PIN16="), onlyOne("negative pulse")},
        {QStringLiteral("PIN17="), onlyOne("transmit at 0 V")},
        {QStringLiteral("PIN11="), onlyOne("busy at 0 V")},
        {QStringLiteral("VERSTART="), anyValue()},
        {QStringLiteral("HAMLIBMODEL="),
         guarded([](const QString &v) { return HamlibConfigKeys::modelNumber(v).has_value(); },
                 "not a model number Hamlib knows (rigctl -l lists them)")},
        {QStringLiteral("HAMLIBPORT="),
         guarded([](const QString &v) { return HamlibConfigKeys::portSetting(v).has_value(); },
                 "not a port (a device, or host:port, without blanks)")},
        {QStringLiteral("HAMLIBSPEED="),
         guarded([](const QString &v) { return HamlibConfigKeys::serialSpeed(v).has_value(); },
                 "not a standard serial speed (300 to 460800)")},
        {QStringLiteral("LINES="),
         guarded([](const QString &v) { return LineConfig::kindFromText(v.trimmed()).has_value(); },
                 "not one of LPT, CM108, GPIO")},
        {QStringLiteral("LINESDEVICE="),
         guarded([](const QString &v) { return LineConfig::deviceSetting(v).has_value(); },
                 "not a device path (/dev/..., without blanks)")},
        {QStringLiteral("WEB="),
         guarded([](const QString &v) { return WebConfigKeys::parseEndpoint(v).has_value(); },
                 "not an ADDRESS:PORT (127.0.0.1:8080)")},
        {QStringLiteral("WEBPASSWORD="),
         guarded([](const QString &v) { return WebPassword::isHash(v); },
                 "not a password hash (ivrelane --web-password writes it)")},
    };
    return table;
}

// A key the reader does not know, written in another case or with blanks around it.
QString misspelt(const QString &key)
{
    const QString fixed = key.chopped(1).trimmed().toUpper() + QLatin1Char('=');
    if (fixed != key && rules().contains(fixed))
        return QStringLiteral("unknown key: %1 is written in capitals, without blanks").arg(fixed);
    return QStringLiteral("unknown key");
}

} // namespace

namespace ConfigCheck {

QStringList modelNames()
{
    QStringList names;
    for (const Kenwood::Model model : Kenwood::Models)
        names << Kenwood::modelName(model);
    names << HamlibRadio::ModelName.toString() << GenericTxRadio::ModelName.toString();
    return names;
}

QList<Verdict> judge(const QStringList &lines)
{
    QList<Verdict> verdicts;
    // The lines map is read against the kind named before it, as at start-up.
    LineSettings lineSettings;
    QHash<QString, qsizetype> lastTaken; // key: index of its verdict
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &text = lines.at(i);
        // Comments are lines the reader passes over like any line without a key it knows.
        if (text.trimmed().isEmpty() || text == QLatin1String(ConfigValues::Header) ||
            text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char(';')))
            continue;
        Verdict verdict{int(i + 1), text, false, QString()};
        const std::optional<ConfigValues::KeyValue> kv = ConfigValues::splitLine(text);
        if (!kv) {
            verdict.why = QStringLiteral("no key (KEY=value)");
            verdicts << verdict;
            continue;
        }
        const auto rule = rules().constFind(kv->key);
        if (kv->key == QLatin1String("LINESMAP=")) {
            LineConfig::apply(lineSettings, kv->key, kv->value);
            if (lineSettings.map != kv->value.trimmed())
                verdict.why = QStringLiteral("does not fit the lines (UP,DOWN,RESET,PTT,SQUELCH)");
        } else if (rule != rules().constEnd()) {
            verdict.why = (*rule)(kv->value);
            LineConfig::apply(lineSettings, kv->key, kv->value);
        } else if (kv->key.startsWith(QLatin1String("MEM")) && kv->key.size() == 7) {
            if (!ConfigValues::channelKeyNumber(kv->key))
                verdict.why = QStringLiteral("not a channel from MEM001= to MEM040=");
        } else {
            verdict.why = misspelt(kv->key);
        }
        verdict.taken = verdict.why.isEmpty();
        // A key given twice takes its last value; DTMF codes add up.
        if (verdict.taken && kv->key != QLatin1String("DTMF_CODE=")) {
            if (const auto earlier = lastTaken.constFind(kv->key); earlier != lastTaken.cend()) {
                Verdict &replaced = verdicts[*earlier];
                replaced.taken = false;
                replaced.why = QStringLiteral("line %1 gives it again").arg(verdict.lineNumber);
            }
            lastTaken.insert(kv->key, verdicts.size());
        }
        verdicts << verdict;
    }
    return verdicts;
}

} // namespace ConfigCheck

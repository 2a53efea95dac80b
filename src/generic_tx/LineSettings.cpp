#include "generic_tx/LineSettings.h"

#include <QSet>

namespace {
constexpr int UsbAudioGpioCount = 8;
// The kernel numbers a chip's lines from 0; no chip has anywhere near this many.
constexpr int MaxChipLine = 4095;

struct ButtonName
{
    const char *name;
    int bit;
};
constexpr ButtonName Buttons[] = {{"VOLUP", LineConfig::VolumeUp},
                                  {"VOLDN", LineConfig::VolumeDown},
                                  {"PLAYMUTE", LineConfig::PlayMute},
                                  {"RECMUTE", LineConfig::RecordMute}};

std::optional<int> number(const QString &text, int minimum, int maximum)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < minimum || n > maximum)
        return std::nullopt;
    return n;
}

std::optional<int> squelchInput(LinesKind kind, const QString &text)
{
    if (kind == LinesKind::GpioChip)
        return number(text, 0, MaxChipLine);
    for (const ButtonName &button : Buttons) {
        if (text.compare(QLatin1String(button.name), Qt::CaseInsensitive) == 0)
            return button.bit;
    }
    return std::nullopt;
}
} // namespace

namespace LineConfig {

std::optional<LinesKind> kindFromText(const QString &text)
{
    if (text == QLatin1String("LPT"))
        return LinesKind::ParallelPort;
    if (text == QLatin1String("CM108"))
        return LinesKind::UsbAudio;
    if (text == QLatin1String("GPIO"))
        return LinesKind::GpioChip;
    return std::nullopt;
}

QString kindText(LinesKind kind)
{
    switch (kind) {
    case LinesKind::UsbAudio:
        return QStringLiteral("CM108");
    case LinesKind::GpioChip:
        return QStringLiteral("GPIO");
    case LinesKind::ParallelPort:
        break;
    }
    return QStringLiteral("LPT");
}

QString defaultMap(LinesKind kind)
{
    return kind == LinesKind::UsbAudio ? QStringLiteral("1,2,4,3,VOLDN") : QString();
}

std::optional<LineMap> parseMap(LinesKind kind, const QString &text)
{
    if (kind == LinesKind::ParallelPort)
        return std::nullopt;
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 5)
        return std::nullopt;
    LineMap map;
    QSet<int> used;
    const int highest = kind == LinesKind::UsbAudio ? UsbAudioGpioCount : MaxChipLine;
    const int lowest = kind == LinesKind::UsbAudio ? 1 : 0;
    for (int i = 0; i < 5; ++i) {
        const QString field = fields.at(i).trimmed();
        if (field == QLatin1String("-"))
            continue;
        const std::optional<int> pin =
            i < 4 ? number(field, lowest, highest) : squelchInput(kind, field);
        // A chip line is either an output or the squelch input; the interface's buttons are
        // inputs of their own.
        const bool sharesALine = i < 4 || kind == LinesKind::GpioChip;
        if (!pin || (sharesALine && used.contains(*pin)))
            return std::nullopt;
        used.insert(*pin);
        if (i < 4)
            map.outputs[std::size_t(i)] = *pin;
        else
            map.squelch = *pin;
    }
    return map;
}

LinePolarity defaultSquelchOpenLevel(LinesKind kind)
{
    return kind == LinesKind::UsbAudio ? LinePolarity::Negative : LinePolarity::Positive;
}

bool squelchReportsPressesOnly(LinesKind kind, const LineMap &map)
{
    return kind == LinesKind::UsbAudio && (map.squelch == PlayMute || map.squelch == RecordMute);
}

std::optional<QString> deviceSetting(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('/')) || trimmed.size() > 255)
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (c.isSpace() || !c.isPrint())
            return std::nullopt;
    }
    return trimmed;
}

bool apply(LineSettings &settings, const QString &key, const QString &value)
{
    if (key == QLatin1String("LINES=")) {
        if (const std::optional<LinesKind> kind = kindFromText(value.trimmed())) {
            settings.kind = *kind;
            if (*kind != LinesKind::ParallelPort && !parseMap(*kind, settings.map))
                settings.map = defaultMap(*kind);
        }
    } else if (key == QLatin1String("LINESDEVICE=")) {
        if (const std::optional<QString> device = deviceSetting(value))
            settings.device = *device;
    } else if (key == QLatin1String("LINESMAP=")) {
        // Before LINES= the kind is not known yet: a map that fits either is kept for it.
        const QString map = value.trimmed();
        const bool fits =
            settings.kind == LinesKind::ParallelPort
                ? parseMap(LinesKind::UsbAudio, map) || parseMap(LinesKind::GpioChip, map)
                : parseMap(settings.kind, map).has_value();
        if (fits)
            settings.map = map;
    } else {
        return false;
    }
    return true;
}

QStringList lines(const LineSettings &settings)
{
    QStringList out;
    if (settings.kind != LinesKind::ParallelPort)
        out << QStringLiteral("LINES=") + kindText(settings.kind);
    if (!settings.device.isEmpty())
        out << QStringLiteral("LINESDEVICE=") + settings.device;
    if (!settings.map.isEmpty())
        out << QStringLiteral("LINESMAP=") + settings.map;
    return out;
}

} // namespace LineConfig

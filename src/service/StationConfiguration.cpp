#include "service/StationConfiguration.h"

#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "hamlib/HamlibConfigKeys.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

void setPolarity(GenericReset::Lines &lines, TxLine line, const QString &value)
{
    if (value == QLatin1String("1"))
        lines.polarities[int(line)] = LinePolarity::Negative;
}

} // namespace

StationConfiguration StationConfiguration::fromLines(const QStringList &configuration)
{
    StationConfiguration s;
    using ConfigValues::parseInteger;
    for (const QString &text : configuration) {
        const std::optional<ConfigValues::KeyValue> kv = ConfigValues::splitLine(text);
        if (!kv)
            continue;
        const QString &key = kv->key;
        const QString &value = kv->value;
        if (key == QLatin1String("MODEL="))
            s.model = value;
        else if (key == QLatin1String("COM="))
            s.serial.portName = ConfigValues::serialPortName(value).value_or(s.serial.portName);
        else if (key == QLatin1String("COMRI="))
            s.serial.readIntervalTimeout =
                parseInteger(value).value_or(s.serial.readIntervalTimeout);
        else if (key == QLatin1String("COMRTC="))
            s.serial.readTotalConstant = parseInteger(value).value_or(s.serial.readTotalConstant);
        else if (key == QLatin1String("COMRTM="))
            s.serial.readTotalMultiplier =
                parseInteger(value).value_or(s.serial.readTotalMultiplier);
        else if (key.startsWith(QLatin1String("LPT")) && !value.isEmpty())
            s.lines.base = quint16(parseInteger(value).value_or(0));
        else if (key == QLatin1String("PIN14="))
            setPolarity(s.lines, TxLine::Up, value);
        else if (key == QLatin1String("PIN1="))
            setPolarity(s.lines, TxLine::Down, value);
        else if (key == QLatin1String("PIN16="))
            setPolarity(s.lines, TxLine::Reset, value);
        else if (key == QLatin1String("PIN17="))
            setPolarity(s.lines, TxLine::Ptt, value);
        else if (!LineConfig::apply(s.otherLines, key, value))
            HamlibConfigKeys::apply(s.hamlib, key, value);
    }
    return s;
}

QString StationConfiguration::fileIn(const QString &directory)
{
    const StationState names;
    for (const QString &name : {names.IniFileName, names.IniFileNameTMD700}) {
        if (QFileInfo::exists(QDir(directory).filePath(name)))
            return name;
    }
    return QString();
}

bool StationConfiguration::read(const QString &directory, QStringList *lines)
{
    const QString name = fileIn(directory);
    return !name.isEmpty() && TextFile::readLines(QDir(directory).filePath(name), lines);
}

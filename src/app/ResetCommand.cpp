#include "app/ResetCommand.h"

#include "app/InstanceLock.h"
#include "core/ConfigValues.h"
#include "core/StationState.h"
#include "generic_tx/GenericReset.h"
#include "generic_tx/GenericTxRadio.h"
#include "generic_tx/LineSettings.h"
#include "hamlib/HamlibConfigKeys.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibReset.h"
#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodReset.h"
#include "platform/LinkSettings.h"
#include "platform/ParallelPortFactory.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace {

// What a reset needs of the configuration, read with the same rules as at start-up.
struct ResetSettings
{
    QString model;
    SerialPortSettings serial;
    HamlibSettings hamlib;
    GenericReset::Lines lines;
    LineSettings otherLines;
};

void setPolarity(GenericReset::Lines &lines, TxLine line, const QString &value)
{
    if (value == QLatin1String("1"))
        lines.polarities[int(line)] = LinePolarity::Negative;
}

ResetSettings readSettings(const QStringList &configuration)
{
    ResetSettings s;
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

// The configuration the station would read in `directory`; false when it has none.
bool readConfiguration(const QString &directory, QStringList *lines)
{
    const StationState names;
    const QDir dir(directory);
    for (const QString &name : {names.IniFileName, names.IniFileNameTMD700}) {
        if (QFileInfo::exists(dir.filePath(name)))
            return TextFile::readLines(dir.filePath(name), lines);
    }
    return false;
}

QCoro::Task<> keepResult(QCoro::Task<QString> task, std::optional<QString> &result)
{
    result = co_await task;
    QCoreApplication::exit(0);
}

// The reset is all this process does: the application's own event loop carries the exchanges.
QString awaitReset(QCoro::Task<QString> task)
{
    std::optional<QString> result;
    keepResult(std::move(task), result);
    if (!result)
        QCoreApplication::exec();
    return result.value_or(QString());
}

QString resetGeneric(const ResetSettings &s)
{
    if (s.otherLines.kind != LinesKind::ParallelPort)
        return GenericReset::toIdle(s.otherLines, s.lines.polarities);
    const std::shared_ptr<ParallelPort> port = ParallelPortFactory::create();
    return GenericReset::toIdle(*port, s.lines);
}

// Each backend's reset under the model names it drives, as the station registers them.
QString reset(const ResetSettings &s)
{
    using Reset = std::function<QString(const ResetSettings &)>;
    std::map<QString, Reset> resets = {
        {HamlibRadio::ModelName.toString(),
         [](const ResetSettings &s) { return HamlibReset::toReceive(s.hamlib); }},
        {GenericTxRadio::ModelName.toString(), resetGeneric},
    };
    for (const Kenwood::Model model : Kenwood::Models) {
        resets.emplace(Kenwood::modelName(model), [](const ResetSettings &s) {
            return awaitReset(KenwoodReset::toReceive(s.serial));
        });
    }
    const auto found = resets.find(s.model);
    if (found == resets.end())
        return QStringLiteral("no radio model in the configuration (MODEL=)");
    return found->second(s);
}

} // namespace

namespace ResetCommand {

int run(const QString &directory)
{
    const QString where = QDir::toNativeSeparators(directory);
    InstanceLock lock(directory);
    if (!lock.acquire()) {
        std::fprintf(stderr, "Ivrelane: %s: the radio is left to it\n", qPrintable(lock.refusal()));
        return 1;
    }
    QStringList configuration;
    if (!readConfiguration(directory, &configuration)) {
        std::fprintf(stderr, "Ivrelane: no configuration in %s\n", qPrintable(where));
        return 1;
    }
    const ResetSettings settings = readSettings(configuration);
    if (const QString failure = reset(settings); !failure.isEmpty()) {
        std::fprintf(stderr, "Ivrelane: reset failed: %s\n", qPrintable(failure));
        return 1;
    }
    std::printf("Ivrelane: %s put to receive\n", qPrintable(settings.model));
    return 0;
}

} // namespace ResetCommand

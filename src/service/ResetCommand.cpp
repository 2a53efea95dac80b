#include "service/ResetCommand.h"

#include "generic_tx/GenericReset.h"
#include "generic_tx/GenericTxRadio.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibReset.h"
#include "kenwood/KenwoodModel.h"
#include "kenwood/KenwoodReset.h"
#include "platform/InstanceLock.h"
#include "platform/ParallelPortFactory.h"
#include "service/CommandTask.h"
#include "service/StationConfiguration.h"

#include <QDir>

#include <cstdio>
#include <functional>
#include <map>

namespace {

QString resetGeneric(const StationConfiguration &s)
{
    if (s.otherLines.kind != LinesKind::ParallelPort)
        return GenericReset::toIdle(s.otherLines, s.lines.polarities);
    const std::shared_ptr<ParallelPort> port = ParallelPortFactory::create();
    return GenericReset::toIdle(*port, s.lines);
}

// Each backend's reset under the model names it drives, as the station registers them.
QString reset(const StationConfiguration &s)
{
    using Reset = std::function<QString(const StationConfiguration &)>;
    std::map<QString, Reset> resets = {
        {HamlibRadio::ModelName.toString(),
         [](const StationConfiguration &s) { return HamlibReset::toReceive(s.hamlib); }},
        {GenericTxRadio::ModelName.toString(), resetGeneric},
    };
    for (const Kenwood::Model model : Kenwood::Models) {
        resets.emplace(Kenwood::modelName(model), [](const StationConfiguration &s) {
            return CommandTask::await(KenwoodReset::toReceive(s.serial));
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
    if (!StationConfiguration::read(directory, &configuration)) {
        std::fprintf(stderr, "Ivrelane: no configuration in %s\n", qPrintable(where));
        return 1;
    }
    const StationConfiguration settings = StationConfiguration::fromLines(configuration);
    if (const QString failure = reset(settings); !failure.isEmpty()) {
        std::fprintf(stderr, "Ivrelane: reset failed: %s\n", qPrintable(failure));
        return 1;
    }
    std::printf("Ivrelane: %s put to receive\n", qPrintable(settings.model));
    return 0;
}

} // namespace ResetCommand

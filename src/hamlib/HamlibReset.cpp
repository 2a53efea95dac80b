#include "hamlib/HamlibReset.h"

#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibRig.h"
#include "platform/LinkSettings.h"

#include <memory>

namespace HamlibReset {

QString toReceive(const HamlibSettings &settings)
{
    if (!HamlibModelList::settingsComplete(settings))
        return QStringLiteral("no Hamlib radio in the configuration (HAMLIBMODEL=, HAMLIBPORT=)");
    HamlibRig::prepareProcessLocale();
    // Nothing asks for transmit: the request below unkeys.
    HamlibRig rig(std::make_shared<HamlibWishes>());
    QString error;
    QObject::connect(&rig, &HamlibRig::failed, [&error](const QString &text) { error = text; });
    QObject::connect(&rig, &HamlibRig::refused,
                     [&error](const QString &text) { error = text; });
    rig.open(settings.model, settings.port, settings.speed);
    // The first request opens the radio, which unkeys it first thing; the request itself
    // then asks for receive.
    rig.applyTransmit();
    rig.close();
    if (!error.isEmpty())
        return QStringLiteral("Hamlib radio %1 on %2: %3")
            .arg(settings.model)
            .arg(settings.port, error);
    return {};
}

} // namespace HamlibReset

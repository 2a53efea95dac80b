#include "hamlib/HamlibModelList.h"

#include "hamlib/HamlibTexts.h"
#include "platform/LinkSettings.h"

#include <hamlib/rig.h>

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

QString HamlibModel::label() const
{
    return maker + QLatin1Char(' ') + model + QStringLiteral(" (") + QString::number(number) +
           QLatin1Char(')');
}

namespace {

int collect(const rig_caps *caps, rig_ptr_t data)
{
    auto *models = static_cast<QList<HamlibModel> *>(data);
    models->append(HamlibModel{int(caps->rig_model), QString::fromLatin1(caps->mfg_name).trimmed(),
                               QString::fromLatin1(caps->model_name).trimmed()});
    return 1; // go on
}

// The text without its hyphens and blanks, so that a name is found however it is split.
QString withoutHyphens(QString text)
{
    text.remove(QLatin1Char('-'));
    text.remove(QLatin1Char(' '));
    return text;
}

} // namespace

namespace HamlibModelList {

const QList<HamlibModel> &all()
{
    static const QList<HamlibModel> models = [] {
        QList<HamlibModel> list;
        rig_set_debug(RIG_DEBUG_NONE);
        rig_load_all_backends();
        rig_list_foreach(collect, &list);
        std::sort(list.begin(), list.end(), [](const HamlibModel &a, const HamlibModel &b) {
            const int maker = QString::compare(a.maker, b.maker, Qt::CaseInsensitive);
            if (maker != 0)
                return maker < 0;
            const int model = QString::compare(a.model, b.model, Qt::CaseInsensitive);
            return model != 0 ? model < 0 : a.number < b.number;
        });
        return list;
    }();
    return models;
}

const HamlibModel *find(int number)
{
    for (const HamlibModel &model : all()) {
        if (model.number == number)
            return &model;
    }
    return nullptr;
}

bool matches(const QString &label, const QString &search)
{
    const QString compactLabel = withoutHyphens(label);
    const QStringList words = search.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(), [&compactLabel](const QString &word) {
        return compactLabel.contains(withoutHyphens(word), Qt::CaseInsensitive);
    });
}

bool portMissing(int number, const QString &port)
{
    all(); // Hamlib's descriptions are loaded with the list
    const rig_caps *caps = rig_get_caps(number);
    if (caps == nullptr || caps->port_type != RIG_PORT_SERIAL)
        return false;
    const QString path = HamlibTexts::devicePath(port);
    return !HamlibTexts::networkAddress(path) && !QFileInfo::exists(path);
}

bool settingsComplete(const HamlibSettings &settings)
{
    if (settings.model <= 0)
        return false;
    if (!settings.port.isEmpty())
        return true;
    all();
    const rig_caps *caps = rig_get_caps(settings.model);
    return caps != nullptr && caps->port_type == RIG_PORT_NONE;
}

} // namespace HamlibModelList

#include "kenwood/KenwoodModel.h"

namespace Kenwood {

std::optional<Model> modelFromName(QStringView modelName)
{
    if (modelName == u"TMD700")
        return Model::TMD700;
    if (modelName == u"TMD710")
        return Model::TMD710;
    if (modelName == u"TMV71")
        return Model::TMV71;
    return std::nullopt;
}

QString idText(Model model)
{
    switch (model) {
    case Model::TMD700:
        return QStringLiteral("TM-D700");
    case Model::TMD710:
        return QStringLiteral("TM-D710");
    case Model::TMV71:
        return QStringLiteral("TM-V71");
    }
    return QString();
}

int frequencyDigits(Model model)
{
    return model == Model::TMD700 ? 11 : 10;
}

QString modelName(Model model)
{
    switch (model) {
    case Model::TMD700:
        return QStringLiteral("TMD700");
    case Model::TMD710:
        return QStringLiteral("TMD710");
    case Model::TMV71:
        return QStringLiteral("TMV71");
    }
    return QString();
}

} // namespace Kenwood

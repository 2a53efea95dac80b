#pragma once

#include "core/LanguageTexts.h"

#include <QJsonObject>
#include <QString>

// The web page's texts in the station's language.
namespace WebTexts {

QJsonObject table(Language language);
QString text(Language language, const char *key);

} // namespace WebTexts

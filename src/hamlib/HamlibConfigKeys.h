#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct HamlibSettings;

// The configuration keys of the Hamlib model: HAMLIBMODEL=, HAMLIBPORT=, HAMLIBSPEED=. A value
// that does not fit is ignored, the setting keeps what it had.
namespace HamlibConfigKeys {

// Guarded values, blanks around them trimmed: a model number Hamlib knows, a port text (a
// name, a path or host:port, no blank or control character), a standard serial speed (300 to
// 460800 baud). Nothing when bad.
std::optional<int> modelNumber(const QString &text);
std::optional<QString> portSetting(const QString &text);
std::optional<int> serialSpeed(const QString &text);

// Applies one key; false when the key is none of these.
bool apply(HamlibSettings &settings, const QString &key, const QString &value);

// The lines to save: the settings that are set.
QStringList lines(const HamlibSettings &settings);

} // namespace HamlibConfigKeys

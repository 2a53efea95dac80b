#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace Kenwood {

// The three transceivers driven over the serial port. Their command sets differ in the memory,
// mode and VFO commands and in the width of the frequency field.
enum class Model { TMD700, TMD710, TMV71 };
inline constexpr std::array<Model, 3> Models = {Model::TMD700, Model::TMD710, Model::TMV71};

// "TMD700", "TMD710" or "TMV71" as stored under MODEL=; anything else (the generic transmitter
// included) is no Kenwood model.
std::optional<Model> modelFromName(QStringView modelName);

// The name stored under MODEL=.
QString modelName(Model model);

// The text a genuine set puts in its "ID" reply: "TM-D700", "TM-D710", "TM-V71".
QString idText(Model model);

// Digits of hertz in the frequency fields: 11 on the TM-D700, 10 on the other two.
int frequencyDigits(Model model);

} // namespace Kenwood

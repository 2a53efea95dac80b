#pragma once

#include <QString>

// `ivrelane --status`: prints, for a person, what the copy running in `directory` last wrote of
// its state. 0 when a copy runs there and wrote it in the last FreshSeconds, 1 otherwise (with
// the reason), so a monitoring system can call it.
namespace StatusCommand {

constexpr int FreshSeconds = 90;

int run(const QString &directory);

} // namespace StatusCommand

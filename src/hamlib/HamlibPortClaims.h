#pragma once

#include <QString>
#include <functional>

// Which worker holds which port. A worker left behind in a Hamlib call that does not return
// still talks on its port until the call ends; the next worker on that port waits for it, so
// two workers' commands never interleave on one line.
namespace HamlibPortClaims {

// Waits until no other worker holds `port`, then holds it; false, holding nothing, as soon as
// `giveUp` says so.
bool claim(const QString &port, const std::function<bool()> &giveUp);
void release(const QString &port);

} // namespace HamlibPortClaims

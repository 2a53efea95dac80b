#pragma once

#include <QString>
#include <optional>

// The radio behind a rigctld, as rigctld describes it: Hamlib's network client only tells its
// own name ("NET rigctl").
struct RigctldRadio
{
    QString maker;
    QString model;

    // Asks the rigctld at `address` (host:port) on a connection of its own, so the link's
    // exchanges are not disturbed; nothing when it does not tell within `timeoutMs`.
    static std::optional<RigctldRadio> ask(const QString &address, int timeoutMs);

    // The maker and model from rigctld's capability dump ("Model name:\tDummy",
    // "Mfg name:\tHamlib" lines); nothing when either is missing.
    static std::optional<RigctldRadio> fromDump(const QByteArray &dump);
};

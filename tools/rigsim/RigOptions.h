#pragma once

#include "RigState.h"

#include <QString>
#include <QStringList>
#include <optional>

// The simulator's command line.
struct RigOptions
{
    RigKind kind = RigKind::TMD710;
    QString linkPath;
    QString logPath;
    QByteArray idText; // empty: the model's own
    int channelCount = 10;
    int delayMs = 0;
    bool paced = false;
    bool silent = false;
    bool garble = false;
    bool control = false;

    // Nothing when the line is wrong or --help was asked; `message` then says why or holds the help
    // text, and `exitCode` is what the program should return.
    static std::optional<RigOptions> parse(const QStringList &arguments, QString *message,
                                           int *exitCode);
};

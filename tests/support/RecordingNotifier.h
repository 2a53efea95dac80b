#pragma once

#include "core/Notifier.h"

#include <QStringList>

// Records every message instead of showing a box; questions get a preset answer at once.
class RecordingNotifier : public Notifier
{
public:
    void information(const QString &text) override { messages << QStringLiteral("info:") + text; }
    void warning(const QString &text) override { messages << QStringLiteral("warning:") + text; }
    void error(const QString &text) override { messages << QStringLiteral("error:") + text; }
    void question(const QString &text, std::function<void(bool)> answered) override
    {
        messages << QStringLiteral("question:") + text;
        answered(answer);
    }
    void beep() override { ++beeps; }

    QStringList messages;
    bool answer = true;
    int beeps = 0;
};

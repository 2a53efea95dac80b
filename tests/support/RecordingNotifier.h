#pragma once

#include "app/Notifier.h"

#include <QStringList>

// Records every message instead of showing a box; questions get a preset answer.
class RecordingNotifier : public Notifier
{
public:
    void information(const QString &text) override { messages << QStringLiteral("info:") + text; }
    void warning(const QString &text) override { messages << QStringLiteral("warning:") + text; }
    void error(const QString &text) override { messages << QStringLiteral("error:") + text; }
    bool question(const QString &text) override
    {
        messages << QStringLiteral("question:") + text;
        return answer;
    }
    void beep() override { ++beeps; }

    QStringList messages;
    bool answer = true;
    int beeps = 0;
};

#pragma once

#include <QString>

// Message boxes and beeps. The desktop backend shows modal boxes; tests install a recording one
// so nothing ever blocks on a box.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    virtual bool question(const QString &text) = 0; // true for "Yes"
    virtual void beep() = 0;
};

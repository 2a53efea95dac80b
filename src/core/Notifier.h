#pragma once

#include <QString>
#include <functional>

// Message boxes and beeps. None of them waits for the operator: the box is shown and the caller
// goes on, so a box left open never holds back the server or the radio. The desktop backend
// shows the boxes; tests install a recording one.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void information(const QString &text) = 0;
    virtual void warning(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    // A Yes/No question; `answered` runs with true for "Yes" once the operator has answered.
    virtual void question(const QString &text, std::function<void(bool)> answered) = 0;
    virtual void beep() = 0;
};

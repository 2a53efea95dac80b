#pragma once

#include "core/LanguageTexts.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class TFormHamlib;
struct HamlibSettings;

// The behaviour of the Hamlib settings window: the searchable model list, the port and speed or
// the rigctld address, and the check of what was typed when OK is pressed.
class HamlibSettingsWindow : public QObject
{
    Q_OBJECT
public:
    // The rigctld model: Hamlib's network client.
    static constexpr int RigctldModelNumber = 2;

    // `warn` shows a message without waiting, in the language `language` gives; `accepted`
    // receives the checked settings.
    HamlibSettingsWindow(TFormHamlib &form, std::function<void(const QString &)> warn,
                         std::function<Language()> language,
                         std::function<void(const HamlibSettings &)> accepted);

    // Fills the window from `settings` with `ports` (the COM menu's list) and shows it.
    void open(const HamlibSettings &settings, const QStringList &ports);

    // What the window holds, or nothing with the reason given to `warn`.
    std::optional<HamlibSettings> chosen() const;

    void ButtonOKClick();
    void EditSearchChange(const QString &text);

private:
    void selectModel(int number);
    int selectedModel() const;
    void showChoice();
    void refuse(const char *french, const char *english) const;
    void refuse(const QString &french, const QString &english) const;

    TFormHamlib &m_form;
    std::function<void(const QString &)> m_warn;
    std::function<Language()> m_language;
    std::function<void(const HamlibSettings &)> m_accepted;
};

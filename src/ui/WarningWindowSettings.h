#pragma once

namespace Ui {
class TFormWarning;
} // namespace Ui

// The warning window: "do not show again", kept in its check box.
class WarningWindowSettings
{
public:
    explicit WarningWindowSettings(Ui::TFormWarning &ui) : m_ui(ui) {}

    bool accepted() const;
    void setAccepted(bool accepted);

private:
    Ui::TFormWarning &m_ui;
};

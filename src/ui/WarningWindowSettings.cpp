#include "ui/WarningWindowSettings.h"

#include "ui/UnitWarning.h"

bool WarningWindowSettings::accepted() const
{
    return m_ui.CheckBoxWarning->isChecked();
}

void WarningWindowSettings::setAccepted(bool accepted)
{
    m_ui.CheckBoxWarning->setChecked(accepted);
}

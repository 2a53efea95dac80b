#include "ui/TransceiverPanel.h"

#include "radio/MemoryEntry.h"
#include "ui/UnitTMD700.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TransceiverPanel TransceiverPanel::fromForm(Ui::TForm1 &ui)
{
    return TransceiverPanel{
        ui.GroupBoxTX,       ui.ComboBoxMEM,      ui.SpeedButtonTXA,  ui.SpeedButtonTXB,
        ui.SpeedButtonVFOA,  ui.SpeedButtonVFOB,  ui.SpeedButtonMEMA, ui.SpeedButtonMEMB,
        ui.SpeedButtonScanA, ui.SpeedButtonScanB, ui.SpeedButtonTX,
        ui.EditTXdata,       ui.labelTMD,         ui.TrackBarPWRA,    ui.TrackBarPWRB,
    };
}

int TransceiverPanel::memoryEntryIndex(const QString &channel) const
{
    if (channel.isEmpty())
        return -1;
    for (int i = 0; i < ComboBoxMEM->count(); ++i)
        if (MemoryEntry::channel(ComboBoxMEM->itemText(i)) == channel)
            return i;
    return -1;
}

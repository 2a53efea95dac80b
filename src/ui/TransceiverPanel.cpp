#include "ui/TransceiverPanel.h"

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

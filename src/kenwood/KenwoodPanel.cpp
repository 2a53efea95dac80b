#include "kenwood/KenwoodPanel.h"

#include "ui/UnitTMD700.h"

KenwoodPanel KenwoodPanel::fromForm(Ui::TForm1 &ui)
{
    return KenwoodPanel{
        ui.GroupBoxTX,       ui.ComboBoxMEM,      ui.SpeedButtonTXA,  ui.SpeedButtonTXB,
        ui.SpeedButtonVFOA,  ui.SpeedButtonVFOB,  ui.SpeedButtonMEMA, ui.SpeedButtonMEMB,
        ui.SpeedButtonScanA, ui.SpeedButtonScanB, ui.SpeedButtonTX,   ui.SpeedButtonTXon,
        ui.SpeedButtonTXoff, ui.ImageTXA,         ui.ImageTXB,        ui.ImageVFOA,
        ui.ImageVFOB,        ui.ImageMEMA,        ui.ImageMEMB,       ui.ImageLEDvert,
        ui.ImageLEDrouge,    ui.ImageLEDOFF,      ui.EditVFOA,        ui.EditVFOB,
        ui.EditMEMA,         ui.EditMEMB,         ui.EditTXdata,      ui.labelTMD,
        ui.TrackBarPWRA,     ui.TrackBarPWRB,
    };
}

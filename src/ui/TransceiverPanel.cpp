#include "ui/TransceiverPanel.h"

#include "ui/UnitTMD700.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TransceiverPanel TransceiverPanel::fromForm(Ui::TForm1 &ui)
{
    return TransceiverPanel{ui.GroupBoxTX, ui.ComboBoxMEM, ui.SpeedButtonScanA, ui.SpeedButtonScanB,
                            ui.EditTXdata, ui.labelTMD,    ui.TrackBarPWRA,     ui.TrackBarPWRB};
}

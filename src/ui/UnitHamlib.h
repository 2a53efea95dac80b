#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitHamlib.h"

// The settings window of the Hamlib model: the radio model, and either its serial port and
// speed or the address of a rigctld already running.
class TFormHamlib : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormHamlib(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormHamlib ui;
};

#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitFreq.h"

class TFormSimuFreq : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormSimuFreq(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormSimuFreq ui;
};

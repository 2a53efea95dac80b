#pragma once

#include "ui/FormEvents.h"
#include "ui_UnitIP.h"

class TFormIP : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormIP(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormIP ui;
};

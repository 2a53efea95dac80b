#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitInitTX16.h"

class TFormInitTX16 : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormInitTX16(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormInitTX16 ui;
};

#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitMEM.h"

class TFormMEM : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormMEM(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormMEM ui;
};

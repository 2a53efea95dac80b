#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitInfo.h"

class TFormInfo : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormInfo(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormInfo ui;
};

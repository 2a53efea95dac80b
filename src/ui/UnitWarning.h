#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitWarning.h"

class TFormWarning : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormWarning(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormWarning ui;
};

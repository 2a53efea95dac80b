#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitDTMF.h"

class TFormDTMF : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormDTMF(QWidget *parent = nullptr) : EventDialog(parent) { ui.setupUi(this); }

    Ui::TFormDTMF ui;
};

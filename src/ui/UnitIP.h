#pragma once

#include "ui/FormEvents.h"
#include "ui_UnitIP.h"

#include <QPushButton>

class TFormIP : public EventDialog
{
    Q_OBJECT
public:
    explicit TFormIP(QWidget *parent = nullptr) : EventDialog(parent)
    {
        ui.setupUi(this);
        // Enter in an address edit must not press "Connect": it would connect to the old
        // address, the new one being applied only when the window closes.
        for (QPushButton *button : findChildren<QPushButton *>()) {
            button->setAutoDefault(false);
            button->setDefault(false);
        }
    }

    Ui::TFormIP ui;
};

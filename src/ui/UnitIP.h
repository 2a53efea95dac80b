#pragma once

#include "ui/EventDialog.h"
#include "ui_UnitIP.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

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
        // Typing is limited to three characters per part, but a host name read from the
        // configuration must still show whole, which a length limit on the edit would cut.
        const QRegularExpression threeCharacters(QStringLiteral(".{0,3}"));
        for (QLineEdit *edit : {ui.EditIP1, ui.EditIP2, ui.EditIP3, ui.EditIP4}) {
            edit->setMaxLength(32767);
            edit->setValidator(new QRegularExpressionValidator(threeCharacters, edit));
        }
    }

    Ui::TFormIP ui;
};

#include "ui/FormEvents.h"

void EventDialog::showEvent(QShowEvent *event)
{
    if (FormShow)
        FormShow();
    QDialog::showEvent(event);
}

// The close box reaches here through QDialog::closeEvent, Escape directly.
void EventDialog::reject()
{
    if (FormClose && !FormClose())
        return;
    QDialog::reject();
}

#include "ui/FormEvents.h"

#include <QCloseEvent>

void EventDialog::showEvent(QShowEvent *event)
{
    if (FormShow)
        FormShow();
    QDialog::showEvent(event);
}

void EventDialog::closeEvent(QCloseEvent *event)
{
    if (FormClose && !FormClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

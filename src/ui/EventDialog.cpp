#include "ui/EventDialog.h"

#include <QHideEvent>
#include <QShowEvent>

void EventDialog::showEvent(QShowEvent *event)
{
    // A window restored after being minimised gets a spontaneous show event: it is not opened
    // again, and what the operator was doing in it stays as it was.
    if (FormShow && !event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
    if (!event->spontaneous())
        emit openChanged(true);
}

void EventDialog::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        emit openChanged(false);
}

// The close box reaches here through QDialog::closeEvent, Escape directly.
void EventDialog::reject()
{
    if (FormClose && !FormClose())
        return;
    QDialog::reject();
}

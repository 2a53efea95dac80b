#include "kenwood/TrafficDisplay.h"

#include <QLineEdit>

namespace TrafficDisplay {

void append(QLineEdit *display, const QString &text)
{
    QString all = display->text() + text;
    if (all.size() > Capacity)
        all.remove(0, all.size() - Capacity);
    // A line edit cuts its text at maxLength from the end; the newest text must survive.
    if (display->maxLength() < Capacity)
        display->setMaxLength(Capacity);
    display->setText(all);
    display->setCursorPosition(int(all.size()));
}

void clear(QLineEdit *display)
{
    display->clear();
}

} // namespace TrafficDisplay

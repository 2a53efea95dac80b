#include "ui/Captions.h"

#include <QLabel>
#include <QMetaProperty>
#include <QObject>
#include <QWidget>

namespace {

// Finds a control by name within one window, breadth first so that the shallowest match wins.
// Menus are popups and belong to the window; a child that is a window of its own (a dialog
// parented to the main window) is not searched, as its controls reuse names like "Label1".
QObject *findControl(QWidget *window, const QString &name)
{
    QObjectList pending = window->children();
    while (!pending.isEmpty()) {
        QObject *object = pending.takeFirst();
        if (auto *widget = qobject_cast<QWidget *>(object)) {
            if (widget->isWindow() && widget->windowType() != Qt::Popup)
                continue;
        }
        if (object->objectName() == name)
            return object;
        pending += object->children();
    }
    return nullptr;
}

// A label without a buddy shows its text as it is, so the mnemonic markup is resolved here to
// make it look like every other caption.
QString shownText(const QObject *target, const QByteArray &property, const QString &text)
{
    const auto *label = qobject_cast<const QLabel *>(target);
    if (label && property == "text" && label->buddy() == nullptr)
        return withoutMnemonics(text);
    return text;
}

} // namespace

QStringList applyCaptions(QWidget *window, Language language)
{
    QStringList unset;
    if (window == nullptr)
        return unset;
    const QString objectName = window->objectName();
    const QString className = QString::fromLatin1(window->metaObject()->className());
    for (const CaptionRow &row : captionTable(language)) {
        if (row.window != objectName && row.window != className)
            continue;
        QObject *target = row.control == row.window ? window : findControl(window, row.control);
        if (target == nullptr) {
            unset << row.control;
            continue;
        }
        // setProperty on an unknown name would silently add a dynamic property and show nothing.
        if (target->metaObject()->indexOfProperty(row.property.constData()) < 0) {
            unset << row.control + QLatin1Char('.') + QString::fromLatin1(row.property);
            continue;
        }
        target->setProperty(row.property.constData(), shownText(target, row.property, row.text));
    }
    return unset;
}

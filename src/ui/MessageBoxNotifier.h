#pragma once

#include "core/Notifier.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>

class QWidget;

// The desktop's message boxes, shown without a local event loop of their own. A box whose text
// is already on screen is raised instead of opened twice, so a fault that repeats while nobody
// is at the station does not pile boxes up.
class MessageBoxNotifier : public Notifier
{
public:
    explicit MessageBoxNotifier(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void information(const QString &text) override;
    void warning(const QString &text) override;
    void error(const QString &text) override;
    void question(const QString &text, std::function<void(bool)> answered) override;
    void beep() override;

private:
    QMessageBox *open(QMessageBox::Icon icon, const QString &text,
                      QMessageBox::StandardButtons buttons);
    // The window a new box is shown over.
    QWidget *owner() const;

    QWidget *m_parent;
    QList<QPointer<QMessageBox>> m_open;
};

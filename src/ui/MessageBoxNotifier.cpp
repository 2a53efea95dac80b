#include "ui/MessageBoxNotifier.h"

#include <QApplication>

void MessageBoxNotifier::information(const QString &text)
{
    open(QMessageBox::Information, text, QMessageBox::Ok);
}

void MessageBoxNotifier::warning(const QString &text)
{
    open(QMessageBox::Warning, text, QMessageBox::Ok);
}

void MessageBoxNotifier::error(const QString &text)
{
    open(QMessageBox::Critical, text, QMessageBox::Ok);
}

void MessageBoxNotifier::question(const QString &text, std::function<void(bool)> answered)
{
    QMessageBox *box = open(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No);
    if (!box)
        return; // the same question is already waiting for its answer
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)] {
        answered(box->standardButton(box->clickedButton()) == QMessageBox::Yes);
    });
}

void MessageBoxNotifier::beep()
{
    QApplication::beep();
}

QMessageBox *MessageBoxNotifier::open(QMessageBox::Icon icon, const QString &text,
                                      QMessageBox::StandardButtons buttons)
{
    m_open.removeIf([](const QPointer<QMessageBox> &box) { return box.isNull(); });
    for (const QPointer<QMessageBox> &box : m_open) {
        if (box->text() == text && box->icon() == icon) {
            box->raise();
            box->activateWindow();
            return nullptr;
        }
    }
    auto *box = new QMessageBox(icon, QApplication::applicationName(), text, buttons, owner());
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal for the operator's input as before, but shown without waiting: events, timers, the
    // server and the radio go on while it is open.
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    m_open.append(box);
    return box;
}

QWidget *MessageBoxNotifier::owner() const
{
    // A box belongs to the window the operator is working in (the Hamlib settings, a dialog):
    // one of the main window would open behind that window.
    QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible() && !qobject_cast<QMessageBox *>(active) &&
        active->windowType() != Qt::Popup)
        return active;
    return m_parent;
}

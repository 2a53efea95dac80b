#include "ui/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxNotifier::information(const QString &text)
{
    QMessageBox::information(m_parent, QApplication::applicationName(), text);
}

void MessageBoxNotifier::warning(const QString &text)
{
    QMessageBox::warning(m_parent, QApplication::applicationName(), text);
}

void MessageBoxNotifier::error(const QString &text)
{
    QMessageBox::critical(m_parent, QApplication::applicationName(), text);
}

bool MessageBoxNotifier::question(const QString &text)
{
    return QMessageBox::question(m_parent, QApplication::applicationName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxNotifier::beep()
{
    QApplication::beep();
}

#pragma once

#include "core/LanguageTexts.h"

#include <QString>
#include <QStringList>
#include <functional>

class Notifier;
struct TcpClientSettings;

// The server window's fields as its logic fills and reads them.
class ServerDialogFields
{
public:
    virtual ~ServerDialogFields() = default;

    // The server's address in four parts and its port, as typed.
    virtual QStringList hostParts() const = 0;
    virtual void setHostParts(const QStringList &parts) = 0;
    virtual QString portText() const = 0;
    virtual void setPortText(const QString &port) = 0;
    virtual int txTimeoutSeconds() const = 0;
    virtual void setTxTimeoutSeconds(int seconds) = 0;
    // The window's error line; an empty text clears it.
    virtual void showError(const QString &message) = 0;
    // The window's captions in a language.
    virtual void relabel(Language language) = 0;
};

// The server settings window: its fields show the TCP client's host and port and the transmit
// time-out, and write them back only when the window closes with every field numeric.
class ServerSettingsDialog
{
public:
    ServerSettingsDialog(TcpClientSettings &settings, int &txTimeoutSeconds, Notifier &notifier,
                         std::function<Language()> language, ServerDialogFields &fields);

    void FormShow();
    // False keeps the window open: a field that is not an integer.
    bool FormClose();
    // The window's hidden language button; the language switch runs it too.
    void ButtonlangueClick();

private:
    TcpClientSettings &m_settings;
    int &m_txTimeoutSeconds;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    ServerDialogFields &m_fields;
};

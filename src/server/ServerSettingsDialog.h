#pragma once

#include "core/LanguageTexts.h"

#include <functional>

class Notifier;
class QLabel;
class QLineEdit;
class QSpinBox;
struct TcpClientSettings;

struct ServerDialogControls
{
    // Sets the window's captions in a language (the language switch).
    std::function<void(Language)> relabel;
    QLineEdit *EditIP1 = nullptr;
    QLineEdit *EditIP2 = nullptr;
    QLineEdit *EditIP3 = nullptr;
    QLineEdit *EditIP4 = nullptr;
    QLineEdit *EditPort = nullptr;
    QLabel *LabelErreur = nullptr;
    QSpinBox *SpinEditTxTimeout = nullptr;
};

// The server settings window: its edits show the TCP client's host and port and the transmit
// time-out, and write them back only when the window closes with every field numeric.
class ServerSettingsDialog
{
public:
    ServerSettingsDialog(TcpClientSettings &settings, int &txTimeoutSeconds, Notifier &notifier,
                         std::function<Language()> language, const ServerDialogControls &controls);

    void FormShow();
    // False keeps the window open: a field that is not an integer.
    bool FormClose();
    void ButtonlangueClick();

private:
    TcpClientSettings &m_settings;
    int &m_txTimeoutSeconds;
    Notifier &m_notifier;
    std::function<Language()> m_language;
    ServerDialogControls m_controls;
};

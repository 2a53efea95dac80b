#pragma once

#include "server/ServerMessages.h"
#include "server/ServerSettingsDialog.h"

#include <QString>

class TFormIP;

// The settings that belong to a dialog stay in its controls; everyone else reads and sets them
// here, never through the controls. Setting one has the control's usual side effects (its
// change handlers run).

// The server window: connection at start, automatic reconnection, the audio channel obeyed, and
// the fields its own logic fills and reads.
class ServerWindowSettings : public ServerDialogFields
{
public:
    explicit ServerWindowSettings(TFormIP &form) : m_form(form) {}

    bool connectAtStart() const;
    void setConnectAtStart(bool on);
    bool reconnect() const;
    void setReconnect(bool on);
    AudioChannel audioChannel() const;
    void setAudioChannel(AudioChannel channel);

    QStringList hostParts() const override;
    void setHostParts(const QStringList &parts) override;
    QString portText() const override;
    void setPortText(const QString &port) override;
    int txTimeoutSeconds() const override;
    void setTxTimeoutSeconds(int seconds) override;
    void showError(const QString &message) override;
    void relabel(Language language) override;

private:
    TFormIP &m_form;
};
